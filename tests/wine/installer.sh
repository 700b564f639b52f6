#!/usr/bin/env bash
# The Windows packages: the ZIP holds sudoku.exe alone; the installer, run silently under wine
# for all users and then for the current user, puts the game, its uninstaller, the Start-menu
# shortcut and the "Apps & features" entry in place, and the uninstaller named by that entry
# removes them all again.
set -euo pipefail
build=$1 version=$2 game=$3
export WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe="
# The program folder is named in Cyrillic: wine makes it only under a UTF-8 locale, and this
# script's own paths need one too, whatever the caller has (or has not) set.
export LC_ALL=C.UTF-8
unset DISPLAY
c="$WINEPREFIX/drive_c"
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
wineserver -p  # one server for every step: each wine start is then quick

cpack --config "$build/CPackConfig.cmake" -B "$work" >/dev/null
installer=$work/sudoku-game-$version-win64.exe zip=$work/sudoku-game-$version-win64.zip
[ "$(unzip -Z1 "$zip")" = sudoku.exe ] || fail "the ZIP holds: $(unzip -Z1 "$zip" | tr '\n' ' ')"
unzip -q "$zip" -d "$work/zip"
cmp "$work/zip/sudoku.exe" "$game" || fail "the ZIP's sudoku.exe is not the built game"

entry() {  # the values of the uninstall key under root $1, one "name"="value" a line
  local out=$work/key.reg
  rm -f "$out"
  wine reg export "$1\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sudoku" "Z:$out" /y \
    >/dev/null 2>&1 || return 0
  iconv -f UTF-16 -t UTF-8 "$out" | tr -d '\r' | grep '^"'
}

check_mode() {  # mode, registry root, program folder, Start-menu folder (Unix paths)
  local mode=$1 root=$2 dir=$3 menu=$4
  wine "$installer" /S "/$mode"
  cmp -s "$dir/sudoku.exe" "$game" || fail "$mode: $dir/sudoku.exe is not the built game"
  [ -f "$dir/uninstall.exe" ] || fail "$mode: no uninstaller in $dir"
  [ -f "$menu/Судоку.lnk" ] || fail "$mode: no shortcut Судоку.lnk in $menu"
  local key
  key=$(entry "$root")
  local win_dir
  win_dir=$(sed -n 's/^"InstallLocation"="\(.*\)"$/\1/p' <<<"$key")
  local bs='\\'  # a backslash as reg export writes it
  for want in '"DisplayName"="Судоку"' "\"DisplayIcon\"=\"$win_dir${bs}sudoku.exe,0\"" \
      "\"DisplayVersion\"=\"$version\"" '"Publisher"="Sudoku developers"' \
      "\"QuietUninstallString\"=\"\\\"$win_dir${bs}uninstall.exe\\\" /$mode /S\""; do
    grep -qxF "$want" <<<"$key" || fail "$mode: the uninstall key under $root lacks $want; it holds:
$key"
  done
  # The uninstaller as "Apps & features" would start it; it reruns itself from a temporary copy.
  local quiet
  quiet=$(sed -n 's/^"QuietUninstallString"="\(.*\)"$/\1/p' <<<"$key" | sed 's/\\\\/\\/g; s/\\"/"/g')
  local exe=${quiet#\"}
  wine "${exe%%\"*}" "/$mode" /S
  local tries=0
  while [ -e "$dir" ] || [ -e "$menu/Судоку.lnk" ] || [ -n "$(entry "$root")" ]; do
    tries=$((tries + 1))
    [ $tries -le 100 ] || fail "$mode: left 10 s after uninstalling: $(ls -d "$dir" "$menu/Судоку.lnk" 2>/dev/null)
$(entry "$root")"
    sleep 0.1
  done
  echo "$mode: installed into $win_dir and removed again"
}

programs="Microsoft/Windows/Start Menu/Programs"
user_dir=$(ls -d "$c"/users/*/AppData | grep -v '/Public/' | head -1)
check_mode AllUsers HKLM "$c/Program Files/Судоку" "$c/ProgramData/$programs"
check_mode CurrentUser HKCU "$user_dir/Local/Programs/Судоку" "$user_dir/Roaming/$programs"
