#!/usr/bin/env bash
# Checks that every C++ file of the project is formatted as .clang-format says.
# Prints what would change and fails if anything would; `--fix` formats the
# files in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/project-sources.sh
mapfile -t files < <(project_sources '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
if ! clang-format --dry-run --Werror "${files[@]}"; then
  echo "tuvrel: some files are not formatted; bash tools/check-format.sh --fix formats them" >&2
  exit 1
fi
echo "format: ${#files[@]} files as .clang-format says"
