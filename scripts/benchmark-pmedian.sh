#!/usr/bin/env bash
# The p-median engine of dorvan-cli against the published yardstick: TSPLIB's p654 (654 points,
# unit weights, exact Euclidean distances) and the best-known totals for P = 2..15, 20, ..., 50.
# Prints a table of P, our total, the best known, the excess in % and the seconds of each solve
# (the default time limit of 10 s, 2 threads, seed 1).
#
#   scripts/benchmark-pmedian.sh [BENCHMARK_FOLDER] [--large]
#
# BENCHMARK_FOLDER holds p654.tsp and best_known_p654.csv (default: ../shared/benchmarks beside
# the repository). --large also solves 100,000 places with P = 100 and 1,000,000 places with
# P = 10 (generated, uniform, weights 1..10, 60 s limit each) and prints their time and peak
# memory. TIME, THREADS and SEED override the limit, the threads and the seed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
folder="$root/../shared/benchmarks"
large=no
for arg in "$@"; do
    case "$arg" in
    --large) large=yes ;;
    *) folder="$arg" ;;
    esac
done
if [[ ! -f "$folder/p654.tsp" || ! -f "$folder/best_known_p654.csv" ]]; then
    echo "benchmark-pmedian.sh: no p654.tsp and best_known_p654.csv in $folder" >&2
    exit 2
fi
build="${BUILD_DIR:-$root/build/bench}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDORVAN_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target pmedian_bench >/dev/null
bench="$build/bench/pmedian_bench"
options=(--time "${TIME:-10}" --threads "${THREADS:-2}" --seed "${SEED:-1}")

echo "p654 on $(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'))"
"$bench" tsp "$folder/p654.tsp" "$folder/best_known_p654.csv" "${options[@]}"

if [[ "$large" == yes ]]; then
    for case in "100000 100" "1000000 10"; do
        read -r n p <<<"$case"
        echo
        log=$(mktemp)
        /usr/bin/time -v "$bench" random "$n" "$p" --time 60 --threads "${THREADS:-2}" --seed "${SEED:-1}" 2>"$log"
        grep -E "Elapsed \(wall clock\)|Maximum resident set size" "$log" | sed 's/^\t*/  /'
        rm -f "$log"
    done
fi
