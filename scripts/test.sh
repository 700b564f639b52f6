#!/usr/bin/env bash
# Sets up, builds and runs every test (headless; tests that need an X server start their own Xvfb).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The run does not depend on the caller's locale: everything runs as on a system with none
# set (the POSIX locale), and each step that handles non-ASCII text or paths (wine, the
# installer test) sets the UTF-8 locale it needs itself.
unset LANG LANGUAGE $(compgen -e | grep '^LC_' || true)
bash "$root/scripts/setup.sh"
# The web page first: the Linux build's tests take it to a browser (tests/web).
SUDOKU_SKIP_SETUP=1 bash "$root/scripts/web.sh" --build-only
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -Wno-dev >/dev/null
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 "$@"
bash "$root/scripts/skipped.sh" "$build"
# The Windows build, cross-built with MinGW-w64 (with the 32-bit build in its x86/): its unit tests,
# sudoku.exe and the installer under wine, 64- and 32-bit.
windows="$root/build/windows"
cmake -S "$root" -B "$windows" -G Ninja --toolchain "$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -Wno-dev >/dev/null
cmake --build "$windows" --target sudoku unit_tests sudoku_old_windows sudoku_x86 access_client
echo "Windows tests, locale variables set: $(env | grep -E '^(LANG|LANGUAGE|LC_[A-Z]+)=' | tr '\n' ' ' || echo none)"
ctest --test-dir "$windows" --output-on-failure
bash "$root/scripts/skipped.sh" "$windows"
# Once more with AddressSanitizer and UndefinedBehaviorSanitizer.
bash "$root/scripts/test-sanitizers.sh"
