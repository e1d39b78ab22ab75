#!/usr/bin/env bash
# Concatenates the real PGN files (standard-position games) to about 1 GiB: bench/make-large-file.sh OUT [MiB]
set -euo pipefail
out=${1:-/tmp/tavrel-large.pgn}
mib=${2:-1024}
src=$(cd "$(dirname "$0")/../../shared/pgn" 2>/dev/null && pwd) || { echo "no ../shared/pgn" >&2; exit 1; }
seed=$(mktemp)
cat "$src"/immortal_games.pgn "$src"/kramnik.pgn "$src"/moscow64.pgn "$src"/polgar.pgn > "$seed"
: > "$out"
while [ "$(stat -c %s "$out")" -lt $((mib * 1024 * 1024)) ]; do cat "$seed" >> "$out"; done
rm -f "$seed"
ls -l "$out"
