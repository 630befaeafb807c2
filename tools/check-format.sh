#!/usr/bin/env bash
# Checks that every C++ file of the project is formatted as .clang-format says.
# Prints what would change and fails if anything would; `--fix` formats the
# files in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/project-sources.sh
# Debian 12's clang-format by its versioned name, so that a newer default
# cannot change what the check finds.
clang_format=clang-format-14
mapfile -t files < <(project_sources '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  "$clang_format" -i "${files[@]}"
  exit 0
fi
if ! "$clang_format" --dry-run --Werror "${files[@]}"; then
  echo "tuvrel: some files are not formatted; bash tools/check-format.sh --fix formats them" >&2
  exit 1
fi
echo "format: ${#files[@]} files as .clang-format says"
