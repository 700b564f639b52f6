#!/usr/bin/env bash
# Builds the game as a web page into build/web/ and serves it on localhost:
#   bash scripts/web.sh [--build-only] [--port N]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_only=0
port=8000
while [ $# -gt 0 ]; do
  case "$1" in
    --build-only) build_only=1 ;;
    --port) port="$2"; shift ;;
    *) echo "usage: $0 [--build-only] [--port N]" >&2; exit 2 ;;
  esac
  shift
done
[ "${SUDOKU_SKIP_SETUP:-0}" = 1 ] || bash "$root/scripts/setup.sh"
# Emscripten's JavaScript tools find their modules under Debian's node path.
export NODE_PATH=/usr/share/nodejs
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$root/build/wasm" -G Ninja --toolchain "$root/cmake/emscripten.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DSUDOKU_WEB_DIR="$root/build/web" "${launcher[@]}" -Wno-dev >/dev/null
cmake --build "$root/build/wasm"
[ "$build_only" = 1 ] && exit 0
echo "Судоку: http://127.0.0.1:$port/ (Ctrl+C stops the server)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$root/build/web"
