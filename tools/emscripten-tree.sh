# Sourced by the scripts that build the core with Debian's emscripten:
# configure_core_tree NATIVE OUT configures OUT as a core-only tree that takes
# the picture catalog's table from the native build NATIVE (its renderer
# writes it). One such tree serves the core's check and the site alike.
configure_core_tree() {
  local native=$1 out=$2
  if [ ! -f "$native/assets/generated/picture_table.inc" ]; then
    echo "tuvrel: $native has no picture table; build the program there first" >&2
    return 1
  fi
  # Debian's emscripten runs its tools with the node on the PATH and needs
  # Debian's own node modules beside it.
  export NODE_PATH=/usr/share/nodejs
  emcmake cmake -S . -B "$out" -DTUVREL_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=Release \
    -DTUVREL_PICTURE_TABLE_DIR="$native/assets/generated" >/dev/null
}
