#!/usr/bin/env bash
# Soak of the real game window under its own Xvfb: random clicks inside the client
# area (below the menu bar) and random key presses, with Esc left doing nothing, for a
# bounded time. Afterwards the game must still run, still select a cell on a click
# (the cell turns #8080FF on a screenshot), and must have printed nothing on stderr.
# Usage: scripts/soak-window.sh [--seconds N] [--exe PATH] [--seed N]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds=60
exe="$root/build/release/sudoku"
seed=$$
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --exe) exe=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    *) echo "usage: $0 [--seconds N] [--exe PATH] [--seed N]" >&2; exit 2 ;;
  esac
done
[ -x "$exe" ] || { echo "no executable at $exe" >&2; exit 2; }

work=$(mktemp -d)
xvfb= game=
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null && wait "$game" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  if [ -s "$work/stderr.log" ]; then echo "-- the game's stderr:"; head -c 20000 "$work/stderr.log"; fi
  exit 1
}

# A private runtime folder: the game's single-instance lock lives there.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"

QT_QPA_PLATFORM=xcb "$exe" >"$work/stdout.log" 2>"$work/stderr.log" &
game=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$game" 2>/dev/null | head -1) || true
[ -n "$wid" ] || fail "no game window appeared"
xdotool windowfocus --sync "$wid"
eval "$(xdotool getwindowgeometry --shell "$wid")"  # WIDTH, HEIGHT

# Colour of one pixel of the window, as RRGGBB.
pixel() {
  import -window "$wid" "$work/shot.png"
  convert "$work/shot.png" -format "%[hex:p{$1,$2}]" info: | cut -c1-6
}
# The client area starts at the first row that shows the window colour at x = 2.
menu=
import -window "$wid" "$work/shot.png"
for y in $(seq 0 80); do
  if [ "$(convert "$work/shot.png" -format "%[hex:p{2,$y}]" info: | cut -c1-6)" = "C0C0FF" ]; then menu=$y; break; fi
done
[ -n "$menu" ] || fail "could not find the client area"

keys=(0 1 2 3 4 5 6 7 8 9 KP_0 KP_1 KP_2 KP_3 KP_4 KP_5 KP_6 KP_7 KP_8 KP_9 KP_Add KP_Subtract plus minus equal
      Delete BackSpace Escape F3 a q z x space Return Tab Left Right Up Down Home End F1 F2 F5 F12 KP_Enter shift+1)
RANDOM=$seed
clicks=0 presses=0 batches=0
end=$((SECONDS + seconds))
while [ $SECONDS -lt $end ]; do
  args=()
  for _ in $(seq 30); do
    if [ $((RANDOM % 2)) -eq 0 ]; then
      x=$((RANDOM % WIDTH)) y=$((menu + RANDOM % (HEIGHT - menu)))
      args+=(mousemove --window "$wid" "$x" "$y")
      if [ $((RANDOM % 6)) -eq 0 ]; then args+=(click --repeat 2 --delay 40 1); else args+=(click --delay 0 1); fi
      clicks=$((clicks + 1))
    else
      args+=(key --delay 2 "${keys[RANDOM % ${#keys[@]}]}")
      presses=$((presses + 1))
    fi
  done
  xdotool "${args[@]}" sleep 0.02
  batches=$((batches + 1))
  kill -0 "$game" 2>/dev/null || fail "the game ended during the soak"
done

# Still responsive: drop any choice, return to 18 points, click cell (5, 5).
xdotool mousemove --window "$wid" 2 $((menu + 2))
xdotool key Escape
for _ in $(seq 15); do xdotool key KP_Subtract; done
for _ in $(seq 7); do xdotool key KP_Add; done
cx=$((141 + 4)) cy=$((menu + 141 + 4))  # inside cell (5, 5), clear of its border and digit
before=$(pixel "$cx" "$cy")
xdotool mousemove --window "$wid" $((141 + 16)) $((menu + 141 + 16)) click 1
after=
for _ in $(seq 100); do
  after=$(pixel "$cx" "$cy")
  [ "$after" = "8080FF" ] && break
  sleep 0.1
done
kill -0 "$game" 2>/dev/null || fail "the game ended"
[ "$after" = "8080FF" ] || fail "a click no longer selects a cell (cell shows #$after, was #$before)"
# And keys still arrive: Esc drops the selection.
xdotool key Escape
for _ in $(seq 100); do
  after=$(pixel "$cx" "$cy")
  [ "$after" != "8080FF" ] && break
  sleep 0.1
done
[ "$after" != "8080FF" ] || fail "Esc no longer drops the selection"
[ ! -s "$work/stderr.log" ] || fail "the game wrote to stderr"
echo "soak passed: $clicks clicks and $presses key presses in $batches batches over $seconds s (seed $seed);" \
     "the game still runs, a click selected cell (5, 5) and Esc dropped it, nothing on stderr"
