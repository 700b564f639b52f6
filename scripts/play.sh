#!/usr/bin/env bash
# Sets up, builds a Release build and starts the game.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -Wno-dev >/dev/null
cmake --build "$root/build/release" --target sudoku >/dev/null
exec "$root/build/release/sudoku"
