#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS (default 60), seeded from the real
# PGN files beside the project. Findings are saved under build/fuzz/findings/; the corpus grows
# in build/fuzz/corpus/ from run to run. Exits non-zero when any target finds a fault.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     targets: ScanFuzz ReadGameFuzz SanMatchFuzz PackedFuzz
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(ScanFuzz ReadGameFuzz SanMatchFuzz PackedFuzz)
build=${TAVREL_FUZZ_BUILD_DIR:-build/fuzz}
shared=${TAVREL_SHARED_PGN:-$(cd .. && pwd)/shared/pgn}

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVREL_FUZZ=ON \
  -DTAVREL_BUILD_UI=OFF -DTAVREL_BUILD_BENCH=OFF -DBUILD_TESTING=OFF -DTAVREL_WERROR=ON \
  -DTAVREL_SHARED_PGN="$shared" >/dev/null
cmake --build "$build" -j"$(nproc)" --target ScanFuzz ReadGameFuzz SanMatchFuzz PackedFuzz

seeds="$build/seeds"
scripts/fuzz-seeds.sh "$shared" "$seeds"

status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  findings="$build/findings/$target"
  mkdir -p "$corpus" "$findings"
  case $target in
    SanMatchFuzz) seed_dir="$seeds/san" ;;
    *) seed_dir="$seeds/pgn" ;;
  esac
  echo "== $target for ${seconds}s"
  if ! TAVREL_FUZZ_PGN="$shared" "$build/fuzz/$target" "$corpus" "$seed_dir" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -artifact_prefix="$findings/" -print_final_stats=1 2>"$build/$target.log"; then
    status=1
    echo "$target found a fault; see $build/$target.log and $findings/"
  fi
  grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)' \
    "$build/$target.log" || true
done
exit $status
