#!/usr/bin/env bash
# The Windows packages: each ZIP holds its sudoku.exe alone; the installer, run silently under
# wine for all users and then for the current user (there over an older version), puts the game
# that fits the system, its uninstaller, the Start-menu shortcut and the "Apps & features" entry
# in place, and the uninstaller named by that entry removes them all again, leaving no folder it
# made. For all users also: an upgrade over an older version, while the game's file is held open
# by another program (nothing changed, exit code 6), while that version runs (closed, then
# replaced, the entry written anew) and while it does not answer (nothing changed, exit code 4);
# a game whose window shows late is closed still; a second copy for the current user refused
# (exit code 5), and with a window «Нет» to removing the other copy goes back to choosing the
# mode; with a window «Повтор» once the game is closed goes on; an uninstall while the game's
# file is held (nothing removed, exit code 6) and while the game runs (closed, then all
# removed); Windows older than 7 SP1 refused (exit code 3).
#   installer.sh BUILD VERSION SUDOKU_EXE SUDOKU_EXE_32BIT HELPER_EXE [x86]
# With x86 it runs in a 32-bit prefix: the installer puts the 32-bit game in place in each
# mode, and nothing more is checked. HELPER_EXE is tests/wine/old_windows.cpp (there its 32-bit build).
# The shipped installer is a 32-bit program. Where this machine runs no 32-bit programs (wine's
# 32-bit loader does not start, as run32.sh finds), all of this runs against the same script
# built for amd64-unicode instead, and says so.
set -euo pipefail
build=$1 version=$2 game64=$3 game32=$4 helper=$5 only=${6:-}
game=$game64
[ "$only" = x86 ] && game=$game32
export WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe="
# The program folder is named in Cyrillic: wine makes it only under a UTF-8 locale, and this
# script's own paths need one too, whatever the caller has (or has not) set.
export LC_ALL=C.UTF-8
c="$WINEPREFIX/drive_c"
work=$(mktemp -d)
xvfb= running= holder=
cleanup() {  # each step whatever the one before did: a helper may have ended by itself
  [ -n "$running" ] && kill -CONT "$running" 2>/dev/null && kill "$running" 2>/dev/null || true
  [ -n "$holder" ] && kill "$holder" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }
# The 64-bit programs by wine's 64-bit loader: Debian's `wine` is the 32-bit one once wine's
# 32-bit part is installed, and starts them as another process, which a signal would miss.
wine64=wine
[ -x /usr/lib/wine/wine64 ] && [ "$only" != x86 ] && wine64=/usr/lib/wine/wine64
# The game runs during some steps: it needs a display, all of wine one and the same.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n1 "$work/display")
wineserver -p  # one server for every step: each wine start is then quick

machine() {  # the processor Windows program $1 is built for: i386, amd64 or unknown
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')  # where the PE header starts
  case $(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ') in
    014c) echo i386 ;;
    8664) echo amd64 ;;
    *) echo unknown ;;
  esac
}

