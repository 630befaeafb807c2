#!/usr/bin/env bash
# The browser tests: builds the site from a native build's pictures (its
# picture table and renderings) with emscripten, then plays it in Debian's
# Chromium, headless, through playwright-core, and in Firefox ESR through
# puppeteer-core (both installed from the lock file); and a random run in
# Chromium on the checked site (random.test.mjs).
#   tests/web/run.sh [native build dir] [emscripten build dir]
set -euo pipefail
cd "$(dirname "$0")/../.."
native=$(realpath "${1:-build}")
web=$(realpath -m "${2:-$native/web-site}")
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))
cmake --build "$native" -j"$jobs" --target tuvrel_picture_files >/dev/null
source tools/emscripten-tree.sh
configure_core_tree "$native" "$web"
# The site, and beside it site-checked for the random run (the same site with
# the program that checks the games' invariants; never shipped).
cmake --build "$web" -j"$jobs" --target tuvrel_site tuvrel_site_checked >/dev/null
cd tests/web
# The drivers as the lock file pins them (npm notes what it installed in
# node_modules/.package-lock.json).
[ node_modules/.package-lock.json -nt package-lock.json ] || npm ci --no-audit --no-fund
TUVREL_SITE="$web/site" node --test
