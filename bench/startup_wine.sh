#!/usr/bin/env bash
# The Windows game under wine: start-up to the first painted window, idle memory and the
# exit of a second copy, beside a bare Win32 window with 81 STATIC labels, in one private
# Xvfb and one throwaway wine prefix; then the size of sudoku.exe and, when it is built,
# drawing and resizing on the real window (bench_board_win32.exe).
#   bench/startup_wine.sh [windows build dir] [native build dir] ; N=20 runs of each
# Needs sudoku.exe and bench/bare_window_win32.exe from the cross build
# (cmake/mingw-w64.cmake) and bench/startup_probe from the native build.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
win="$(cd "${1:-$root/build/windows}" && pwd)"
native="$(cd "${2:-$root/build/release}" && pwd)"
runs="${N:-20}"
probe="$native/bench/startup_probe"
game="$win/sudoku.exe"
bare="$win/bench/bare_window_win32.exe"
for f in "$probe" "$game" "$bare"; do
  [ -f "$f" ] || { echo "missing $f: build first" >&2; exit 1; }
done
wine="$(command -v wine)" || { echo "wine not found" >&2; exit 1; }
# The 64-bit loader for the 64-bit programs: Debian's `wine` is the 32-bit one once wine's 32-bit
# part is installed, and would start them as another process, whose memory the probe would miss.
[ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64

work="$(mktemp -d)"
xvfb_pid=""
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
start_xvfb

# The prefix, once; the wine server stays up between runs, as it does on a desktop session.
mkdir -p "$WINEPREFIX"
wineserver -p
"$wine" wineboot -i >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Calibri /t REG_SZ /d Carlito /f >/dev/null 2>&1

# Warm-up: DLLs and fonts in the page cache for both.
"$probe" --idle-ms 300 -- "$wine" "$game" >/dev/null || true
"$probe" --idle-ms 300 -- "$wine" "$bare" >/dev/null || true
for ((i = 0; i < runs; i++)); do
  measure game "--second" "$wine" "$game"
  measure bare "" "$wine" "$bare"
done

echo "Windows build under wine on Xvfb, $runs runs each (times in ms from launch; VmRSS after 1 s idle)"
printf "%-34s %9s %9s %9s\n" "" median p90 max
for name in game bare; do
  printf "%-34s %s\n" "$name: window painted (ms)" "$(stat_line $name paint_ms)"
  printf "%-34s %s\n" "$name: window mapped (ms)" "$(stat_line $name map_ms)"
  printf "%-34s %s\n" "$name: idle VmRSS (kB)" "$(stat_line $name rss_kb)"
done
printf "%-34s %s\n" "game: second copy exits (ms)" "$(stat_line game second_ms)"
bad="$(grep -vc 'second_status=0' "$work/game" || true)"
[ "$bad" = 0 ] || echo "WARNING: $bad second copies did not exit with status 0"
awk -v g="$(median game paint_ms)" -v b="$(median bare paint_ms)" -v gr="$(median game rss_kb)" -v br="$(median bare rss_kb)" \
  'BEGIN{printf "game / bare: start-up %.2fx (target <= 1.2x)  memory %.2fx\n", g/b, gr/br}'
size=$(stat -c %s "$game")
awk -v s="$size" 'BEGIN{printf "sudoku.exe: %d bytes = %.2f MiB (target <= 1 MiB)\n", s, s/1048576}'
if [ -f "$win/bench/bench_board_win32.exe" ]; then
  echo "Board on the real window under wine, each with its repaint:"
  "$wine" "$win/bench/bench_board_win32.exe" 200
fi
