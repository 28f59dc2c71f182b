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
cmake -S . -B build/check -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDORVAN_WERROR=ON -DDORVAN_BUILD_BENCH=ON
cmake --build build/check -j "$jobs"
ctest --test-dir build/check -j "$jobs" --timeout 300

echo "== Build and test under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDORVAN_WERROR=ON -DDORVAN_SANITIZE=ON
cmake --build build/sanitize -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/sanitize -j "$jobs" --timeout 600

echo "== Fuzz the project reader for 60 seconds (clang, libFuzzer, ASan + UBSan)"
CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDORVAN_BUILD_FUZZ=ON \
  -DDORVAN_BUILD_TESTS=OFF
cmake --build build/fuzz -j "$jobs" --target fuzz_project_reader
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp fuzz/corpus/project/* "$corpus"/
build/fuzz/fuzz/fuzz_project_reader -max_total_time=60 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix=build/fuzz/ "$corpus" 2>&1 | tail -n 4

echo "All tests passed."
