#!/usr/bin/env bash
# The Windows packages: the ZIP holds sudoku.exe alone; the installer, run silently under wine
# for all users and then for the current user, puts the game, its uninstaller, the Start-menu
# shortcut and the "Apps & features" entry in place, and the uninstaller named by that entry
# removes them all again, leaving no folder it made. For all users also: an upgrade over an
# older version, while that version runs (closed, then replaced) and while it does not answer
# (nothing changed, exit code 4); a second copy for the current user refused (exit code 5); an
# uninstall while the game runs (closed, then all removed); Windows older than 7 SP1 refused.
set -euo pipefail
build=$1 version=$2 game=$3
export WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe="
# The program folder is named in Cyrillic: wine makes it only under a UTF-8 locale, and this
# script's own paths need one too, whatever the caller has (or has not) set.
export LC_ALL=C.UTF-8
c="$WINEPREFIX/drive_c"
work=$(mktemp -d)
xvfb= running=
cleanup() {
  [ -n "$running" ] && kill -CONT "$running" 2>/dev/null && kill "$running" 2>/dev/null
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }
# The game runs during some steps: it needs a display, all of wine one and the same.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n1 "$work/display")
wineserver -p  # one server for every step: each wine start is then quick

cpack --config "$build/CPackConfig.cmake" -B "$work" >/dev/null
installer=$work/sudoku-game-$version-win64.exe zip=$work/sudoku-game-$version-win64.zip
[ "$(unzip -Z1 "$zip")" = sudoku.exe ] || fail "the ZIP holds: $(unzip -Z1 "$zip" | tr '\n' ' ')"
unzip -q "$zip" -d "$work/zip"
cmp "$work/zip/sudoku.exe" "$game" || fail "the ZIP's sudoku.exe is not the built game"
# The same installer as an older version would have made it.
old_version=0.9.0
cpack -G NSIS --config "$build/CPackConfig.cmake" -B "$work/old" -D CPACK_PACKAGE_VERSION=$old_version \
  -D CPACK_PACKAGE_FILE_NAME=old-setup >/dev/null
old_installer=$work/old/old-setup.exe

entry() {  # the values of the uninstall key under root $1, one "name"="value" a line
  local out=$work/key.reg
  rm -f "$out"
  wine reg export "$1\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sudoku" "Z:$out" /y \
    >/dev/null 2>&1 || return 0
  iconv -f UTF-16 -t UTF-8 "$out" | tr -d '\r' | grep '^"'
}
value() { sed -n "s/^\"$2\"=\(.*\)$/\1/p" <<<"$(entry "$1")"; }

start_game() {  # the installed game $1, until its window shows
  wine "$1" >/dev/null 2>&1 &
  running=$!
  timeout 30 xdotool search --sync --name '^Судоку$' >/dev/null || fail "the installed game $1 shows no window"
}
ended() {  # whether the started game has ended (within 10 s)
  for _ in $(seq 100); do kill -0 "$running" 2>/dev/null || { wait "$running" || true; running=; return 0; }; sleep 0.1; done
  return 1
}
run() {  # runs a Windows program; prints its exit status
  local status=0
  wine "$@" || status=$?
  echo $status
}

