#!/usr/bin/env bash
# Installs what is missing, builds the benchmark (Release) and prints its
# tables: first on Qt's offscreen platform, then on an X server (Xvfb, or the
# display at hand when Xvfb cannot be had). Extra arguments go to
# tuvrel_bench, e.g. --quick for a short run. TUVREL_BENCH_BUILD names
# another build directory than build-bench.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-dependencies.sh

# The X figures need Xvfb and xauth (for xvfb-run).
missing=()
for p in xvfb xauth; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    as_root=()
  elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
  else
    as_root=(false)
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update -qq &&
    "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" ||
    echo "tuvrel bench: could not install ${missing[*]}; the X figures need them" >&2
fi

build="${TUVREL_BENCH_BUILD:-build-bench}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >&2
cmake --build "$build" -j"$(nproc)" --target tuvrel_bench >&2

runtime_dir="$build/xdg-runtime"
mkdir -p "$runtime_dir" && chmod 700 "$runtime_dir"
export XDG_RUNTIME_DIR="$(cd "$runtime_dir" && pwd)"
bench="$build/bench/tuvrel_bench"

QT_QPA_PLATFORM=offscreen "$bench" "$@"
echo
if command -v xvfb-run >/dev/null 2>&1; then
  xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb "$bench" "$@"
elif [ -n "${DISPLAY:-}" ]; then
  QT_QPA_PLATFORM=xcb "$bench" "$@"
else
  echo "tuvrel bench: no X server (neither xvfb-run nor DISPLAY): the X figures are left out" >&2
fi
