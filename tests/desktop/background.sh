# Sourced by the desktop scripts: a scratch folder in $work, and the servers
# they start in the background (their pids in the array pids), stopped and
# removed when the script ends, however it ends.
work=$(mktemp -d)
pids=()
stop_background() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap stop_background EXIT
