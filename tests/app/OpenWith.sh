#!/bin/sh
# Installs the build in $1 into a folder of its own and asks the desktop's tools what opens a PGN
# file there: Tavrel's entry, with its program and icon in place. Skips (77) without xdg-utils
# and desktop-file-utils.
set -eu
for tool in xdg-mime update-desktop-database; do command -v "$tool" >/dev/null || exit 77; done
prefix=$(mktemp -d /tmp/tavrel-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
for file in bin/tavrel bin/tavrel-check share/doc/tavrel/README.md share/icons/hicolor/scalable/apps/tavrel.svg \
            share/icons/hicolor/48x48/apps/tavrel.png share/applications/tavrel.desktop; do
  [ -f "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
update-desktop-database "$prefix/share/applications"
export XDG_DATA_HOME="$prefix/share" XDG_DATA_DIRS="$prefix/share" XDG_CONFIG_HOME="$prefix/config"
for type in application/x-chess-pgn application/vnd.chess-pgn application/zstd application/gzip application/zip; do
  answer=$(xdg-mime query default "$type")
  [ "$answer" = tavrel.desktop ] || { echo "$type is opened by '$answer'"; exit 1; }
done
