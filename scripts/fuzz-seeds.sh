#!/usr/bin/env bash
# Seed corpora for the fuzz targets from a folder of PGN files: every game as a file of its own
# (and the small files whole) for the scan and the reader, every move text for the matcher.
#   scripts/fuzz-seeds.sh PGN_FOLDER OUT_FOLDER
set -euo pipefail
src=$1
out=$2
rm -rf "$out"
mkdir -p "$out/pgn" "$out/san"
[ -d "$src" ] || { echo "no seeds: $src is absent; the fuzzers start from nothing"; exit 0; }
files=$(find "$src" -name '*.pgn' | sort)
for f in $files; do
  base=$(basename "$f" .pgn)
  [ "$(stat -c %s "$f")" -le 65536 ] && cp "$f" "$out/pgn/$base-whole.pgn"
  awk -v dir="$out/pgn" -v base="$base" '
    /^\[[Ee][Vv][Ee][Nn][Tt] / { if (out) close(out); n++; out = dir "/" base "-" n ".pgn" }
    { if (n > 0 && n <= 200) print > out }
  ' "$f"
done
# Move texts as written, each after two bytes that pick a position.
cat $files | grep -v '^\[' | tr -s ' \t\r' '\n' | grep -E '^[a-hKQRBNOo0-]' | sort -u |
  awk -v dir="$out/san" 'NR <= 3000 { printf "%c%c%s", 65 + NR % 26, 65 + int(NR / 26) % 26, $0 > (dir "/" NR) ; close(dir "/" NR) }'
echo "seeds: $(ls "$out/pgn" | wc -l) PGN files, $(ls "$out/san" | wc -l) move texts"
