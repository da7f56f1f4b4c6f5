#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time each, starting
# from the seed corpus the fixture writer makes. Fails on any finding.
#   scripts/fuzz.sh BUILD_DIR SECONDS_PER_TARGET
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-40}
shopt -s nullglob
status=0
for target in "$build"/bin/fuzz_*; do
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  if [ -x "$build/bin/mkseeds" ]; then "$build/bin/mkseeds" "$name" "$corpus"; fi
  echo "-- $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/" "$corpus" 2>"$build/$name.log"; then
    tail -50 "$build/$name.log"; status=1
  else
    grep -E "stat::number_of_executed_units|cov:" "$build/$name.log" | tail -2 || true
  fi
done
exit $status
