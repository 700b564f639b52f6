#!/usr/bin/env bash
# Runs a Windows program under wine: in $WINEPREFIX when one is set, otherwise in a
# throwaway prefix that is removed afterwards. Passes on the program's exit status.
set -u
wine="$(command -v wine)" || { echo "wine-run: wine not found" >&2; exit 127; }
export WINEDEBUG="${WINEDEBUG:--all}"
export LC_ALL=C.UTF-8  # wine passes text and file names in the locale's encoding
if [ -n "${WINEPREFIX:-}" ]; then
  exec "$wine" "$@"
fi
WINEPREFIX="$(mktemp -d)"
export WINEPREFIX
"$wine" "$@"
status=$?
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
exit $status
