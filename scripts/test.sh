#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors, and runs every test; then
# runs them all again built with AddressSanitizer and UBSan, and each fuzz target for a minute.
#   TAVREL_FUZZ_SECONDS=0 scripts/test.sh     skips the fuzz runs
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

build=${TAVREL_BUILD_DIR:-build/test}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVREL_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 600

# Any sanitizer report ends its test with a failure.
asan=${TAVREL_ASAN_BUILD_DIR:-build/asan}
cmake -S . -B "$asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVREL_WERROR=ON -DTAVREL_SANITIZE=ON \
  -DTAVREL_BUILD_BENCH=OFF >/dev/null
cmake --build "$asan" -j"$(nproc)"
ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir "$asan" --output-on-failure -j"$(nproc)" --timeout 900

seconds=${TAVREL_FUZZ_SECONDS:-60}
if [ "$seconds" != 0 ]; then
  scripts/fuzz.sh "$seconds"
fi
