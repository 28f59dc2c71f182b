#!/usr/bin/env bash
# Sets up, builds and runs every test: once in a normal build with warnings as errors, once
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --fuzz
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export CTEST_OUTPUT_ON_FAILURE=1

echo "== Build and test (warnings as errors)"
# Optimised as the program ships, without debug information: the sanitizer build below keeps it
# for stack traces, and leaving it out here saves about a third of the compile time.
cmake -S . -B build/check -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DDORVAN_WERROR=ON -DDORVAN_BUILD_BENCH=ON
cmake --build build/check -j "$jobs"
ctest --test-dir build/check -j "$jobs" --timeout 300

echo "== Build and test under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDORVAN_WERROR=ON -DDORVAN_SANITIZE=ON
cmake --build build/sanitize -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/sanitize -j "$jobs" --timeout 600

echo "== Fuzz the project reader (60 s), the JPEG decoder and the map-picture reader (20 s each) with clang, libFuzzer, ASan + UBSan"
CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDORVAN_BUILD_FUZZ=ON \
  -DDORVAN_BUILD_TESTS=OFF
cmake --build build/fuzz -j "$jobs" --target fuzz_project_reader fuzz_jpeg_decoder fuzz_map_picture
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
fuzz() { # target seconds seed-folder
  mkdir -p "$corpus/$1"
  cp "$3"/* "$corpus/$1"/
  "build/fuzz/fuzz/$1" -max_total_time="$2" -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix=build/fuzz/ "$corpus/$1" 2>&1 | tail -n 3
}
fuzz fuzz_project_reader 60 fuzz/corpus/project
fuzz fuzz_jpeg_decoder 20 fuzz/corpus/jpeg
fuzz fuzz_map_picture 20 fuzz/corpus/map

echo "All tests passed."
