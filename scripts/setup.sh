#!/usr/bin/env bash
# Installs what building, playing and testing need, on Debian 12, when it is missing.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
  g++ clang cmake ninja-build pkg-config
  qt6-base-dev libfontconfig-dev libgtest-dev libgmock-dev libbenchmark-dev
  fonts-crosextra-carlito
  xvfb xauth xdotool imagemagick x11-utils libx11-dev libxcb1-dev
  desktop-file-utils appstream dpkg-dev file python3 x11-xkb-utils librsvg2-bin lintian
  # The accessibility bus and a client of it, for the screen-reader test.
  dbus dbus-daemon at-spi2-core python3-pyatspi gir1.2-atspi-2.0
  # A real screen reader speaking into nothing, for the test that listens to it.
  orca speech-dispatcher speech-dispatcher-espeak-ng speech-dispatcher-audio-plugins espeak-ng libao4
  # Wayland: the toolkit's platform plugin, and a headless compositor for its test.
  qt6-wayland weston
  # The Windows builds (64- and 32-bit): MinGW-w64, GoogleTest's sources, the installer, and
  # wine, both halves (the 32-bit one from the i386 architecture), with the X libraries its
  # display driver loads, which are only recommended.
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest nsis unzip wine wine64 wine32:i386
  libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxinerama1 libxfixes3 libxxf86vm1
  # The web page: emscripten builds it, fontTools cuts its font; a headless Chromium driven by
  # selenium tests it.
  emscripten python3-fonttools chromium chromium-driver python3-selenium
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  sudo=sudo
else
  sudo=
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# wine32:i386 comes from the i386 architecture, which apt then lists too.
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
