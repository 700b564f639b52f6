#!/usr/bin/env bash
# Validates the menu entry, as it is installed, with desktop-file-validate; any message fails
# the test. The entry keeps to format 1.4, which Debian 12's validator knows, so that it is
# valid there as shipped: it says "one window only" with X-GNOME-SingleWindow, which desktops
# of that age read (format 1.5's SingleMainWindow is unknown to them and to that validator).
set -euo pipefail
entry=$1
grep -qx 'X-GNOME-SingleWindow=true' "$entry" || { echo "missing line: X-GNOME-SingleWindow=true"; exit 1; }
out=$(desktop-file-validate "$entry" 2>&1) && status=0 || status=$?
if [ "$status" -ne 0 ] || [ -n "$out" ]; then
  echo "$out"
  exit 1
fi
echo "desktop-file-validate: $(basename "$entry") is valid"
