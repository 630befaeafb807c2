#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over the project's own C++
# sources, with the compile database of a configured and built build directory
# (generated sources must exist), one process per processor. Prints every
# finding and fails on any.
#
#   bash tools/check-tidy.sh [build-directory] [file...]
#
# The build directory is build/ unless given; without files it checks every
# source file (and, through them, the project's headers).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
if [ $# -gt 0 ] && [ -d "$1" ]; then
  build=$1
  shift
fi
if [ ! -f "$build/compile_commands.json" ]; then
  echo "tuvrel: $build/compile_commands.json is missing: configure and build with cmake first" >&2
  exit 1
fi
source tools/project-sources.sh
if [ $# -gt 0 ]; then
  files=("$@")
  for f in "${files[@]}"; do
    [ -f "$f" ] || { echo "tuvrel: no such source file: $f" >&2; exit 1; }
  done
else
  mapfile -t files < <(project_sources '*.cpp')
  # Sources the build does not compile natively (the browser's front end,
  # built with emscripten alone) have no compile command to check them with.
  mapfile -t files < <(for f in "${files[@]}"; do
    grep -q "\"file\": \"$PWD/$f\"" "$build/compile_commands.json" && echo "$f"
  done)
fi
# Debian 12's clang-tidy by its versioned name, so that a newer default
# cannot change what the check finds (clang-tidy-14 below).
# Findings in the project's headers are reported, never those in Qt's or the system's.
export TUVREL_TIDY_HEADERS="^$PWD/(app|assets|bench|desktop|forms|games|menu|runtime|tests|tools|web)/"
export TUVREL_TIDY_BUILD=$build
start=$SECONDS
# Each file's findings are printed together; xargs fails if any file has one.
if ! printf '%s\0' "${files[@]}" | xargs -0 -n1 -P"$(nproc)" sh -c '
    out=$(clang-tidy-14 --quiet -p "$TUVREL_TIDY_BUILD" --header-filter="$TUVREL_TIDY_HEADERS" "$1" 2>&1) && exit 0
    printf "%s\n" "$out"
    exit 1' tidy; then
  echo "tuvrel: clang-tidy found the faults above (checks and how to suppress one: .clang-tidy)" >&2
  exit 1
fi
echo "clang-tidy: no findings in ${#files[@]} source file(s) ($((SECONDS - start)) s)"
