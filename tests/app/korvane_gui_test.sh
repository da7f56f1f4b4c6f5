#!/usr/bin/env bash
# Runs the real viewer on an X display (Xvfb): the start-up dialog answered
# from the keyboard, screenshots of the window checked for the white
# background, the grey grid and the coloured axes, the camera, frame and mesh
# keys changing the picture, the message box for a missing body, and the
# exit through Alt+F4 with a complete log.htm.
#   korvane_gui_test.sh KORVANE [MKPLAYER]
set -uo pipefail
korvane=$(realpath "$1")
mkplayer=${2:+$(realpath "$2")}
[ -x "$korvane" ] || { echo "FAIL: no program $1"; exit 1; }
for tool in xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Starts the viewer in $1 and waits for the start-up dialog.
start() {
  cd "$1" || exit 1
  "$korvane" >viewer.out 2>&1 &
  pid=$!
  timeout 20 xdotool search --sync --name '^Startup Information$' >/dev/null || fail "no start-up dialog"
  sleep 0.5
}
main_window() { xdotool search --onlyvisible --name '^Korvane$' | head -1; }
# Never without a window: import would wait for a click.
shot() {
  local w
  w=$(main_window)
  if [ -n "$w" ]; then
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$w")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$1"
  else fail "no main window for $1"; convert -size 500x500 xc:black "$1"; fi
}
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; sleep 0.5; }
# Pixel counts of one colour class in a screenshot: white, grey, red,
# green, blue or other.
count() {
  convert "$1" -format %c histogram:info:- | awk -v want="$2" -F'[(,)]' '{
    n = $1 + 0; r = $2 + 0; g = $3 + 0; b = $4 + 0
    if (r > 250 && g > 250 && b > 250) c = "white"
    else if (r - g < 16 && g - r < 16 && g - b < 16 && b - g < 16 && r < 230) c = "grey"
    else if (r > 150 && g < 100 && b < 100) c = "red"
    else if (g > 150 && r < 100 && b < 100) c = "green"
    else if (b > 150 && r < 100 && g < 100) c = "blue"
    else c = "other"
    if (c == want) total += n
  } END { print total + 0 }'
}
differ() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1)" != "0" ]; }
# Closes with Alt+F4 and checks the exit code and the log's frame.
close_and_check() {
  xdotool windowactivate "$(main_window)" 2>/dev/null
  xdotool key alt+F4
  local code=0
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then fail "$1: still running after Alt+F4"; kill "$pid"; fi
  wait "$pid"; code=$?
  [ "$code" = 0 ] || fail "$1: exit code $code"
  head -1 log.htm | grep -q '^<!DOCTYPE' || fail "$1: log.htm does not start with the DOCTYPE line"
  [ "$(tail -c 9 log.htm | tr -d '\r\n')" = "</html>" ] || fail "$1: log.htm does not end with </html>"
}

# ---- Cancel: the grid alone, flown with the keys -----------------------------
mkdir -p "$work/cancel"
start "$work/cancel"
xdotool key Escape
sleep 1
xdotool windowactivate "$(main_window)" 2>/dev/null
hold Down 0.4  # tilt the view down onto the grid
shot "$work/grid.png"
[ "$(count "$work/grid.png" white)" -gt 100000 ] || fail "cancel: background is not white"
for c in grey red green blue; do
  [ "$(count "$work/grid.png" $c)" -gt 50 ] || fail "cancel: no $c pixels (grid and axes)"
done
hold w 0.5
shot "$work/grid-w.png"
differ "$work/grid.png" "$work/grid-w.png" || fail "cancel: holding W did not change the picture"
close_and_check cancel

# ---- A folder without body.mds: the message box, then the grid -----------------
mkdir -p "$work/missing"
start "$work/missing"
xdotool key Return
timeout 10 xdotool search --sync --name '^Error$' >/dev/null || fail "missing body: no message box captioned Error"
xdotool key Return
sleep 0.5
xdotool search --name '^Error$' >/dev/null && fail "missing body: the message box stayed open"
grep -q 'CreateFile - Invalid Handle Value' log.htm || fail "missing body: the failed open is not in the log"
close_and_check missing

# ---- The demo player: frame keys and the mesh key ------------------------------
if [ -n "$mkplayer" ]; then
  mkdir -p "$work/player"
  "$mkplayer" "$work/player" >/dev/null || fail "mkplayer failed"
  start "$work/player"
  xdotool key Return
  sleep 1.5
  xdotool windowactivate "$(main_window)" 2>/dev/null
  shot "$work/body.png"
  [ "$(count "$work/body.png" other)" -gt 5000 ] || fail "player: the body is not drawn"
  for _ in 1 2 3; do xdotool key KP_Add; sleep 0.1; done
  sleep 0.5
  shot "$work/body-plus.png"
  differ "$work/body.png" "$work/body-plus.png" || fail "player: keypad + did not change the pose"
  xdotool key n
  sleep 0.5
  shot "$work/body-n.png"
  [ "$(count "$work/body-n.png" other)" -lt "$(count "$work/body-plus.png" other)" ] ||
    fail "player: N did not hide the surfaces"
  grep -q 'ERROR' log.htm && fail "player: errors in the log"
  close_and_check player
fi

# KV_GUI_SHOTS=DIR keeps the screenshots for a look.
[ -n "${KV_GUI_SHOTS:-}" ] && mkdir -p "$KV_GUI_SHOTS" && cp "$work"/*.png "$KV_GUI_SHOTS"/
[ "$failures" = 0 ] && echo "all viewer checks passed"
exit $((failures > 0))
