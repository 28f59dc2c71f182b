#!/usr/bin/env bash
# Sets up, builds and runs every test: once in a normal build with warnings as errors, once
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --fuzz
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export CTEST_OUTPUT_ON_FAILURE=1
# Every build here starts from nothing on a fresh clone: ccache would only add its own work (about
# a third more on an empty cache), so it stays out; a rerun in the same checkout rebuilds only
# what changed.
export CCACHE_DISABLE=1
# Both builds compile the sources of each library and test program in batches of 8 as one
# (unity build): the headers are parsed once per batch instead of once per file, which takes a
# third off each build. Names in unnamed namespaces must therefore differ within a library.
unity=(-DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=8)
# Every step reports its wall time and the processor time it took.
TIMEFORMAT='   ... %R s (user %U s, sys %S s)'

echo "== Build and test (warnings as errors)"
# Optimised as the program ships, without debug information: the sanitizer build below keeps it
# for stack traces, and leaving it out here saves about a third of the compile time.
cmake -S . -B build/check -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DDORVAN_WERROR=ON -DDORVAN_BUILD_BENCH=ON "${unity[@]}"
time cmake --build build/check -j "$jobs"
time ctest --test-dir build/check -j "$jobs" --timeout 300

echo "== Build and test under AddressSanitizer + UndefinedBehaviorSanitizer"
# At -O0 with line tables only (enough for the sanitizers' stack traces): -O1 with full debug
# information took more than twice the compile time.
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g1" \
  -DDORVAN_WERROR=ON -DDORVAN_SANITIZE=ON "${unity[@]}"
time cmake --build build/sanitize -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
time ctest --test-dir build/sanitize -j "$jobs" --timeout 600

echo "== Fuzz the project reader (60 s), the JPEG decoder, the map-picture reader and the distance-matrix reader (20 s each) with clang, libFuzzer, ASan + UBSan"
# The fuzz targets need only the file readers; the seed corpora also run in both builds above.
CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDORVAN_BUILD_FUZZ=ON \
  -DDORVAN_BUILD_TESTS=OFF
time cmake --build build/fuzz -j "$jobs" --target fuzz_project_reader fuzz_jpeg_decoder fuzz_map_picture \
  fuzz_distance_matrix
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
fuzz() { # target seconds seed-folder
  mkdir -p "$corpus/$1"
  cp "$3"/* "$corpus/$1"/
  if ! "build/fuzz/fuzz/$1" -max_total_time="$2" -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix=build/fuzz/ "$corpus/$1" >"$corpus/$1.log" 2>&1; then
    tail -n 40 "$corpus/$1.log"
    echo "$1 failed; the input that failed is in build/fuzz/"
    return 1
  fi
  echo "$1:"
  tail -n 3 "$corpus/$1.log"
}
# One libFuzzer process uses one core: the project reader on one, the other three readers one
# after the other on the other, each for its full time.
fuzz_all() {
  fuzz fuzz_project_reader 60 fuzz/corpus/project &
  local project=$!
  local status=0
  fuzz fuzz_jpeg_decoder 20 fuzz/corpus/jpeg || status=1
  fuzz fuzz_map_picture 20 fuzz/corpus/map || status=1
  fuzz fuzz_distance_matrix 20 fuzz/corpus/matrix || status=1
  wait "$project" || status=1
  return "$status"
}
time fuzz_all

echo "All tests passed."
