#!/usr/bin/env bash
# Runs every command-line program of a 64-bit cross build under wine64 on
# the same fixtures as the Linux programs and compares what they give:
# - mdstree and korvane-check: output bytes (CR before LF aside) and exit
#   status equal;
# - korvane-render: the pictures within the headless test's tolerance (a
#   channel off by at most 14 of 255), on at least 99 % of the pixels;
# - korvane-export: the files it writes through the glTF validator
#   (tests/export/validate_fixtures.sh with the .exe as the exporter).
# The fixtures are the demo player on disk, the same player packed in a
# .pk3 below a game folder, and a copy in a folder with a non-ASCII name;
# the Windows programs are also given backslash paths and a drive letter
# (Wine's Z: is /). Needs an X display (run under xvfb-run): Wine's WGL
# draws through the X server's OpenGL.
#   scripts/wine-programs-check.sh LINUX_BIN WINDOWS_BIN WORK_DIR [VALIDATOR_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
linux=$(realpath "$1")
windows=$(realpath "$2")
work=$3
validator=${4:+$(realpath "$4")}
wine64=${WINE64:-/usr/lib/wine/wine64}
export WINEDEBUG=-all
rm -rf "$work"
mkdir -p "$work/files" "$work/linux" "$work/windows"
work=$(realpath "$work")
files=$work/files
unicode="données ✓ Ωmega"

# ---- fixtures, written by the Linux generators
"$linux/mkplayer" "$files/demo" >/dev/null
mkdir -p "$files/game/main" "$files/$unicode"
(cd "$files/demo" && zip -qr "$files/game/main/pak0.pk3" models)
cp -r "$files/demo/models" "$files/$unicode/"
for shape in sample md3 mdm mdx; do "$linux/mkmodel" "$shape" "$files/$shape.model" >/dev/null; done

checked=0
failed=0
fail() {
  echo "differs: $*"
  failed=$((failed + 1))
}

