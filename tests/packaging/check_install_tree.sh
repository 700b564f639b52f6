#!/usr/bin/env bash
# `cmake --install` into a scratch folder: exactly the expected files land in
# their standard places, the metadata, menu entry and icons name one another,
# and appstreamcli accepts the installed tree.
set -euo pipefail
build=$1 id=$2
shift 2
sizes=("$@")
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT

DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null

expected=(usr/games/sudoku usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/doc/sudoku-game/copyright
  usr/share/doc/sudoku-game/changelog.gz usr/share/man/man6/sudoku.6.gz usr/share/man/ru/man6/sudoku.6.gz)
for s in "${sizes[@]}"; do expected+=("usr/share/icons/hicolor/${s}x${s}/apps/$id.png"); done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$dest" && find . -type f -printf '%P\n' | sort) ||
  { echo "installed files differ from the expected list (< expected, > installed)"; exit 1; }
[ -x "$dest/usr/games/sudoku" ] || { echo "usr/games/sudoku is not executable"; exit 1; }
grep -qx "Icon=$id" "$dest/usr/share/applications/$id.desktop" || { echo "menu entry does not name icon $id"; exit 1; }
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$dest/usr/share/metainfo/$id.metainfo.xml" ||
  { echo "metadata does not launch $id.desktop"; exit 1; }

appstreamcli validate-tree --no-net "$dest"
echo "installed ${#expected[@]} files"
