#!/usr/bin/env bash
# Start-up time to the first painted window, idle memory and the exit of a second
# copy, for the game, the empty window and the bare 81-label window, under one private Xvfb.
#   bench/startup.sh [build dir] ; N=20 runs of each by default, N=100 for figures to compare
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build/release}" && pwd)"
runs="${N:-20}"
probe="$build/bench/startup_probe"
for f in "$probe" "$build/sudoku" "$build/bench/bare_window"; do
  [ -x "$f" ] || { echo "missing $f: build first" >&2; exit 1; }
done

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
start_xvfb
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"  # the game's lock lives here, away from a copy the user runs

# Warm-up: shared libraries and font caches in memory for everyone.
"$probe" --idle-ms 100 -- "$build/sudoku" >/dev/null
"$probe" --idle-ms 100 -- "$build/bench/bare_window" >/dev/null
for ((i = 0; i < runs; i++)); do
  measure game "--second" "$build/sudoku"
  measure bare "" "$build/bench/bare_window"
  measure bare_empty "" "$build/bench/bare_window" --empty
done

echo "Start-up under Xvfb, $runs runs each (times in ms from start; memory VmRSS after 1 s idle)"
printf "%-34s %9s %9s %9s\n" "" median p90 max
for name in game bare bare_empty; do
  printf "%-34s %s\n" "$name: window painted (ms)" "$(stat_line $name paint_ms)"
  printf "%-34s %s\n" "$name: window mapped (ms)" "$(stat_line $name map_ms)"
  printf "%-34s %s\n" "$name: idle VmRSS (kB)" "$(stat_line $name rss_kb)"
done
printf "%-34s %s\n" "game: second copy exits (ms)" "$(stat_line game second_ms)"
bad="$(grep -vc 'second_status=0' "$work/game" || true)"
[ "$bad" = 0 ] || echo "WARNING: $bad second copies did not exit with status 0"
# The game starts and idles nearly as an empty window does; the bare board of 81 label widgets
# is printed for comparison.
for base in "bare_empty 1.05 1.05" "bare - -"; do
  set -- $base
  awk -v g="$(median game paint_ms)" -v b="$(median $1 paint_ms)" -v gr="$(median game rss_kb)" -v br="$(median $1 rss_kb)" -v n="$1" -v t="$2" -v m="$3" \
    'BEGIN{printf "game / %-10s start-up %.2fx (target <= %sx)  memory %.2fx (target <= %sx)\n", n, g/b, t, gr/br, m}'
done
