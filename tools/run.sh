#!/usr/bin/env bash
# Installs what is missing, builds Tuvrel and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-dependencies.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)" --target tuvrel
exec ./build/tuvrel
