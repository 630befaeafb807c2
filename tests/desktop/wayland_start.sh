#!/usr/bin/env bash
# The program on a Wayland desktop: a headless weston compositor with
# XWayland, as GNOME and KDE offer it. Started with no platform asked for
# (QT_QPA_PLATFORM unset), the program runs through X there, so its window
# appears on XWayland's X display, where it can place and activate windows.
#   wayland_start.sh PATH/TO/tuvrel
set -euo pipefail
program=$1
for tool in weston Xwayland xdotool; do
  command -v "$tool" >/dev/null || { echo "wayland_start: $tool is missing (packages weston, xwayland, xdotool)" >&2; exit 1; }
done

source "$(dirname "$0")/background.sh"
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# XWayland listens in /tmp/.X11-unix, which a bare container may lack.
[ -d /tmp/.X11-unix ] || { mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix; }
socket=tuvrel-wayland-$$
weston --backend=headless-backend.so --xwayland --socket="$socket" --idle-time=0 \
  --width=1920 --height=1080 >"$work/weston.log" 2>&1 &
pids+=($!)
display=
for _ in $(seq 100); do
  display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log" | head -n1)
  [ -n "$display" ] && [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
  sleep 0.1
done
[ -n "$display" ] || { echo "weston with XWayland did not start" >&2; cat "$work/weston.log" >&2; exit 1; }

env -u QT_QPA_PLATFORM WAYLAND_DISPLAY="$socket" DISPLAY="$display" "$program" >"$work/tuvrel.log" 2>&1 &
pid=$!
pids+=("$pid")
window=
for _ in $(seq 100); do
  window=$(DISPLAY=$display xdotool search --onlyvisible --pid "$pid" --name '^Start$' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "Start did not appear as an X window on XWayland's display $display" >&2
  cat "$work/tuvrel.log" >&2
  exit 1
fi
echo "Start is X window $window on XWayland display $display of weston"
