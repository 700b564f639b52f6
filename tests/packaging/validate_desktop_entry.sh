#!/usr/bin/env bash
# Validates the menu entry with desktop-file-validate; any message fails the test.
# Validators before desktop-file-utils 0.27 know the format only up to 1.4 and
# reject its 1.5 key SingleMainWindow: with such a validator the entry is checked
# without its two 1.5 lines, and those two lines are checked here instead.
set -euo pipefail
entry=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for line in 'Version=1.5' 'SingleMainWindow=true'; do
  grep -qx "$line" "$entry" || { echo "missing line: $line"; exit 1; }
done

printf '[Desktop Entry]\nType=Application\nVersion=1.5\nName=probe\nExec=true\nSingleMainWindow=true\n' >"$tmp/probe.desktop"
checked=$entry
if ! desktop-file-validate "$tmp/probe.desktop" >/dev/null 2>&1; then
  echo "note: this desktop-file-validate predates format 1.5; validating without Version=1.5 and SingleMainWindow"
  checked=$tmp/$(basename "$entry")
  grep -vx -e 'Version=1.5' -e 'SingleMainWindow=true' "$entry" >"$checked"
fi
out=$(desktop-file-validate "$checked" 2>&1) && status=0 || status=$?
if [ "$status" -ne 0 ] || [ -n "$out" ]; then
  echo "$out"
  exit 1
fi
echo "desktop-file-validate: $(basename "$entry") is valid"
