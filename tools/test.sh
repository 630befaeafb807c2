#!/usr/bin/env bash
# Installs what is missing, checks the format of every C++ file, builds Tuvrel
# with its tests and runs every test: real windows on the offscreen platform,
# the window tests on a private X server under the openbox window manager and
# on a headless Wayland desktop, the package's checks, and the game core built
# with emscripten and run under node; then clang-tidy over every source. Then
# builds it again with AddressSanitizer (with LeakSanitizer) and
# UndefinedBehaviorSanitizer and runs every test of the program there too (the
# package and the WebAssembly build are checked once, from the first build).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-dependencies.sh
bash tools/check-format.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
bash tools/check-tidy.sh build

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUVREL_SANITIZE=ON
cmake --build build-sanitize -j"$(nproc)"
ctest --test-dir build-sanitize --output-on-failure -j"$(nproc)" -LE "packaging|wasm"
