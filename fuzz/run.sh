#!/usr/bin/env bash
# Runs every fuzzer of a fuzz build for a bounded time, starting from the committed seed
# corpus. Any crash, sanitizer report or broken rule stops it with a non-zero status and
# leaves the input under <build>/fuzz/findings/.
#   fuzz/run.sh <build-dir>            (QUILLMERE_FUZZ_SECONDS per fuzzer, default 25)
# Reproduce a finding with: <build>/fuzz/fuzz_<target> <build>/fuzz/findings/<file>
set -euo pipefail
build=${1:?usage: fuzz/run.sh <fuzz build directory>}
seconds=${QUILLMERE_FUZZ_SECONDS:-25}
here=$(cd "$(dirname "$0")" && pwd)
findings="$build/fuzz/findings"
mkdir -p "$findings"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

status=0
for seeds in "$here"/corpus/*/; do
  target=$(basename "$seeds")
  binary="$build/fuzz/fuzz_$target"
  if [ ! -x "$binary" ]; then
    echo "missing fuzzer $binary" >&2
    status=1
    continue
  fi
  # New inputs go to a scratch corpus; the committed seeds stay as they are.
  work="$build/fuzz/work/$target"
  mkdir -p "$work"
  echo "== fuzz_$target for ${seconds}s"
  if ! "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
       -print_final_stats=1 -artifact_prefix="$findings/$target-" "$work" "$seeds" \
       >"$build/fuzz/$target.log" 2>&1; then
    tail -n 60 "$build/fuzz/$target.log" >&2
    echo "fuzz_$target FAILED; inputs in $findings" >&2
    status=1
  else
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$build/fuzz/$target.log" | tr '\n' ' '
    echo
  fi
done
exit $status
