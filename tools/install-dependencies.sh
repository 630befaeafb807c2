#!/usr/bin/env bash
# Installs the Debian 12 packages Tuvrel needs, as root or through sudo;
# packages already there are left alone.
#   install-dependencies.sh --run   what building and running the program needs
#   install-dependencies.sh         that, and what the tests and checks need
set -euo pipefail

# Building and running the program.
packages=(
  cmake g++ make pkg-config
  qt6-base-dev
  # reading aloud (--voorlezen): Qt's text-to-speech through speech-dispatcher,
  # with espeak-ng's Dutch voice (the program builds and plays silently
  # without); Debian 12's qt6-speech-dev needs qt6-declarative-dev's
  # QtQmlIntegration to be found by CMake and does not say so
  qt6-speech-dev qt6-declarative-dev qt6-speech-speechd-plugin speech-dispatcher speech-dispatcher-espeak-ng
  librsvg2-dev libcairo2-dev libgif-dev libjpeg-dev libpng-dev
  fonts-comic-neue fonts-liberation2
)
if [ "${1:-}" != "--run" ]; then
  packages+=(
    # the manual page, the Debian package and the tools that check them
    help2man dpkg-dev file desktop-file-utils appstream lintian
    # desktops for the window tests: an X server with the openbox window manager,
    # and a Wayland compositor with XWayland, with the tools that look at them
    xvfb xauth openbox x11-utils xdotool wmctrl weston xwayland
    # the core built for the browser and run under node; the site played in
    # Debian's Chromium through playwright-core, in Firefox ESR through
    # puppeteer-core and in WebKitGTK's MiniBrowser through its WebDriver
    # (webkit2gtk-driver) and webdriverio, all from npm; its icons drawn by
    # rsvg, its fonts cut down to the program's characters as WOFF2 by fonttools
    emscripten chromium firefox-esr webkit2gtk-driver librsvg2-bin python3 fonttools python3-brotli
    # the format check and the static analysis, at Debian 12's version
    clang-format-14 clang-tidy-14
  )
  # npm for the browser tests' driver: Debian's, where the machine has no npm
  # of its own (a node installed beside Debian's conflicts with Debian's npm).
  command -v npm >/dev/null 2>&1 || packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "tuvrel: these packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
