#!/usr/bin/env bash
# Installs what is missing, builds Tuvrel and starts it. Builds in the same
# tree and configuration as the test command, so that one after the other
# rebuilds nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-dependencies.sh --run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target tuvrel
exec ./build/tuvrel "$@"
