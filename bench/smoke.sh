#!/usr/bin/env bash
# A smoke run of one benchmark executable, not a measurement: each benchmark runs once (or its
# fixed iterations) with its smallest arguments (those of the least sum), so that a benchmark
# that crashes, asserts or throws fails the test run. CTest runs it in builds with benchmarks.
#   bench/smoke.sh <benchmark executable>
set -euo pipefail
exe="$1"

# One name per benchmark: the instance whose numeric arguments sum least ("BM_Paint/0/1").
names=$("$exe" --benchmark_list_tests=true | awk -F/ '
{
    size = 0
    for (i = 2; i <= NF; ++i) if ($i ~ /^-?[0-9]+$/) size += $i
    if (!($1 in best) || size < best[$1]) { best[$1] = size; pick[$1] = $0 }
}
END { for (f in pick) print pick[f] }')
[ -n "$names" ] || { echo "$exe lists no benchmark"; exit 1; }

filter=$(printf '%s\n' "$names" | sed 's/[][\.*^$+?(){}|]/\\&/g' | paste -sd '|')
# Google Benchmark 1.7 takes the minimum time as seconds; one iteration outlasts this one.
exec "$exe" "--benchmark_filter=^($filter)\$" --benchmark_min_time=0.000001
