#!/usr/bin/env bash
# Installs what is missing, builds the benchmark (Release) and prints its
# tables: first on Qt's offscreen platform, then on an X server (Xvfb, or the
# display at hand when Xvfb cannot be had), then the browser's in headless
# Chromium (bench/web: the site built with emscripten in <build>/web-site).
# Extra arguments go to tuvrel_bench, e.g. --quick for a short run (the
# browser's too); --web-only prints the browser's table alone, --no-web the
# desktop's alone. TUVREL_BENCH_BUILD names another build directory than
# build-bench.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-dependencies.sh

desktop=1
web=1
web_args=()
bench_args=()
for a in "$@"; do
  case "$a" in
    --web-only) desktop=0 ;;
    --no-web) web=0 ;;
    --quick) web_args+=(--quick); bench_args+=("$a") ;;
    *) bench_args+=("$a") ;;
  esac
done

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

if [ "$desktop" = 1 ]; then
  cmake --build "$build" -j"$(nproc)" --target tuvrel_bench >&2

  runtime_dir="$build/xdg-runtime"
  mkdir -p "$runtime_dir" && chmod 700 "$runtime_dir"
  export XDG_RUNTIME_DIR="$(cd "$runtime_dir" && pwd)"
  bench="$build/bench/tuvrel_bench"

  QT_QPA_PLATFORM=offscreen "$bench" ${bench_args[@]+"${bench_args[@]}"}
  echo
  if command -v xvfb-run >/dev/null 2>&1; then
    xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb "$bench" ${bench_args[@]+"${bench_args[@]}"}
  elif [ -n "${DISPLAY:-}" ]; then
    QT_QPA_PLATFORM=xcb "$bench" ${bench_args[@]+"${bench_args[@]}"}
  else
    echo "tuvrel bench: no X server (neither xvfb-run nor DISPLAY): the X figures are left out" >&2
  fi
fi

if [ "$web" = 1 ]; then
  # The site as tests/web/run.sh builds it: the pictures rendered in the
  # native tree, the program compiled with emscripten in <build>/web-site.
  [ "$desktop" = 1 ] && echo
  jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))
  cmake --build "$build" -j"$jobs" --target tuvrel_picture_files >&2
  source tools/emscripten-tree.sh
  native=$(realpath "$build")
  configure_core_tree "$native" "$native/web-site" >&2
  # The test build of the site: the same page and program with the hooks the
  # benchmark reads (the page's state, its module, the painted pixels).
  cmake --build "$native/web-site" -j"$jobs" --target tuvrel_site tuvrel_site_checked >&2
  [ -d tests/web/node_modules/playwright-core ] || (cd tests/web && npm ci --no-audit --no-fund >&2)
  node bench/web/web_bench.mjs "$native/web-site/site-checked" ${web_args[@]+"${web_args[@]}"}
fi
