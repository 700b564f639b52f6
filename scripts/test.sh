#!/usr/bin/env bash
# Sets up, builds and runs every test (headless; tests that need an X server start their own Xvfb).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The run does not depend on the caller's locale: everything runs as on a system with none
# set (the POSIX locale), and each step that handles non-ASCII text or paths (wine, the
# installer test) sets the UTF-8 locale it needs itself.
unset LANG LANGUAGE $(compgen -e | grep '^LC_' || true)
bash "$root/scripts/setup.sh"
skipped() {  # names each test of the last ctest run in $1 that skipped itself, and why
  local list
  list=$(awk '/^[0-9]+\/[0-9]+ Testing: / { name = $3 } /^SKIPPED: / { print "  " name ": " $0 }' \
    "$1/Testing/Temporary/LastTest.log" 2>/dev/null | sort -u)
  [ -n "$list" ] || return 0
  echo "Skipped tests, with their reasons:"
  echo "$list"
  [ "$(id -u)" -eq 0 ] || echo "  (running as $(id -un), not root: the tests that need root say so above)"
}
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -Wno-dev >/dev/null
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 "$@"
skipped "$build"
# The Windows build, cross-built with MinGW-w64: its unit tests, sudoku.exe and the installer under wine.
windows="$root/build/windows"
cmake -S "$root" -B "$windows" -G Ninja --toolchain "$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -Wno-dev >/dev/null
cmake --build "$windows" --target sudoku unit_tests sudoku_old_windows
echo "Windows tests, locale variables set: $(env | grep -E '^(LANG|LANGUAGE|LC_[A-Z]+)=' | tr '\n' ' ' || echo none)"
ctest --test-dir "$windows" --output-on-failure
skipped "$windows"
# Once more with AddressSanitizer and UndefinedBehaviorSanitizer.
bash "$root/scripts/test-sanitizers.sh"
