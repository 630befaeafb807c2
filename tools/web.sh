#!/usr/bin/env bash
# Builds Tuvrel for the browser and serves it on this machine:
#   bash tools/web.sh [--build-only]
# Installs what is missing (Debian packages), renders the pictures in a native
# tree (build-web-native), compiles the program with emscripten (build-web),
# writes the site (build-web/site: one folder of static files to publish on
# any web server) and serves it at http://127.0.0.1:8080/.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
packages=(cmake g++ make pkg-config qt6-base-dev librsvg2-dev librsvg2-bin libcairo2-dev libgif-dev
  libjpeg-dev libpng-dev fonts-comic-neue fonts-liberation2 emscripten python3 fonttools python3-brotli)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update -qq
  "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))
native=${TUVREL_WEB_NATIVE_BUILD:-$repo/build-web-native}
web=${TUVREL_WEB_BUILD:-$repo/build-web}
cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$native" -j"$jobs" --target tuvrel_picture_files
# Debian's emscripten runs its tools with the node on the PATH and needs
# Debian's own node modules beside it.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B "$web" -DTUVREL_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=Release \
  -DTUVREL_PICTURE_TABLE_DIR="$native/assets/generated" >/dev/null
cmake --build "$web" -j"$jobs" --target tuvrel_site
[ "${1:-}" = "--build-only" ] && exit 0
exec python3 web/serve.py "$web/site" "${TUVREL_WEB_PORT:-8080}"
