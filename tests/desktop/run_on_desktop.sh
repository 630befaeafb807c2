#!/usr/bin/env bash
# Runs a command on a desktop of its own: a private X server (Xvfb) with the
# openbox window manager, which frames, places, minimises and maximises
# windows as an ordinary desktop does. The screen is 1920x1080 unless
# TUVREL_DESKTOP_SCREEN says otherwise (WIDTHxHEIGHT).
#   run_on_desktop.sh COMMAND [ARGUMENTS...]
set -euo pipefail

screen=${TUVREL_DESKTOP_SCREEN:-1920x1080}
for tool in Xvfb openbox xprop; do
  command -v "$tool" >/dev/null || { echo "run_on_desktop: $tool is missing (packages xvfb, openbox, x11-utils)" >&2; exit 1; }
done

source "$(dirname "$0")/background.sh"

# The server picks a free display number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "run_on_desktop: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

# openbox with its stock configuration, on its own (--sm-disable).
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 200); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
  { echo "run_on_desktop: openbox did not start" >&2; cat "$work/openbox.log" >&2; exit 1; }

unset QT_QPA_PLATFORM WAYLAND_DISPLAY
status=0
"$@" || status=$?
exit "$status"
