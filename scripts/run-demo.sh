#!/usr/bin/env bash
# The main job: builds everything (installing what is missing), writes the
# bundled demo player under models/players/infantryss/ and starts the viewer
# on it from the repository's root, where it also writes log.htm.
# Without a display the viewer runs on a virtual one (Xvfb) and a
# screenshot of its window is saved as demo.png.
#   KV_BUILD_DIR  build directory (default: build)
#   KV_DEMO_DIR   where the demo player, log.htm and demo.png go (default:
#                 the repository's root)
#   DEMO_SECONDS  how long the viewer runs without a display (default: 10)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${KV_BUILD_DIR:-build}")
work=$(realpath -m "${KV_DEMO_DIR:-.}")
scripts/setup.sh "$build"

if [ ! -x "$build/bin/korvane" ] || [ ! -x "$build/bin/mkplayer" ]; then
  # The viewer is not part of this build: show the structure of a small
  # model with the command-line browser instead.
  "$build/bin/mkmodel" "$build/sample.mds"
  exec "$build/bin/mdstree" "$build/sample.mds"
fi

mkdir -p "$work"
"$build/bin/mkplayer" "$work" >/dev/null
cd "$work"
if [ -n "${DISPLAY:-}" ]; then
  exec "$build/bin/korvane" "$@"
fi

echo "no display: running the viewer on Xvfb for ${DEMO_SECONDS:-10} seconds"
KORVANE="$build/bin/korvane" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$KORVANE" "$@" &
  pid=$!
  sleep 3
  xdotool key Return   # accept the start-up dialog with its defaults
  sleep "${DEMO_SECONDS:-10}"
  import -window root demo.png 2>/dev/null && echo "screenshot: $PWD/demo.png"
  xdotool key alt+F4
  sleep 1
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
' bash "$@"
echo "load report: $PWD/log.htm"
