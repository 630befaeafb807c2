#!/usr/bin/env bash
# Installs what is missing, builds Tuvrel with its tests and runs every test
# against real windows on the offscreen platform; then builds it again with
# AddressSanitizer (with LeakSanitizer) and UndefinedBehaviorSanitizer and runs
# the random player, the lifecycle stress and the player's tests there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-dependencies.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUVREL_SANITIZE=ON
cmake --build build-sanitize -j"$(nproc)" --target monkey lifecycle monkey_test
ctest --test-dir build-sanitize --output-on-failure -j"$(nproc)" -L monkey
