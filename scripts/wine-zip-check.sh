#!/usr/bin/env bash
# Unzips the release archive into a fresh folder with a fresh Wine prefix
# and runs the README's Windows commands there, as a user would: every line
# of the first ```bat block of the README's "## Windows" section runs as a
# batch file of Wine's cmd.exe (so quotes and %VARIABLES% are cmd's) from
# the unzipped folder and must end with status 0; the
# files they write must be there afterwards. Needs an X display
# (korvane-render.exe draws through Wine's WGL): run under xvfb-run.
#   scripts/wine-zip-check.sh ZIP WORK_DIR
set -euo pipefail
readme=$(cd "$(dirname "$0")/.." && pwd)/README.md
zip=$(realpath "$1")
work=$2
wine64=${WINE64:-/usr/lib/wine/wine64}
export WINEDEBUG=-all
rm -rf "$work"
mkdir -p "$work"
work=$(realpath "$work")
export WINEPREFIX=$work/prefix
"$wine64" wineboot -i >/dev/null 2>&1 || true
(cd "$work" && unzip -q "$zip")
dir=$work/$(basename "$zip" .zip)
[ -d "$dir" ] || { echo "the archive has no folder $(basename "$dir")" >&2; exit 1; }
for f in README.txt licenses man demo/models/players/infantryss/body.mds; do
  [ -e "$dir/$f" ] || { echo "the archive lacks $f" >&2; exit 1; }
done

commands=$(awk '/^## Windows/ { section = 1; next } /^## / { section = 0 }
  section && /^```bat/ { block = 1; next } block && /^```/ { exit } block { print }' "$readme")
[ -n "$commands" ] || { echo "no Windows commands in the README" >&2; exit 1; }
failed=0
while IFS= read -r line; do
  line=${line%%  rem *}
  case $line in "" | rem* | cd\ *) continue ;; esac
  printf '@echo off\r\n%s\r\nexit /b %%errorlevel%%\r\n' "$line" >"$work/line.bat"
  if (cd "$dir" && "$wine64" cmd /c "Z:${work//\//\\}\\line.bat") >"$work/last.out" 2>&1; then
    echo "ok: $line"
  else
    echo "FAILED: $line"
    tr -d '\r' <"$work/last.out" | tail -5
    failed=1
  fi
done <<<"$commands"
# What the commands write.
for f in soldier.png soldier.glb; do
  [ -s "$dir/$f" ] || { echo "no $f written" >&2; failed=1; }
done
/usr/lib/wine/wineserver -k 2>/dev/null || true
[ "$failed" = 0 ]
