#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build, starting from the seed corpus the
# fixture writer makes. Fails on any finding.
#   scripts/fuzz.sh BUILD_DIR SECONDS_PER_TARGET
#       explores: a new random seed each time, the corpus kept in
#       BUILD_DIR/corpus and grown from one run to the next.
#   FUZZ_SEED=N scripts/fuzz.sh BUILD_DIR
#       replays: seed N, a fresh corpus and a fixed number of runs per
#       target (about half a minute each on a 2-core machine), so the same
#       inputs are tried on every machine and a failure can be reproduced
#       with the same command. This is what the test script runs.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-40}
seed=${FUZZ_SEED:-}
shopt -s nullglob
status=0

# Runs that take about 30 s per target under the sanitizers here.
replay_runs() {
  case "$1" in
    fuzz_pk3) echo 2000000 ;;
    fuzz_anim) echo 800000 ;;
    fuzz_skin) echo 450000 ;;
    fuzz_texture) echo 250000 ;;
    fuzz_textures) echo 2500 ;;
    fuzz_browser) echo 70000 ;;
    fuzz_mdc) echo 100000 ;;
    fuzz_mds) echo 80000 ;;
    fuzz_check) echo 15000 ;;
    fuzz_agreement) echo 4000 ;;
    # Their seeds include the large generated shapes, each run slow under
    # the sanitizers: fewer runs keep the stage within its time.
    fuzz_mdm | fuzz_mdx) echo 2000 ;;
    *) echo 20000 ;;
  esac
}

for target in "$build"/bin/fuzz_*; do
  name=$(basename "$target")
  seeds="$build/seeds/$name"
  rm -rf "$seeds"
  mkdir -p "$seeds"
  if [ -x "$build/bin/mkseeds" ]; then "$build/bin/mkseeds" "$name" "$seeds"; fi
  # Limits tight enough that work out of proportion to an input is a
  # finding: the seeds include files up to a few hundred KB whose shared
  # lists once cost gigabytes and minutes. A single allocation may not pass
  # 64 MB, except the texture decoder's pixels (8192 x 8192 x 4 at most).
  malloc_mb=64; rss_mb=1024
  if [ "$name" = fuzz_texture ]; then malloc_mb=300; rss_mb=2048; fi
  limits=(-timeout=3 -rss_limit_mb="$rss_mb" -malloc_limit_mb="$malloc_mb")
  if [ -n "$seed" ]; then
    runs=$(replay_runs "$name")
    corpus=$(mktemp -d)
    how=(-seed="$seed" -runs="$runs")
    echo "-- $name: seed $seed, $runs runs (timeout 3 s, rss ${rss_mb} MB, malloc ${malloc_mb} MB)"
  else
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    how=(-max_total_time="$seconds")
    echo "-- $name for ${seconds}s (timeout 3 s, rss ${rss_mb} MB, malloc ${malloc_mb} MB)"
  fi
  if ! "$target" "${how[@]}" "${limits[@]}" -print_final_stats=1 -artifact_prefix="$build/" \
        "$corpus" "$seeds" 2>"$build/$name.log"; then
    tail -50 "$build/$name.log"; status=1
  else
    grep -E "stat::number_of_executed_units|cov:" "$build/$name.log" | tail -2 || true
  fi
  if [ -n "$seed" ]; then rm -rf "$corpus"; fi
done
exit $status
