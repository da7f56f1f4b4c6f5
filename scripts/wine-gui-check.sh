#!/usr/bin/env bash
# Runs the windowed Windows programs of a 64-bit cross build under wine64 on
# the current X display (start it under xvfb-run): the Win32 shell's tests,
# then tessaly.exe, whose "Brannock" dialog must appear, be drawn (a
# screenshot is saved), and close on Alt+F4 with exit status 0.
#   scripts/wine-gui-check.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
wine64=${WINE64:-/usr/lib/wine/wine64}
export WINEDEBUG=-all

if ! "$wine64" "$build/bin/test_win32_shell.exe" --gtest_brief=1 >"$build/test_win32_shell.log" 2>&1; then
  tr -d '\r' <"$build/test_win32_shell.log" | tail -n 40
  echo "test_win32_shell.exe failed"
  exit 1
fi
echo "test_win32_shell.exe: $(tr -d '\r' <"$build/test_win32_shell.log" | grep -E '^\[  PASSED  \]')"

"$wine64" "$build/bin/tessaly.exe" &
pid=$!
window=
for _ in $(seq 1 60); do
  window=$(xdotool search --name '^Brannock$' 2>/dev/null | head -1) && [ -n "$window" ] && break
  sleep 0.5
done
if [ -z "$window" ]; then
  echo "tessaly.exe: no Brannock window"
  kill "$pid" 2>/dev/null || true
  exit 1
fi
sleep 1
import -window root "$build/tessaly.png"
# The dialog is drawn: most of its area is the light face colour.
lit=$(convert "$build/tessaly.png" -crop 600x300+10+30 -colorspace Gray -format '%[fx:mean]' info:)
xdotool windowfocus --sync "$window"
xdotool key alt+F4
status=
for _ in $(seq 1 20); do
  if ! kill -0 "$pid" 2>/dev/null; then
    set +e; wait "$pid"; status=$?; set -e
    break
  fi
  sleep 0.5
done
if [ -z "$status" ]; then
  echo "tessaly.exe: still running after Alt+F4"
  kill "$pid" 2>/dev/null || true
  exit 1
fi
echo "tessaly.exe: Brannock shown (mean grey $lit, screenshot $build/tessaly.png), exit $status"
[ "$status" = 0 ] && awk -v v="$lit" 'BEGIN { exit !(v > 0.5) }'
