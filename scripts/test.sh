#!/usr/bin/env bash
# Runs every test: the normal build's tests (GUI tests under Xvfb), the
# same tests built with AddressSanitizer + UndefinedBehaviorSanitizer, and a
# bounded run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

echo "== build and test =="
scripts/setup.sh build
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== sanitizer build and test =="
scripts/setup.sh build-asan -DKV_SANITIZE=ON -DKV_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE nosan

echo "== fuzzing =="
scripts/setup.sh build-fuzz -DKV_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
scripts/fuzz.sh build-fuzz "${FUZZ_SECONDS:-30}"
