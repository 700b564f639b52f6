#!/usr/bin/env bash
# Builds the Debian package and has lintian check it: no error and no warning (information
# and pedantic notes are shown, not counted). Skipped (77) where lintian is not installed.
set -euo pipefail
build=$1
command -v lintian >/dev/null || { echo "SKIPPED: lintian is not installed (scripts/setup.sh installs it)"; exit 77; }
export LC_ALL=C.UTF-8  # the package's texts are Russian
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
debs=("$work"/sudoku-game_*.deb)
[ -f "${debs[0]}" ] || { echo "FAILED: no package in $work"; exit 1; }
# As root, lintian would rather not run; --allow-root says it may.
status=0
lintian --allow-root --fail-on error,warning --display-info "${debs[0]}" || status=$?
[ $status -eq 0 ] && echo "lintian: no error, no warning on $(basename "${debs[0]}")"
exit $status
