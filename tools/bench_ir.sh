#!/bin/sh
# Instructions per call of one function under one benchmark, counted by callgrind (independent
# of machine load), over the calls made from CALLER (default: the benchmark's own function).
# Usage: tools/bench_ir.sh BENCH_BINARY BENCHMARK_NAME FUNCTION_SIGNATURE [CALLER]
#   tools/bench_ir.sh build/bench/calc_bench BM_CalculateAfterDp 'qmx::QMXcalc::Calculate(bool&)'
set -eu
bin=$1 bench=$2 func=$3 caller=${4:-$2}
out=$(mktemp /tmp/bench_ir.XXXXXX)
trap 'rm -f "$out"' EXIT
valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect="$func" \
  "$bin" --benchmark_filter="^$bench\$" --benchmark_min_time=0.05 >/dev/null 2>&1
# The benchmark body's calls of the function: inclusive instructions and call count.
callgrind_annotate --inclusive=yes --tree=caller "$out" 2>/dev/null |
  awk -v b="$caller(" -v name="$bench" 'index($0, "< ") && index($0, b) {
      gsub(",", "", $1); n = $0; sub(/.*\(/, "", n); sub(/x\).*/, "", n); gsub(",", "", n);
      printf "%s: %.0f instructions per call (%d calls)\n", name, $1 / n, n; found = 1; exit }
    END { if (!found) { print "no calls from the benchmark body found"; exit 1 } }'
