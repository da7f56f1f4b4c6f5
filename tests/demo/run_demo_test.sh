#!/usr/bin/env bash
# The README's main-job command end to end, without a display: it must
# write the demo player, run the viewer on Xvfb, accept the start-up dialog
# and leave a screenshot in which the soldier stands in the window, and a
# complete log.htm without errors.
#   run_demo_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

env -u DISPLAY KV_BUILD_DIR="$build_dir" KV_DEMO_DIR="$work" DEMO_SECONDS=3 \
  bash "$source_dir/scripts/run-demo.sh" >"$work/run.txt" 2>&1 || { cat "$work/run.txt"; exit 1; }

fail() { echo "FAIL: $*"; cat "$work/run.txt"; exit 1; }
[ -f "$work/models/players/infantryss/body.mds" ] || fail "no demo player written"
[ -f "$work/demo.png" ] || fail "no screenshot"
[ -f "$work/log.htm" ] || fail "no log.htm"
grep -q "ERROR" "$work/log.htm" && fail "log.htm reports errors"
[ "$(tail -c 7 "$work/log.htm")" = "</html>" ] || fail "log.htm has no footer"

# The window's client area starts at (150, 150) on the bare Xvfb screen and
# is 500 × 500; the soldier stands in its middle. Count the pixels of the
# middle third that are neither white background nor black screen.
coloured=$(convert "$work/demo.png" -crop 160x300+320+250 +repage -fx \
  '(r>0.92&&g>0.92&&b>0.92)||(r<0.05&&g<0.05&&b<0.05)?0:1' -format '%[fx:mean]' info:)
awk -v m="$coloured" 'BEGIN { exit !(m > 0.3) }' || fail "soldier not seen (coloured share $coloured)"
echo "ok: coloured share $coloured"