# Runs `NAME ARGS...` as the Linux program and as NAME.exe (with WINARGS
# when given after --win, else the same ARGS), each in its own folder, and
# compares stdout and the exit status. A path the programs repeat is
# compared as the Linux one: where a Windows argument differs, it (and its
# form with '/') is replaced by the Linux argument in the Windows output.
compare_text() {
  local tag=$1 program=$2
  shift 2
  local args=() winargs=() seen=0
  for a in "$@"; do
    if [ "$a" = --win ]; then seen=1; continue; fi
    if [ $seen = 0 ]; then args+=("$a"); else winargs+=("$a"); fi
  done
  [ $seen = 1 ] || winargs=("${args[@]}")
  set +e
  (cd "$work/linux" && "$linux/$program" "${args[@]}") >"$work/linux/$tag.out" 2>"$work/linux/$tag.err"
  local ls=$?
  (cd "$work/windows" && "$wine64" "$windows/$program.exe" "${winargs[@]}") 2>"$work/windows/$tag.err" |
    tr -d '\r' >"$work/windows/$tag.out"
  local ws=${PIPESTATUS[0]}
  set -e
  local i
  for i in "${!winargs[@]}"; do
    [ "${winargs[$i]}" != "${args[$i]:-}" ] || continue
    W=${winargs[$i]} S=${winargs[$i]//\\//} L=${args[$i]} \
      perl -pi -e 's/\Q$ENV{W}\E/$ENV{L}/g; s/\Q$ENV{S}\E/$ENV{L}/g' "$work/windows/$tag.out"
  done
  checked=$((checked + 1))
  if [ "$ls" != "$ws" ] || ! cmp -s "$work/linux/$tag.out" "$work/windows/$tag.out"; then
    fail "$program ${winargs[*]} (exit $ls on Linux, $ws under Wine)"
    diff "$work/linux/$tag.out" "$work/windows/$tag.out" | head -10 || true
  fi
}

member=../files/game/main/models/players/infantryss
zdrive="Z:$(echo "$files" | tr / '\\')"
# mdstree: every format, a member of the archive, backslashes, a drive letter.
for shape in sample md3 mdm mdx; do compare_text "tree-$shape" mdstree "../files/$shape.model"; done
compare_text tree-frames mdstree --frames ../files/sample.model
compare_text tree-pk3 mdstree "$member/body.mds" --win '..\files\game\main\models\players\infantryss\body.mds'
compare_text tree-drive mdstree "$files/demo/models/players/infantryss/head.mdc" \
  --win "$zdrive\\demo\\models\\players\\infantryss\\head.mdc"
compare_text tree-unicode mdstree "../files/$unicode/models/players/infantryss/body.mds"
# korvane-check: a folder, a game folder of archives, a non-ASCII folder.
compare_text check-demo korvane-check ../files/demo/models/players/infantryss
compare_text check-game korvane-check --json ../files/game --win --json '..\files\game'
compare_text check-pk3 korvane-check "$member/body.mds"
compare_text check-unicode korvane-check "../files/$unicode"
compare_text check-drive korvane-check "$files/demo" --win "$zdrive\\demo"

# korvane-render: the same picture from an archive and from a non-ASCII folder.
compare_picture() {
  local tag=$1
  shift
  set +e
  (cd "$work/linux" && "$linux/korvane-render" "$@" --out "$tag.png") >/dev/null 2>"$work/linux/$tag.err"
  local ls=$?
  (cd "$work/windows" && "$wine64" "$windows/korvane-render.exe" "$@" --out "$tag.png") >/dev/null \
    2>"$work/windows/$tag.err"
  local ws=$?
  set -e
  checked=$((checked + 1))
  if [ "$ls" != 0 ] || [ "$ws" != 0 ]; then
    fail "korvane-render $* (exit $ls on Linux, $ws under Wine)"
    tr -d '\r' <"$work/windows/$tag.err" | head -5
    return
  fi
  local off size
  off=$(compare -metric AE -fuzz 5.5% "$work/linux/$tag.png" "$work/windows/$tag.png" null: 2>&1 || true)
  size=$(identify -format '%[fx:w*h]' "$work/linux/$tag.png")
  if ! awk -v off="$off" -v size="$size" 'BEGIN { exit !(off + 0 == off && off <= size / 100) }'; then
    fail "korvane-render $*: $off of $size pixels differ"
  fi
}
compare_picture render-pk3 --base-dir ../files/game/main/models/players --model infantryss --size 160x160
compare_picture render-unicode --base-dir "../files/$unicode/models/players" --model infantryss --size 160x160

# korvane-export: the validator's fixtures, then the archive and the
# non-ASCII folder.
if [ -n "$validator" ]; then
  printf '#!/bin/sh\nexec "%s" "%s" "$@"\n' "$wine64" "$windows/korvane-export.exe" >"$work/korvane-export"
  chmod +x "$work/korvane-export"
  checked=$((checked + 1))
  if ! bash "$here/../tests/export/validate_fixtures.sh" "$validator" "$work/korvane-export" "$linux/mkplayer" \
    "$linux/mkmodel" >"$work/windows/validator.log" 2>&1; then
    fail "korvane-export.exe: the validator refused its files"
    tail -n 20 "$work/windows/validator.log"
  fi
  checked=$((checked + 1))
  (cd "$work/windows" && "$wine64" "$windows/korvane-export.exe" --out pk3.glb "$member" &&
    "$wine64" "$windows/korvane-export.exe" --out unicode.gltf "..\\files\\$unicode\\models\\players\\infantryss") \
    >/dev/null 2>"$work/windows/export.err" &&
    (cd "$work/windows" && GLTF_VALIDATOR_DIR=$validator/node_modules/gltf-validator \
      node "$here/../tests/export/validate.mjs" pk3.glb unicode.gltf) >"$work/windows/export.log" 2>&1 ||
    { fail "korvane-export.exe from the archive or the non-ASCII folder"; tr -d '\r' <"$work/windows/export.err" | tail -5; tail -5 "$work/windows/export.log"; }
fi

echo "Windows programs against Linux: $((checked - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
