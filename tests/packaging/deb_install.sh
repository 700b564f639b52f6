#!/usr/bin/env bash
# Builds the Debian package, installs it with apt-get, finds the menu entry,
# metadata and icons in their standard places, starts the installed game on its
# own Xvfb and sees its window, then removes the package again, also on failure.
# Needs root; exits 77 (skipped) without it.
set -euo pipefail
build=$1 id=$2
shift 2
sizes=("$@")
package=sudoku-game

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIPPED: installing a package needs root (CI runs as root)"
  exit 77
fi
# One run at a time on this machine, whichever checkout it comes from.
exec 9>/tmp/sudoku-deb-install-test.lock
flock -w 600 9
if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
  echo "SKIPPED: $package is installed already; this test leaves that installation alone"
  exit 77
fi
if [ -e /usr/games/sudoku ]; then
  echo "SKIPPED: /usr/games/sudoku exists outside the package; this test leaves it alone"
  exit 77
fi

work=$(mktemp -d)
chmod 755 "$work"  # apt's download user reads the package from here
installed=0 xvfb= game=
cleanup() {
  set +e
  [ -n "$game" ] && kill "$game" 2>/dev/null && wait "$game" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  if [ "$installed" = 1 ]; then
    apt-get remove -y -qq -o DPkg::Lock::Timeout=120 "$package" >/dev/null 2>&1 || dpkg -r "$package" >/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

echo "--- cpack"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail cpack; }
debs=("$work"/${package}_*.deb)
[ -f "${debs[0]}" ] || fail "no package in $work"
deb=${debs[0]}
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
field() { dpkg-deb -f "$deb" "$1"; }
echo "Depends: $(field Depends)"
field Depends | grep -q 'libqt6widgets6' || fail "Depends lacks the Qt libraries (dpkg-shlibdeps)"
[ "$(field Recommends)" = "fonts-crosextra-carlito, qt6-wayland" ] || fail "Recommends: $(field Recommends)"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"

echo "--- apt-get install"
installed=1
apt-get install -y -qq -o DPkg::Lock::Timeout=120 "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get install"; }
dpkg-query -W -f='${Status}\n' "$package" | grep -q 'ok installed' || fail "dpkg does not list $package"
[ -x /usr/games/sudoku ] || fail "/usr/games/sudoku missing"
# On a user's PATH, as the menu entry starts it (Debian's PATH for users holds /usr/games).
[ "$(PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games command -v sudoku)" = /usr/games/sudoku ] ||
  fail "sudoku is not the one on a user's PATH"
paths=(/usr/share/applications/$id.desktop /usr/share/metainfo/$id.metainfo.xml
  /usr/share/icons/hicolor/scalable/apps/$id.svg /usr/share/doc/$package/copyright
  /usr/share/doc/$package/changelog.gz /usr/share/man/man6/sudoku.6.gz /usr/share/man/ru/man6/sudoku.6.gz)
for s in "${sizes[@]}"; do paths+=("/usr/share/icons/hicolor/${s}x${s}/apps/$id.png"); done
for p in "${paths[@]}"; do
  [ -s "$p" ] || fail "$p missing"
  dpkg -S "$p" >/dev/null || fail "$p not owned by the package"
done
echo "installed: /usr/games/sudoku and ${#paths[@]} desktop files and documents"
grep -qx 'Exec=sudoku' "/usr/share/applications/$id.desktop" || fail "menu entry does not start sudoku"

echo "--- start the installed game"
mkdir -m 700 "$work/run"  # its own runtime folder: another running copy elsewhere does not stop it
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n1 "$work/display")
XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=xcb /usr/games/sudoku >"$work/game.log" 2>&1 &
game=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Судоку$' | head -n1) ||
  fail "no window named Судоку: $(cat "$work/game.log")"
echo "window $window: $(xwininfo -id "$window" | grep -E 'Width|Height' | tr -s ' \n' ' ')"
xprop -id "$window" WM_CLASS | grep -q '"sudoku"' || fail "WM_CLASS $(xprop -id "$window" WM_CLASS) does not match StartupWMClass"
icons=$(xprop -id "$window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | sort -u | tr '\n' ' ')
echo "window icon images: $icons"
for s in 16 24 48; do [[ $icons == *"($s x $s)"* ]] || fail "window icon has no $s px image"; done
kill "$game"
wait "$game" 2>/dev/null || true
game=

echo "--- apt-get remove"
apt-get remove -y -qq -o DPkg::Lock::Timeout=120 "$package" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get remove"; }
installed=0
[ ! -e /usr/games/sudoku ] || fail "/usr/games/sudoku left behind"
for p in "${paths[@]}"; do [ ! -e "$p" ] || fail "$p left behind"; done
echo "package built, installed, started and removed"
