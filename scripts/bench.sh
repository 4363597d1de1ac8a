#!/usr/bin/env bash
# Engine speed: builds Release in build-bench/ and runs the Google Benchmark
# program (engine block form with the kernel the processor gets, each kernel
# build, engine per-frame form, plain reference kernel), then counts
# instructions per frame of each kernel under callgrind.
#   scripts/bench.sh              benchmark + instruction counts (Default settings)
#   scripts/bench.sh --quick      fewer repetitions, no callgrind
#   scripts/bench.sh --settings   instruction counts for every benchmark setting
# Extra arguments after -- go to the benchmark program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-bench"
quick=0
settings="0"
extra=()
while [ $# -gt 0 ]; do
  case "$1" in
    --quick) quick=1 ;;
    --settings) settings="0 1 2" ;;
    --) shift; extra=("$@"); break ;;
    *) extra+=("$1") ;;
  esac
  shift
done

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUILLMERE_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j2 --target engine_benchmark engine_instruction_count >/dev/null

repetitions=9
[ "$quick" = 1 ] && repetitions=3
# Repetitions interleave the kernels; compare the minimum of each.
csv="$build/engine_benchmark.csv"
"$build/benchmarks/engine/engine_benchmark" \
  --benchmark_repetitions="$repetitions" --benchmark_min_time=0.1 \
  --benchmark_enable_random_interleaving=true \
  --benchmark_out="$csv" --benchmark_out_format=csv "${extra[@]}" >/dev/null
echo "Minimum ns per stereo frame over $repetitions repetitions:"
awk -F, '/^"BM_/ && !/_mean"|_median"|_stddev"|_cv"/ {
       name=$1; gsub(/"/, "", name); sub(/\/repeats:[0-9]+/, "", name); v=$NF + 0;
       if (!(name in best) || v < best[name]) best[name]=v;
       if (!(name in seen)) { seen[name]=1; names[++n]=name } }
     END { for (i = 1; i <= n; ++i) printf "  %-45s %8.2f\n", names[i], best[names[i]] }' "$csv" | sort

if [ "$quick" = 1 ]; then exit 0; fi
if ! command -v valgrind >/dev/null; then echo "valgrind not installed: no instruction counts"; exit 0; fi
count() { # kernel frames rate setting
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$build/benchmarks/engine/engine_instruction_count" "$@" 2>&1 \
    | awk '/refs:/ { gsub(",", "", $NF); print $NF }'
}
frames=102400
# Valgrind does not emulate AVX-512, so under it "block" runs the AVX2 build.
echo "Callgrind instructions per frame (white noise; setting 0 Default, 1 long decay, 2 deepest"
echo "modulation; block = AVX2 build):"
for setting in $settings; do
  for rate in 44100 192000; do
    for kernel in reference frame block-sse2 block; do
      base=$(count "$kernel" 0 "$rate" "$setting")
      full=$(count "$kernel" "$frames" "$rate" "$setting")
      awk -v k="$kernel" -v r="$rate" -v s="$setting" -v a="$base" -v b="$full" -v n="$frames" \
        'BEGIN { printf "  setting %s  %-12s %6s Hz %8.1f\n", s, k, r, (b - a) / n }'
    done
  done
done
