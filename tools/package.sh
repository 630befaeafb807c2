#!/usr/bin/env bash
# Installs what is missing, builds Tuvrel in Release in build-package/ and makes its Debian
# package with CPack; prints the path of the .deb (the build's own output goes to stderr).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-dependencies.sh >&2
# The package needs the program, its desktop files and the tools that draw them, not the
# tests or the benchmark: CPack's install step must not build everything first.
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >&2
rm -rf build-package/packaging/deb
cmake --build build-package -j"$(nproc)" --target deb >&2
debs=(build-package/packaging/deb/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "tuvrel: CPack made no single .deb in build-package/packaging/deb" >&2
  exit 1
fi
realpath "${debs[0]}"
