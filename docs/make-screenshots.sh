#!/usr/bin/env bash
# Remakes the README's pictures from a build: the demo player drawn by
# korvane-render (one picture, the animated walk, the demo character posed
# legs and torso apart, a strip of levels of detail), the exported glTF file
# drawn by f3d, the viewer's window and the browser's dialog, each on the
# demo player written by mkplayer. Runs the GUI programs on a virtual X
# display (Xvfb) and needs xdotool, ImageMagick and f3d (scripts/setup.sh
# installs them).
#   docs/make-screenshots.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(realpath "${1:-build}")/bin
docs=$(pwd)/docs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bin/mkplayer" "$work" >/dev/null
"$bin/mkplayer" --character "$work/game" >/dev/null
cd "$work"

xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$bin" "$docs" <<'SHOTS'
set -euo pipefail
bin=$1 docs=$2
# The window's own pixels; Xvfb runs no window manager, so no frame.
shot() {
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
}

# korvane-render: the whole soldier mid-stride.
"$bin/korvane-render" --base-dir models/players --model infantryss --frame 5 \
  --camera 40,38,95,23,0 --size 320x320 --out "$docs/korvane-render.png"
# korvane-render --anim: the walk as an animated WebP, from the side.
"$bin/korvane-render" --base-dir models/players --model infantryss --anim walk \
  --camera 40,38,95,23,0 --size 256x256 --out "$docs/walk.webp"
# korvane-render --char: the demo character with its legs walking and its
# torso in the idle glance, turned 30 degrees.
"$bin/korvane-render" --char characters/demo/soldier.char --game-dir game --legs walk --torso idle_glance \
  --torso-aim 0,30 --frame 5 --size 320x400 --samples 4 --out "$docs/character-legs-torso.png"
# korvane-render --lod: the soldier at four levels of detail side by side
# (one framing for all: the whole model's).
for f in 1 0.6 0.35 0.15; do
  "$bin/korvane-render" --base-dir models/players --model infantryss --frame 5 --lod "$f" --no-grid \
    --size 200x300 --samples 4 --out "lod-$f.png"
done
montage lod-1.png lod-0.6.png lod-0.35.png lod-0.15.png -tile 4x1 -geometry +0+0 "$docs/lod-strip.png"

# korvane-export: the same frame and camera as korvane-render's picture,
# exported (bound at that frame, so f3d's clipping planes fit the pose) and
# drawn by f3d, a glTF client (Debian package f3d). The viewer's drawing
# axes are glTF's with x mirrored; one unit is 0.0254 m.
"$bin/korvane-export" --anims none --frame 5 --bind-frame 5 --out soldier.glb \
  models/players/infantryss 2>/dev/null
f3d --output="$docs/korvane-export-f3d.png" --resolution=320,320 --bg-color=1,1,1 \
  --camera-position=-1.016,0.9652,2.413 --camera-focal-point=-0.6253,0.9652,1.4925 \
  --camera-view-up=0,1,0 --camera-view-angle=45 soldier.glb

# Korvane: the start-up dialog accepted with its defaults, then the camera
# pulled back (S held) so the whole soldier is in view.
"$bin/korvane" >/dev/null 2>&1 &
pid=$!
xdotool search --sync --name '^Startup Information$' >/dev/null
sleep 0.5
xdotool key Return
sleep 1.5
w=$(xdotool search --onlyvisible --name '^Korvane$' | head -1)
xdotool windowactivate "$w" 2>/dev/null || true
xdotool keydown s; sleep 2.5; xdotool keyup s; sleep 0.5
shot "$w" "$docs/korvane.png"
kill "$pid"; wait "$pid" 2>/dev/null || true

# Tessaly: "Load New" answered with the demo body, the bones and the first
# bone opened.
KV_OPEN_FILE_ANSWER=models/players/infantryss/body.mds "$bin/tessaly" >/dev/null 2>&1 &
pid=$!
w=$(xdotool search --sync --name '^Brannock$' | head -1)
sleep 0.5
xdotool key Return
sleep 1.5
xdotool key Tab Tab Home Down Down Down Down Down Down Down Down Right Down Right
sleep 0.5
shot "$w" "$docs/tessaly.png"
kill "$pid"; wait "$pid" 2>/dev/null || true
SHOTS

cd "$docs"
for png in korvane-render.png character-legs-torso.png lod-strip.png korvane.png tessaly.png; do
  # Small files for the repository: 64 colours are plenty for these pictures.
  convert "$png" -colors 64 -strip "PNG8:$png"
  echo "docs/$png"
done
echo "docs/walk.webp"
