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
  # Limits tight enough that work out of proportion to an input is a
  # finding: the seeds include files up to a few hundred KB whose shared
  # lists once cost gigabytes and minutes. A single allocation may not pass
  # 64 MB, except the texture decoder's pixels (8192 x 8192 x 4 at most).
  malloc_mb=64; rss_mb=1024
  if [ "$name" = fuzz_texture ]; then malloc_mb=300; rss_mb=2048; fi
  echo "-- $name for ${seconds}s (timeout 3 s, rss ${rss_mb} MB, malloc ${malloc_mb} MB)"
  if ! "$target" -max_total_time="$seconds" -timeout=3 -rss_limit_mb="$rss_mb" -malloc_limit_mb="$malloc_mb" \
        -print_final_stats=1 \
        -artifact_prefix="$build/" "$corpus" 2>"$build/$name.log"; then
    tail -50 "$build/$name.log"; status=1
  else
    grep -E "stat::number_of_executed_units|cov:" "$build/$name.log" | tail -2 || true
  fi
done
exit $status
