#!/usr/bin/env bash
# Sets up, builds and runs every test (headless; tests that need an X server start their own Xvfb).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -Wno-dev >/dev/null
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 "$@"
# The Windows build, cross-built with MinGW-w64: its unit tests, sudoku.exe and the installer under wine.
windows="$root/build/windows"
cmake -S "$root" -B "$windows" -G Ninja --toolchain "$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -Wno-dev >/dev/null
cmake --build "$windows" --target sudoku unit_tests
ctest --test-dir "$windows" --output-on-failure
# Once more with AddressSanitizer and UndefinedBehaviorSanitizer.
bash "$root/scripts/test-sanitizers.sh"