cpack --config "$build/CPackConfig.cmake" -B "$work" >/dev/null
installer=$work/sudoku-game-$version-setup.exe
[ "$(machine "$installer")" = i386 ] || fail "the shipped installer is built for $(machine "$installer"), not i386"
# The installers run below: the shipped one, or, where 32-bit programs cannot run, its build
# for amd64-unicode. That one cannot show what only a 32-bit installer on 64-bit Windows
# meets: it sees the system's own registry view and "Program Files" whatever the script asks
# for, and always takes the 64-bit game.
nsis_target=()
if [ "$only" != x86 ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  nsis_target=(-D CPACK_NSIS_EXECUTABLE_PRE_ARGUMENTS=-DSUDOKU_INSTALLER_TARGET=amd64-unicode)
  cpack -G NSIS --config "$build/CPackConfig.cmake" -B "$work/amd64" "${nsis_target[@]}" >/dev/null
  installer=$work/amd64/sudoku-game-$version-setup.exe
  [ "$(machine "$installer")" = amd64 ] || fail "the installer built for amd64-unicode is built for $(machine "$installer")"
  echo "NOTE: this machine runs no 32-bit programs: what follows tests the 64-bit build of the installer"
  echo "(the same script, Target amd64-unicode), not the shipped 32-bit one (checked only to be i386)."
  echo "Not tested here, as a 64-bit installer gets them without asking: the entry in the 64-bit"
  echo "registry view (SetRegView 64 under WOW64), \"Program Files\" rather than \"Program Files (x86)\""
  echo "(PROGRAMFILES64), and choosing the 64-bit game (RunningX64). wine32.installer tests the"
  echo "32-bit installer where 32-bit programs run."
fi
for bits in 64 32; do
  zip=$work/sudoku-game-$version-win$bits.zip
  [ "$(unzip -Z1 "$zip")" = sudoku.exe ] || fail "the $bits-bit ZIP holds: $(unzip -Z1 "$zip" | tr '\n' ' ')"
  unzip -q "$zip" -d "$work/zip$bits"
  exe=game$bits
  cmp "$work/zip$bits/sudoku.exe" "${!exe}" || fail "the $bits-bit ZIP's sudoku.exe is not the built $bits-bit game"
done
# The same installer as an older version would have made it, one that named a home page.
old_version=0.9.0
cpack -G NSIS --config "$build/CPackConfig.cmake" -B "$work/old" -D CPACK_PACKAGE_VERSION=$old_version \
  -D CPACK_PACKAGE_FILE_NAME=old-setup -D CPACK_NSIS_URL_INFO_ABOUT=https://old-home.invalid/ "${nsis_target[@]}" >/dev/null
old_installer=$work/old/old-setup.exe

entry() {  # the values of the uninstall key under root $1, one "name"="value" a line
  local out=$work/key.reg
  rm -f "$out"
  # In the system's own view, not in the one a 32-bit reg (wine's default) would be shown.
  wine reg export "$1\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sudoku" "Z:$out" /y /reg:64 \
    >/dev/null 2>&1 || return 0
  iconv -f UTF-16 -t UTF-8 "$out" | tr -d '\r' | grep '^"'
}
value() { sed -n "s/^\"$2\"=\(.*\)$/\1/p" <<<"$(entry "$1")"; }

start_game() {  # the installed game $1, until its window shows
  $wine64 "$1" >/dev/null 2>&1 &
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
held() {  # waits until the helper started last says it holds what it was told to
  for _ in $(seq 100); do
    [ -e "$work/held" ] && { rm "$work/held"; return 0; }
    kill -0 "$1" 2>/dev/null || fail "the helper ended: $2"
    sleep 0.1
  done
  fail "the helper did not get going in 10 s: $2"
}
hold() {  # keeps file $1 open, as a virus scanner may, until release
  (cd "$work" && SUDOKU_HOLD_FILE="$(winepath -w "$1")" exec $wine64 "$helper") >/dev/null 2>&1 &
  holder=$!
  held $holder "holding $1"
}
release() { kill "$holder"; wait "$holder" 2>/dev/null || true; holder=; }

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
      "\"QuietUninstallString\"=\"\\\"$win_dir${bs}uninstall.exe\\\" /$mode /S _?=$win_dir\""; do
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

quiet_uninstall() {  # registry root: runs the entry's quiet uninstall command as it is; prints its exit code
  local quiet status=0
  quiet=$(value "$1" QuietUninstallString | sed 's/^"//; s/"$//; s/\\\\/\\/g; s/\\"/"/g')
  SUDOKU_RUN=$quiet $wine64 "$helper" || status=$?
  echo $status
}

uninstall() {  # mode, registry root, program folder, Start-menu folder
  local mode=$1 root=$2 dir=$3 menu=$4
  # The uninstaller as a deployment tool would start it: its exit code is the outcome.
  local status
  status=$(quiet_uninstall "$root")
  [ "$status" = 0 ] || fail "$mode: the quiet uninstall command ended with $status"
  local tries=0
  while [ -e "$dir" ] || [ -e "$menu/Судоку.lnk" ] || [ -n "$(entry "$root")" ]; do
    tries=$((tries + 1))
    [ $tries -le 100 ] || fail "$mode: left 10 s after uninstalling: $(ls -d "$dir" "$dir"/* "$menu/Судоку.lnk" 2>/dev/null)
$(entry "$root")"
    sleep 0.1
  done
}

check_mode() {  # mode, registry root, program folder, Start-menu folder (Unix paths) [upgrade]
  local mode=$1 root=$2 dir=$3 menu=$4 upgrade=${5:-}
  local parent_before=no
  [ -d "$(dirname "$dir")" ] && parent_before=yes
  [ -n "$upgrade" ] && wine "$old_installer" /S "/$mode"
  wine "$installer" /S "/$mode"
  installed "${@:1:4}" "$version"
  [ -z "$(value "$root" URLInfoAbout)" ] || fail "$mode: the entry still names $(value "$root" URLInfoAbout)"
  uninstall "${@:1:4}"
  local parent_after=no
  [ -d "$(dirname "$dir")" ] && parent_after=yes
  [ $parent_after = $parent_before ] ||
    fail "$mode: $(dirname "$dir") was there before installing: $parent_before, after uninstalling: $parent_after"
  echo "$mode: installed into $dir${upgrade:+ over version $old_version} and removed again"
}

programs="Microsoft/Windows/Start Menu/Programs"
user_dir=$(ls -d "$c"/users/*/AppData | grep -v '/Public/' | head -1)
all_users=(AllUsers HKLM "$c/Program Files/Судоку" "$c/ProgramData/$programs")
current_user=(CurrentUser HKCU "$user_dir/Local/Programs/Судоку" "$user_dir/Roaming/$programs")
check_mode "${all_users[@]}"
check_mode "${current_user[@]}" upgrade
[ "$only" = x86 ] && exit 0


# An upgrade over an older version for all users; its sudoku.exe differs from the built game.
dir=${all_users[2]}
[ "$(run "$old_installer" /S /AllUsers)" = 0 ] || fail "the older installer failed"
[ "$(value HKLM DisplayVersion)" = "\"$old_version\"" ] || fail "the older installer wrote version $(value HKLM DisplayVersion)"
printf 'older build' >>"$dir/sudoku.exe"
cp "$dir/sudoku.exe" "$work/older.exe"
unchanged() {  # what the upgrade $1 must have left as it was
  cmp -s "$dir/sudoku.exe" "$work/older.exe" || fail "$1 changed sudoku.exe"
  [ ! -e "$dir/sudoku.exe.new" ] || fail "$1 left sudoku.exe.new"
  [ "$(value HKLM DisplayVersion)" = "\"$old_version\"" ] || fail "$1 changed the entry to version $(value HKLM DisplayVersion)"
}
# ... while another program holds the game's file open: nothing changes, and the installer says so.
hold "$dir/sudoku.exe"
status=$(run "$installer" /S /AllUsers)
release
[ "$status" = 6 ] || fail "installing while sudoku.exe is held open: exit code $status, not 6"
unchanged "installing while sudoku.exe is held open"
echo "upgrade while another program holds sudoku.exe open: exit code 6, nothing changed"
# ... while the older game runs and does not answer: nothing changes, and the installer says so.
start_game "$dir/sudoku.exe"
kill -STOP "$running"
status=$(run "$installer" /S /AllUsers)
kill -CONT "$running"
[ "$status" = 4 ] || fail "installing over a game that does not answer: exit code $status, not 4"
unchanged "installing over a game that does not answer"
echo "upgrade while the older game does not answer: exit code 4, nothing changed"
# ... while it runs: it is closed, and the upgrade is whole.
status=$(run "$installer" /S /AllUsers)
[ "$status" = 0 ] || fail "upgrading while the game runs: exit code $status"
ended || fail "upgrading did not close the running game"
installed "${all_users[@]}" "$version"
[ -z "$(value HKLM URLInfoAbout)" ] || fail "the upgrade left the older entry's URLInfoAbout $(value HKLM URLInfoAbout)"
echo "upgrade from $old_version while it runs: the game closed, sudoku.exe and the entry replaced"

# A game that holds its mutex some seconds before its window shows: asked to close again and again.
(cd "$work" && SUDOKU_LATE_WINDOW=3000 exec $wine64 "$helper") >/dev/null 2>&1 &
running=$!
held $running "taking the mutex"
status=$(run "$installer" /S /AllUsers)
[ "$status" = 0 ] || fail "installing while the game's window shows late: exit code $status, not 0"
ended || fail "installing did not close the game whose window showed late"
echo "a game whose window showed 3 s late: closed, installed"

# A second copy for the current user is refused while the one for all users is there.
status=$(run "$installer" /S /CurrentUser)
[ "$status" = 5 ] || fail "installing for the current user beside the copy for all users: exit code $status, not 5"
[ -z "$(entry HKCU)" ] && [ ! -e "${current_user[2]}" ] ||
  fail "installing for the current user beside the copy for all users left: $(ls -d "${current_user[2]}" 2>/dev/null) $(entry HKCU)"
echo "a second copy for the current user refused: exit code 5, nothing installed"

# With a window, the same: «Нет» to removing the copy for all users goes back to choosing the
# mode, where the player picks all users and upgrades that copy.
[ "$(run "$old_installer" /S /AllUsers)" = 0 ] || fail "the older installer failed"
setup_window() {  # the installer's window (or its message box) that shows first, within 10 s
  timeout 10 xdotool search --sync --onlyvisible --name 'Setup' | head -1
}
wine "$installer" /CurrentUser >/dev/null 2>&1 &
setup=$!
wizard=$(setup_window) || fail "the installer showed no window"
xdotool windowfocus --sync "$wizard" key Return  # Welcome: Next
sleep 1
xdotool key Return  # the licence: I Agree
sleep 1
xdotool key Return  # for the current user: Next
box=
for _ in $(seq 100); do
  box=$(xdotool search --onlyvisible --name 'Setup' | grep -vx "$wizard" | head -1) && break
  sleep 0.1
done
[ -n "$box" ] || fail "no question about the copy for all users"
xdotool windowfocus --sync "$box" key n  # «Нет»
sleep 2
kill -0 $setup 2>/dev/null || { wait $setup || status=$?; fail "«Нет» ended the installer (exit code ${status:-0})"; }
[ -z "$(entry HKCU)" ] || fail "«Нет» installed for the current user"
# «для всех» found as what it is, not where the fonts put it: the page's first choice, its second
# control (nsDialogs numbers a page's controls from 1200), whatever the language of the texts.
SUDOKU_CLICK="#1201" $wine64 "$helper" || fail "no choice «для всех» in the installer's window"
for _ in $(seq 20); do  # Next, Install, as long as it takes
  [ "$(value HKLM DisplayVersion)" = "\"$version\"" ] && break
  xdotool windowfocus "$wizard" key Return 2>/dev/null || true
  sleep 1
done
kill $setup 2>/dev/null || true
wait $setup 2>/dev/null || true
wine taskkill /F /IM sudoku.exe >/dev/null 2>&1 || true  # if a last Return chose Finish, which starts it
installed "${all_users[@]}" "$version"
[ -z "$(entry HKCU)" ] || fail "the windowed installer made an entry for the current user"
echo "with a window: «Нет» went back to choosing the mode; the copy for all users upgraded"

# With a window, while the game runs: «Повтор» once it is closed goes on to the first page.
start_game "$dir/sudoku.exe"
wine "$installer" >/dev/null 2>&1 &
setup=$!
box=$(setup_window) || fail "the installer said nothing of the running game"
kill "$running" && ended || fail "the game did not end"
xdotool windowfocus --sync "$box" key Return  # «Повтор»
sleep 2
kill -0 $setup 2>/dev/null || { wait $setup || status=$?; fail "«Повтор» ended the installer (exit code ${status:-0})"; }
kill $setup
wait $setup 2>/dev/null || true
echo "with a window: «Повтор» after the game closed went on"

# Uninstalling while another program holds the game's file open: nothing goes, and the entry's
# quiet uninstall command says so.
hold "$dir/sudoku.exe"
status=$(quiet_uninstall HKLM)
release
[ "$status" = 6 ] || fail "uninstalling while sudoku.exe is held open: exit code $status, not 6"
installed "${all_users[@]}" "$version"
echo "uninstall while another program holds sudoku.exe open: exit code 6, nothing removed"

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
# Windows 7 without its service pack (build 7600), as wine reads it from the registry.
nt='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
nt_value() { wine reg query "$nt" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_SZ *//p"; }
[ "$(nt_value CurrentVersion)" = 6.1 ] || fail "the prefix is not Windows 7 but $(nt_value CurrentVersion)"
build_before=$(nt_value CurrentBuildNumber) sp_before=$(nt_value CSDVersion)
wine reg add "$nt" /v CurrentBuildNumber /t REG_SZ /d 7600 /f >/dev/null 2>&1
wine reg add "$nt" /v CSDVersion /t REG_SZ /d '' /f >/dev/null 2>&1
status=$(run "$installer" /S /AllUsers)
wine reg add "$nt" /v CurrentBuildNumber /t REG_SZ /d "$build_before" /f >/dev/null 2>&1
wine reg add "$nt" /v CSDVersion /t REG_SZ /d "$sp_before" /f >/dev/null 2>&1
[ "$status" = 3 ] || fail "on Windows 7 without SP1: exit code $status, not 3"
[ ! -e "$dir" ] && [ -z "$(entry HKLM)" ] || fail "on Windows 7 without SP1 the installer left: $(ls -d "$dir" 2>/dev/null) $(entry HKLM)"
echo "Windows 7 without SP1 refused: exit code 3"
[ ${#nsis_target[@]} -eq 0 ] ||
  echo "NOTE: all of the above tested the 64-bit build of the installer, as this machine runs no 32-bit programs"
