#!/usr/bin/env bash
# Runs every test: the normal build's tests (GUI tests under Xvfb), the
# portable tests built with AddressSanitizer + UndefinedBehaviorSanitizer,
# and a bounded run of every fuzz target. With KV_WINDOWS=1 also the
# Windows cross-build and its tests under Wine (it installs MinGW-w64 and
# Wine and takes about ten minutes more).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

echo "== build and test =="
scripts/setup.sh build
ctest --test-dir build --output-on-failure -j"$jobs"

if [ "${KV_WINDOWS:-0}" = 1 ]; then
  echo "== windows cross-build =="
  # MinGW-w64 builds for 64- and 32-bit Windows; the 64-bit one is tested
  # under wine64 (unit tests, mdstree.exe against mdstree, tessaly.exe on Xvfb).
  scripts/cross-windows.sh all
fi

echo "== sanitizer build and test =="
# The GUI tests ran above; under the sanitizers the portable code runs, and
# the windowed programs were checked under valgrind (tests/faults).
scripts/setup.sh build-asan -DKV_SANITIZE=ON -DKV_BENCH=OFF -DKV_GUI=OFF -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE nosan

echo "== fuzzing =="
scripts/setup.sh build-fuzz -DKV_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
scripts/fuzz.sh build-fuzz "${FUZZ_SECONDS:-30}"
