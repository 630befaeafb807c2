#!/usr/bin/env bash
# Builds the core alone with Debian's emscripten and runs its check under
# node: the proof that no toolkit is left in the core. Takes the picture
# catalog's table from a native build (its renderer writes it).
#   tools/core-wasm.sh [native build dir] [output dir]
set -euo pipefail
cd "$(dirname "$0")/.."
native=$(realpath "${1:-build}")
out=$(realpath -m "${2:-build-wasm-core}")
if [ ! -f "$native/assets/generated/picture_table.inc" ]; then
  echo "core-wasm: $native has no picture table; build the program there first" >&2
  exit 1
fi
# Debian's emscripten runs its tools with the node on the PATH and needs
# Debian's own node modules beside it.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B "$out" -DTUVREL_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=Release \
  -DTUVREL_PICTURE_TABLE_DIR="$native/assets/generated" >/dev/null
cmake --build "$out" -j"$(nproc)" --target core_check
# Node 20 has fetch(), which emscripten 3.1.6 then takes to load the .wasm by
# URL; without it the file is read from disk.
node --no-experimental-fetch "$out/web/core_check.js"
