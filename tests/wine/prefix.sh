#!/usr/bin/env bash
# The wine prefix that the Windows tests share: `prefix.sh setup LINK [win32]` makes a fresh one
# in a temporary folder (with win32 one of a 32-bit Windows) and points LINK at it;
# `prefix.sh cleanup LINK` ends its wineserver and removes it. Made without a display; the tests
# then run in it one at a time.
set -euo pipefail
action=$1 link=$2 arch=${3:-}
export WINEDEBUG=-all
# Wine names files in the locale's encoding: a UTF-8 one, whatever the caller has (or has not) set.
export LC_ALL=C.UTF-8

remove() {
  [ -L "$link" ] || return 0
  WINEPREFIX="$link" wineserver -k 2>/dev/null || true
  rm -rf "$(readlink "$link")" "$link"
}

case $action in
setup)
  remove
  prefix=$(mktemp -d /tmp/sudoku-wine.XXXXXX)
  ln -s "$prefix" "$link"
  export WINEPREFIX=$prefix
  [ -n "$arch" ] && export WINEARCH=$arch
  # No Mono or Gecko downloads, no menu entries on the host, no display.
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  unset DISPLAY
  wineserver -p  # one server for the steps below
  wineboot -i
  # Windows has Calibri, wine has not: its metric twin stands in, here only.
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Calibri /t REG_SZ /d Carlito /f
  # Wine draws the window frame itself, as Windows does, instead of leaving it to a window
  # manager that Xvfb has not: title bar, raising, minimising are then wine's own.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
  wineserver -k  # saves the registry
  echo "wine prefix in $prefix"
  ;;
cleanup)
  remove
  ;;
*)
  echo "usage: prefix.sh setup|cleanup LINK" >&2
  exit 2
  ;;
esac