installed() {  # mode, registry root, program folder, Start-menu folder, version: all in place
  local mode=$1 root=$2 dir=$3 menu=$4 version=$5
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
  # The installed size, in KB, as "Apps & features" shows it.
  local size kb
  size=$(( $(cat "$dir"/* | wc -c) ))
  kb=$(( 16#$(value "$root" EstimatedSize | sed 's/^dword://') ))  # hexadecimal
  [ $(( kb * 1024 - size )) -le 1024 ] && [ $(( size - kb * 1024 )) -le 1024 ] ||
    fail "$mode: EstimatedSize is $kb KB, the folder holds $size bytes"
}

uninstall() {  # mode, registry root, program folder, Start-menu folder
  local mode=$1 root=$2 dir=$3 menu=$4
  # The uninstaller as "Apps & features" would start it; it reruns itself from a temporary copy.
  local quiet
  quiet=$(value "$root" QuietUninstallString | sed 's/^"//; s/"$//; s/\\\\/\\/g; s/\\"/"/g')
  local exe=${quiet#\"}
  wine "${exe%%\"*}" "/$mode" /S
  local tries=0
  while [ -e "$dir" ] || [ -e "$menu/Судоку.lnk" ] || [ -n "$(entry "$root")" ]; do
    tries=$((tries + 1))
    [ $tries -le 100 ] || fail "$mode: left 10 s after uninstalling: $(ls -d "$dir" "$dir"/* "$menu/Судоку.lnk" 2>/dev/null)
$(entry "$root")"
    sleep 0.1
  done
}

check_mode() {  # mode, registry root, program folder, Start-menu folder (Unix paths)
  local mode=$1 root=$2 dir=$3 menu=$4
  local parent_before=no
  [ -d "$(dirname "$dir")" ] && parent_before=yes
  wine "$installer" /S "/$mode"
  installed "$@" "$version"
  uninstall "$@"
  local parent_after=no
  [ -d "$(dirname "$dir")" ] && parent_after=yes
  [ $parent_after = $parent_before ] ||
    fail "$mode: $(dirname "$dir") was there before installing: $parent_before, after uninstalling: $parent_after"
  echo "$mode: installed into $dir and removed again"
}

programs="Microsoft/Windows/Start Menu/Programs"
user_dir=$(ls -d "$c"/users/*/AppData | grep -v '/Public/' | head -1)
all_users=(AllUsers HKLM "$c/Program Files/Судоку" "$c/ProgramData/$programs")
current_user=(CurrentUser HKCU "$user_dir/Local/Programs/Судоку" "$user_dir/Roaming/$programs")
check_mode "${all_users[@]}"
check_mode "${current_user[@]}"

# An upgrade over an older version for all users; its sudoku.exe differs from the built game.
dir=${all_users[2]}
[ "$(run "$old_installer" /S /AllUsers)" = 0 ] || fail "the older installer failed"
[ "$(value HKLM DisplayVersion)" = "\"$old_version\"" ] || fail "the older installer wrote version $(value HKLM DisplayVersion)"
printf 'older build' >>"$dir/sudoku.exe"
cp "$dir/sudoku.exe" "$work/older.exe"
# ... while the older game runs and does not answer: nothing changes, and the installer says so.
start_game "$dir/sudoku.exe"
kill -STOP "$running"
status=$(run "$installer" /S /AllUsers)
kill -CONT "$running"
[ "$status" = 4 ] || fail "installing over a game that does not answer: exit code $status, not 4"
cmp -s "$dir/sudoku.exe" "$work/older.exe" || fail "installing over a game that does not answer changed its sudoku.exe"
[ "$(value HKLM DisplayVersion)" = "\"$old_version\"" ] ||
  fail "installing over a game that does not answer changed the entry to version $(value HKLM DisplayVersion)"
echo "upgrade while the older game does not answer: exit code 4, nothing changed"
# ... while it runs: it is closed, and the upgrade is whole.
status=$(run "$installer" /S /AllUsers)
[ "$status" = 0 ] || fail "upgrading while the game runs: exit code $status"
ended || fail "upgrading did not close the running game"
installed "${all_users[@]}" "$version"
echo "upgrade from $old_version while it runs: the game closed, sudoku.exe and the entry replaced"

# A second copy for the current user is refused while the one for all users is there.
status=$(run "$installer" /S /CurrentUser)
[ "$status" = 5 ] || fail "installing for the current user beside the copy for all users: exit code $status, not 5"
[ -z "$(entry HKCU)" ] && [ ! -e "${current_user[2]}" ] ||
  fail "installing for the current user beside the copy for all users left: $(ls -d "${current_user[2]}" 2>/dev/null) $(entry HKCU)"
echo "a second copy for the current user refused: exit code 5, nothing installed"

# Uninstalling while the game runs: it is closed, and everything goes.
start_game "$dir/sudoku.exe"
uninstall "${all_users[@]}"
ended || fail "uninstalling did not close the running game"
echo "uninstalled while the game ran: the game closed, everything removed"

# Windows older than 7 SP1: refused, nothing installed.
wine reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d vista /f >/dev/null 2>&1
status=$(run "$installer" /S /AllUsers)
wine reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
[ "$status" = 3 ] || fail "on Windows Vista: exit code $status, not 3"
[ ! -e "$dir" ] && [ -z "$(entry HKLM)" ] || fail "on Windows Vista the installer left: $(ls -d "$dir" 2>/dev/null) $(entry HKLM)"
echo "Windows Vista refused: exit code 3"
