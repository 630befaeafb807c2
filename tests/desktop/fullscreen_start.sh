#!/usr/bin/env bash
# The program as a teacher starts it on a class board, on a desktop with a
# window manager (run by run_on_desktop.sh): `tuvrel --fullscreen` shows Start
# filling the whole screen, in the window manager's fullscreen state.
#   fullscreen_start.sh PATH/TO/tuvrel
set -euo pipefail
program=$1

"$program" --fullscreen &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT

window=
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "no window of tuvrel appeared" >&2; exit 1; }

read -r screen_width screen_height < <(xdpyinfo | awk '/dimensions:/ { split($2, s, "x"); print s[1], s[2] }')
for _ in $(seq 50); do
  geometry=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
  [ "$geometry" = "0 0 $screen_width $screen_height" ] && break
  sleep 0.1
done
echo "window $window at $geometry on a ${screen_width}x${screen_height} screen"
[ "$geometry" = "0 0 $screen_width $screen_height" ] || { echo "Start does not fill the screen" >&2; exit 1; }
xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN ||
  { echo "Start is not in the window manager's fullscreen state" >&2; exit 1; }
xprop -id "$window" WM_NAME
