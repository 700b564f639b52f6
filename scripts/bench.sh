#!/usr/bin/env bash
# Builds Release and runs every benchmark (on demand; not part of the tests):
#   drawing and clicks on the real window (offscreen) and in memory, a new game,
#   many seeded grid builds, and start-up, memory and second copy under Xvfb; the same
#   for the Windows build under wine, beside a bare Win32 window, and its size.
#   and the web page in a headless Chromium (first paint, click to repaint, transfer size),
#   and with a reader on the AT-SPI bus, the time from a click to the event it speaks from.
#   scripts/bench.sh [board|generator|startup|a11y|windows|web]...
#   (default: all; windows only where MinGW-w64 and wine are installed)
# BUILDS=2000 sets the number of grid builds, N=20 the start-up runs and the a11y moves.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -Wno-dev >/dev/null
cmake --build "$build" --target sudoku bench_board bench_generator bare_window startup_probe -- -j2 >/dev/null

parts=("$@")
if [ ${#parts[@]} -eq 0 ]; then
  parts=(board generator startup a11y)
  command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v wine >/dev/null && parts+=(windows)
fi
echo "Load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
for part in "${parts[@]}"; do
  case "$part" in
    board) QT_QPA_PLATFORM=offscreen "$build/bench/bench_board" --benchmark_repetitions=5 \
             --benchmark_report_aggregates_only=true 2>/dev/null ;;
    generator) "$build/bench/bench_generator" "${BUILDS:-2000}" ;;
    startup) bash "$root/bench/startup.sh" "$build" ;;
    a11y) dbus-run-session -- /usr/bin/python3 -B "$root/bench/a11y_latency.py" "$build/sudoku" "${N:-20}" 2>/dev/null ;;
    windows)
      cmake -S "$root" -B "$root/build/windows" -G Ninja --toolchain "$root/cmake/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -Wno-dev >/dev/null
      cmake --build "$root/build/windows" --target sudoku bare_window_win32 bench_board_win32 -- -j2 >/dev/null
      bash "$root/bench/startup_wine.sh" "$root/build/windows" "$build" ;;
    web)
      SUDOKU_SKIP_SETUP=1 bash "$root/scripts/web.sh" --build-only >/dev/null
      /usr/bin/python3 "$root/bench/web_bench.py" "$root/build/web" "${N:-20}" ;;
    *) echo "unknown part: $part" >&2; exit 2 ;;
  esac
done
