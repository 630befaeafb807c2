# project_sources PATTERN...: the project's own files matching the patterns,
# one per line: those git knows of and those not yet added (but not ignored),
# or in a copy without git every file outside the build directories.
project_sources() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files --cached --others --exclude-standard -- "$@" | sort -u
  else
    local names=()
    for p in "$@"; do names+=(-o -name "$p"); done
    find . \( -path './build*' -o -path './.git' \) -prune -o -type f \( "${names[@]:1}" \) -print |
      sed 's|^\./||' | sort
  fi
}
