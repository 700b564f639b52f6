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
# Once more with AddressSanitizer and UndefinedBehaviorSanitizer.
bash "$root/scripts/test-sanitizers.sh"
