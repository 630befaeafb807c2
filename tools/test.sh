#!/usr/bin/env bash
# Installs what is missing, builds Tuvrel with its tests and runs every test
# against real windows on the offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-dependencies.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
