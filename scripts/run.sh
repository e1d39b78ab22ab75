#!/usr/bin/env bash
# Installs what is missing, builds Tavrel, and opens the bundled sample games (or FILE.pgn).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=${TAVREL_BUILD_DIR:-build/release}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DTAVREL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
file=${1:-samples/famous-games.pgn}
if [ -x "$build/app/tavrel" ]; then
  exec "$build/app/tavrel" "$file"
fi
exec "$build/tools/tavrel-check" "$file"
