#!/usr/bin/env bash
# Draws the kept PNG sizes of the program's icon from its SVG (rsvg-convert, Debian's
# librsvg2-bin). Run it after changing tavrel.svg and keep what it makes.
set -euo pipefail
cd "$(dirname "$0")"
for size in 32 48 64 128; do
  rsvg-convert -w "$size" -h "$size" tavrel.svg -o "tavrel-$size.png"
done
