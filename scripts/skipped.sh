#!/usr/bin/env bash
# Names each test of the last ctest run in the build folder $1 that skipped itself, and why.
set -euo pipefail
list=$(awk '/^[0-9]+\/[0-9]+ Testing: / { name = $3 } /^SKIPPED: / { print "  " name ": " $0 }' \
  "$1/Testing/Temporary/LastTest.log" 2>/dev/null | sort -u)
[ -n "$list" ] || exit 0
echo "Skipped tests, with their reasons:"
echo "$list"
[ "$(id -u)" -eq 0 ] || echo "  (running as $(id -un), not root: the tests that need root say so above)"
