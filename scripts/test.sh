#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the release build, then the
# AddressSanitizer+UndefinedBehaviorSanitizer and ThreadSanitizer builds of the suite,
# then the fuzzers for a bounded time. Longer runs: QUILLMERE_SOAK_SECONDS (audio seconds
# of the soak, default 3600 in the release build, 600 with ASan, 90 with TSan) and
# QUILLMERE_FUZZ_SECONDS (per fuzzer, default 25).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=2
build_and_test () {
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 600)
}

echo "== release build"
build_and_test build
echo "== address and undefined-behaviour sanitizer build"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  build_and_test build-asan -DQUILLMERE_SANITIZE=address -DQUILLMERE_BENCHMARKS=OFF
echo "== thread sanitizer build"
TSAN_OPTIONS=halt_on_error=1 \
  build_and_test build-tsan -DQUILLMERE_SANITIZE=thread -DQUILLMERE_BENCHMARKS=OFF
echo "== fuzzers (clang, libFuzzer with address and undefined-behaviour sanitizers)"
# Only the fuzz targets are built here; each runs QUILLMERE_FUZZ_SECONDS (default 25).
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Release -DQUILLMERE_FUZZ=ON \
  -DQUILLMERE_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target quillmere_fuzzers
fuzz/run.sh build-fuzz
