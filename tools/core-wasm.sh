#!/usr/bin/env bash
# Builds the core alone with Debian's emscripten and runs its check under
# node: the proof that no toolkit is left in the core. Takes the picture
# catalog's table from a native build (its renderer writes it).
#   tools/core-wasm.sh [native build dir] [output dir]
set -euo pipefail
cd "$(dirname "$0")/.."
native=$(realpath "${1:-build}")
out=$(realpath -m "${2:-$native/web-site}")
source tools/emscripten-tree.sh
configure_core_tree "$native" "$out"
cmake --build "$out" -j"$(nproc)" --target core_check
# Node 20 has fetch(), which emscripten 3.1.6 then takes to load the .wasm by
# URL; without it the file is read from disk.
node --no-experimental-fetch "$out/web/core_check.js"
