#!/usr/bin/env bash
# The Khronos glTF validator over every file korvane-export writes from
# our fixtures: the demo player (.glb, .gltf, 8 weights, a legs/torso pair), the demo
# character of the sibling game (--char over its game folder) and every mkmodel
# shape that the exporter loads (an MDM with the demo's MDX skeleton). Any
# error or warning fails; so does a missing validator, unless
# KV_NO_GLTF_VALIDATOR=1 (then exit 77: skipped).
#   validate_fixtures.sh VALIDATOR_DIR KORVANE_EXPORT MKPLAYER MKMODEL
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
validator=$1/node_modules/gltf-validator exporter=$2 mkplayer=$3 mkmodel=$4
if ! command -v node >/dev/null || [ ! -f "$validator/package.json" ]; then
  if [ "${KV_NO_GLTF_VALIDATOR:-0}" = 1 ]; then
    echo "skipped: no glTF validator (KV_NO_GLTF_VALIDATOR=1)"
    exit 77
  fi
  echo "FAIL: the glTF validator is missing in $1: run scripts/gltf-validator.sh on this build" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
"$mkplayer" "$work/demo" >/dev/null || exit 1
player=demo/models/players/infantryss
files=()
"$exporter" --out demo.glb "$player" 2>/dev/null && files+=(demo.glb)
"$exporter" --out demo.gltf "$player" 2>/dev/null && files+=(demo.gltf)
"$exporter" --weights 8 --scale 1 --out demo8.glb "$player" 2>/dev/null && files+=(demo8.glb)
"$exporter" --legs walk --torso idle --torso-aim -10,50 --out pair.glb "$player" 2>/dev/null && files+=(pair.glb)
[ ${#files[@]} = 4 ] || { echo "FAIL: the demo player did not export" >&2; exit 1; }
"$mkplayer" --character "$work/game" >/dev/null || exit 1
"$exporter" --char characters/demo/soldier.char --game-dir game --out character.glb 2>/dev/null ||
  { echo "FAIL: the demo character did not export" >&2; exit 1; }
files+=(character.glb)
"$mkmodel" mdx skeleton.mdx >/dev/null || exit 1
# Every shape but the archive and game-folder ones (too large to be worth it
# here; the collections are the checker's) and skeletons alone.
refused=()
for shape in $("$mkmodel" --help | awk '/^  [a-z]/ {print $1}'); do
  case $shape in pk3-*|game-data|many-archives) continue ;; esac
  "$mkmodel" "$shape" "$shape.in" >/dev/null 2>&1 || { echo "FAIL: mkmodel $shape" >&2; exit 1; }
  input=$shape.in extra=()
  [ -d "$input/models/players" ] && input=$(ls -d "$input"/models/players/* | head -1)
  case $shape in *mdm*) extra=(--skeleton skeleton.mdx) ;; esac
  if "$exporter" "${extra[@]}" --out "$shape.glb" "$input" 2>"$shape.err"; then
    files+=("$shape.glb")
  else
    refused+=("$shape: $(head -1 "$shape.err")")
  fi
done
printf 'not exported:\n'
printf '  %s\n' "${refused[@]}"
GLTF_VALIDATOR_DIR=$validator node "$here/validate.mjs" "${files[@]}"
