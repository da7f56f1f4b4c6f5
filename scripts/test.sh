#!/usr/bin/env bash
# Runs every test: the normal build's tests (GUI tests under Xvfb) and its
# Debian package installed and checked, then one
# clang build with AddressSanitizer + UndefinedBehaviorSanitizer that runs
# the portable tests and a bounded run of every fuzz target, and the Windows
# cross-build with its tests under Wine (it installs MinGW-w64 and Wine;
# KV_WINDOWS=0 leaves this stage out).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
# Each stage ends with the minutes and seconds it took.
stage_start=$SECONDS
stage_done() {
  echo "-- $1 took $(((SECONDS - stage_start) / 60))m$(((SECONDS - stage_start) % 60))s"
  stage_start=$SECONDS
}

echo "== build and test =="
scripts/setup.sh build
# The glTF validator for the exporter's test (Node and a pinned npm package).
scripts/gltf-validator.sh build
ctest --test-dir build --output-on-failure -j"$jobs"
stage_done "build and test"

echo "== Debian package =="
# The package of the normal build, installed on this machine, the installed
# programs checked (korvane-render headless, manual pages, the thumbnailer),
# and removed again so no later stage picks up installed programs.
(cd build && rm -f korvane_*.deb && cpack -G DEB >/dev/null)
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq ./build/korvane_*.deb
status=0
scripts/check-package.sh || status=$?
DEBIAN_FRONTEND=noninteractive $SUDO apt-get remove -y -qq korvane
[ "$status" = 0 ]
stage_done "Debian package"

if [ "${KV_WINDOWS:-1}" = 1 ]; then
  echo "== windows cross-build =="
  # MinGW-w64 builds for 64- and 32-bit Windows; the 64-bit one is tested
  # under wine64 (unit tests, mdstree.exe against mdstree, tessaly.exe and
  # korvane.exe on Xvfb).
  scripts/cross-windows.sh all
  stage_done "windows cross-build"
fi

echo "== sanitizer build: tests and fuzzing =="
# One clang build with AddressSanitizer + UndefinedBehaviorSanitizer runs the
# portable tests (the GUI tests ran above; the windowed programs were checked
# under valgrind, see tests/faults) and then every fuzz target from the seeds
# the fixture writers make: a fixed seed and number of runs, so every machine
# tries the same inputs (FUZZ_SECONDS=N explores for N seconds per target
# with a random seed instead).
scripts/setup.sh build-fuzz -DKV_FUZZ=ON -DKV_SANITIZE=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-fuzz --output-on-failure -j"$jobs" -LE nosan
if [ -n "${FUZZ_SECONDS:-}" ]; then
  scripts/fuzz.sh build-fuzz "$FUZZ_SECONDS"
else
  FUZZ_SEED=${FUZZ_SEED:-1} scripts/fuzz.sh build-fuzz
fi
stage_done "sanitizer build, tests and fuzzing"
