#!/usr/bin/env bash
# Runs korvane.exe of a 64-bit cross build under wine64 on the current X
# display (start it under xvfb-run) on a player model written by mkplayer:
# the start-up dialog is accepted with Enter, the window must show the
# model's uniform colours (a screenshot is saved), Alt+F4 must end it with
# exit status 0, and its "log.htm" must equal the Linux viewer's log of the
# same run byte for byte, apart from the renderer's object address.
#   scripts/wine-korvane-check.sh WIN_BUILD_DIR LINUX_BIN_DIR
set -euo pipefail
build=$(realpath "$1")
linux=$(realpath "$2")
wine64=${WINE64:-/usr/lib/wine/wine64}
export WINEDEBUG=-all

# The share of the picture in the model's uniform colours (grey-green, green
# above red), and 1 when it is a good part of it, else 0.
uniform_share() { convert "$1" -fx '(g-r>0.02 && g<0.8) ? 1 : 0' -format '%[fx:mean]' info: 2>/dev/null || echo 0; }
uniform_of() { awk -v v="$(uniform_share "$1")" 'BEGIN { print (v > 0.05) ? 1 : 0 }'; }

# Starts PROGRAM in DIR, accepts the start-up dialog (saved as SHOT-dialog.png),
# saves a screenshot of the viewer's window as SHOT, closes it with Alt+F4; prints the exit status.
run_viewer() {
  local dir=$1 shot=$2
  shift 2
  (cd "$dir" && exec "$@") >/dev/null 2>&1 &
  local pid=$! dialog= window= status=
  for _ in $(seq 1 60); do
    dialog=$(xdotool search --name '^Startup Information$' 2>/dev/null | head -1) && [ -n "$dialog" ] && break
    sleep 0.5
  done
  [ -n "$dialog" ] || { echo "no start-up dialog" >&2; kill "$pid" 2>/dev/null; return 1; }
  sleep 1
  import -window "$dialog" "${shot%.png}-dialog.png" 2>/dev/null || true
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  xdotool key Return
  # The first picture can take many seconds on a loaded machine (wine's
  # Direct3D on a software renderer): look again until the model shows.
  sleep 3
  for _ in $(seq 1 30); do
    window=$(xdotool search --name '^Korvane$' 2>/dev/null | head -1)
    if [ -n "$window" ] && import -window "$window" "$shot" 2>/dev/null && [ "$(uniform_of "$shot")" != 0 ]; then break; fi
    sleep 1
  done
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key alt+F4
  for _ in $(seq 1 20); do
    if ! kill -0 "$pid" 2>/dev/null; then
      set +e; wait "$pid"; status=$?; set -e
      break
    fi
    sleep 0.5
  done
  [ -n "$status" ] || { echo "still running after Alt+F4" >&2; kill "$pid" 2>/dev/null; return 1; }
  echo "$status"
}

work="$build/korvane-check"
rm -rf "$work" && mkdir -p "$work/windows" "$work/linux"
"$linux/mkplayer" "$work/windows" >/dev/null
"$linux/mkplayer" "$work/linux" >/dev/null
cp "$build/bin/korvane.exe" "$work/windows/"

status=$(run_viewer "$work/windows" "$work/korvane-wine.png" "$wine64" korvane.exe)
[ "$status" = 0 ] || { echo "korvane.exe: exit $status"; exit 1; }
# The uniform (grey-green, green above red) covers a good part of the window.
[ -f "$work/korvane-wine.png" ] || { echo "korvane.exe: no Korvane window"; exit 1; }
uniform=$(uniform_share "$work/korvane-wine.png")
awk -v v="$uniform" 'BEGIN { exit !(v > 0.05) }' || { echo "korvane.exe: no model in the window ($uniform)"; exit 1; }
echo "korvane.exe: model drawn (uniform colour on $uniform of the window, $work/korvane-wine.png), exit 0"

if [ -x "$linux/korvane" ]; then
  status=$(run_viewer "$work/linux" "$work/korvane-linux.png" "$linux/korvane")
  [ "$status" = 0 ] || { echo "korvane (Linux): exit $status"; exit 1; }
  strip() { sed -E 's/\(this = [0-9A-F]+\)/(this = ...)/' "$1"; }
  if ! cmp -s <(strip "$work/windows/log.htm") <(strip "$work/linux/log.htm"); then
    diff <(strip "$work/windows/log.htm" | tr -d '\r') <(strip "$work/linux/log.htm" | tr -d '\r') | head -20
    echo "log.htm differs between korvane.exe and korvane"
    exit 1
  fi
  echo "log.htm: the same bytes from korvane.exe and korvane ($(wc -c <"$work/windows/log.htm") bytes)"
fi
