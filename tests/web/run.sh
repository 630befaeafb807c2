#!/usr/bin/env bash
# The browser tests: builds the site from a native build's pictures (its
# picture table and renderings) with emscripten, and beside it the test build
# of the site (site-checked: the page's state and the games' invariants, never
# shipped); then plays that in Debian's Chromium, headless, through
# playwright-core, in Firefox ESR through puppeteer-core and in WebKitGTK's
# MiniBrowser through WebKitWebDriver and selenium-webdriver (all installed
# from the lock file), with a random run in Chromium (random.test.mjs); the
# published site is checked to carry nothing of the tests (field.test.mjs).
#   tests/web/run.sh [native build dir] [emscripten build dir]
set -euo pipefail
cd "$(dirname "$0")/../.."
native=$(realpath "${1:-build}")
web=$(realpath -m "${2:-$native/web-site}")
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))
cmake --build "$native" -j"$jobs" --target tuvrel_picture_files >/dev/null
source tools/emscripten-tree.sh
configure_core_tree "$native" "$web"
# The site, and beside it site-checked, the one the tests play.
cmake --build "$web" -j"$jobs" --target tuvrel_site tuvrel_site_checked >/dev/null
cd tests/web
# The drivers as the lock file pins them (npm notes what it installed in
# node_modules/.package-lock.json).
[ node_modules/.package-lock.json -nt package-lock.json ] || npm ci --no-audit --no-fund
TUVREL_SITE="$web/site" node --test
