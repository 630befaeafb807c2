#!/usr/bin/env bash
# The browser tests: builds the site from a native build's pictures (its
# picture table and renderings) with emscripten, then plays it in Debian's
# Chromium, headless, through playwright-core (installed from the lock file).
#   tests/web/run.sh [native build dir] [emscripten build dir]
set -euo pipefail
cd "$(dirname "$0")/../.."
native=$(realpath "${1:-build}")
web=$(realpath -m "${2:-$native/web-site}")
if [ ! -f "$native/assets/generated/picture_table.inc" ]; then
  echo "web tests: $native has no picture table; build the program there first" >&2
  exit 1
fi
export NODE_PATH=/usr/share/nodejs
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))
cmake --build "$native" -j"$jobs" --target tuvrel_picture_files >/dev/null
emcmake cmake -S . -B "$web" -DTUVREL_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=Release \
  -DTUVREL_PICTURE_TABLE_DIR="$native/assets/generated" >/dev/null
cmake --build "$web" -j"$jobs" --target tuvrel_site >/dev/null
cd tests/web
[ -d node_modules/playwright-core ] || npm ci --no-audit --no-fund
TUVREL_SITE="$web/site" node --test
