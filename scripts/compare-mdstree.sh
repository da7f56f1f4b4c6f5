#!/usr/bin/env bash
# Runs the Linux mdstree and mdstree.exe under wine64 over the same fixture
# files (the sample from mkmodel, plus the browser's seed corpus when mkseeds
# is built) and fails unless output bytes and exit status are identical.
#   scripts/compare-mdstree.sh LINUX_BIN WINDOWS_BIN WORK_DIR
set -euo pipefail
linux=$(realpath "$1")
windows=$(realpath "$2")
work=$3
wine64=${WINE64:-/usr/lib/wine/wine64}
export WINEDEBUG=-all
rm -rf "$work"
mkdir -p "$work/files" "$work/out"
work=$(realpath "$work")

"$linux/mkmodel" "$work/files/sample.mds"
if [ -x "$linux/mkseeds" ]; then
  "$linux/mkseeds" fuzz_browser "$work/files" >/dev/null
fi

cd "$work/files"
checked=0
differ=0
for f in *; do
  for args in "" "--frames" "--frame 1"; do
    tag="$f${args:+.${args// /}}"
    set +e
    # shellcheck disable=SC2086
    "$linux/mdstree" $args "$f" >"$work/out/$tag.linux" 2>/dev/null
    linux_status=$?
    # shellcheck disable=SC2086
    "$wine64" "$windows/mdstree.exe" $args "$f" >"$work/out/$tag.windows" 2>/dev/null
    windows_status=$?
    set -e
    checked=$((checked + 1))
    if [ "$linux_status" != "$windows_status" ] || ! cmp -s "$work/out/$tag.linux" "$work/out/$tag.windows"; then
      echo "differs: mdstree $args $f (exit $linux_status on Linux, $windows_status on Windows)"
      diff <(od -c "$work/out/$tag.linux") <(od -c "$work/out/$tag.windows") | head -10 || true
      differ=$((differ + 1))
    fi
  done
done
echo "mdstree: $((checked - differ)) passed, $differ failed"
[ "$differ" -eq 0 ]
