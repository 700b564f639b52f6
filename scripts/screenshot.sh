#!/usr/bin/env bash
# Starts the game on its own Xvfb, begins a new game through the "Игра" menu and
# saves a picture of just the window as docs/screenshot.png (or the file given).
# Builds the Release game first, as play.sh does.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/docs/screenshot.png}"
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -Wno-dev >/dev/null
cmake --build "$root/build/release" --target sudoku >/dev/null

work=$(mktemp -d)
xvfb= game=
cleanup() {
  set +e
  [ -n "$game" ] && kill "$game" 2>/dev/null && wait "$game" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
mkdir -m 700 "$work/run"  # a runtime folder of its own, so a copy running elsewhere does not stop this one
XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=xcb "$root/build/release/sudoku" &
game=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Судоку$' | head -n1)

xdotool mousemove --window "$window" 20 10 click 1  # the "Игра" menu
sleep 0.5
xdotool key Down Return  # its first item, "Новая"
sleep 2                  # the new grid is built and drawn
mkdir -p "$(dirname "$out")"
import -window "$window" "$out"
echo "wrote $out ($(identify -format '%wx%h' "$out"))"
