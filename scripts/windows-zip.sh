#!/usr/bin/env bash
# Packs the 64-bit Windows programs into the release archive
# korvane-<version>-win64.zip:
#   korvane-<version>-win64/       the installed programs (.exe, static: no DLLs;
#                                  stripped of the build's debugging data)
#     README.txt                   the top README
#     man/<program>.txt            every program's manual page as text
#     licenses/                    the copyright files of every library inside
#     demo/models/players/...      the demo player, written by mkplayer
#   scripts/windows-zip.sh WIN_BUILD_DIR MKPLAYER OUT_DIR
# Text files get Windows line ends. Prints the archive's path.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "$1")
mkplayer=$(realpath "$2")
out=$(realpath "$3")
version=$(sed -n 's/^project(korvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=korvane-$version-win64
stage=$out/$name
rm -rf "$stage" "$out/$name.zip"
mkdir -p "$stage/man" "$stage/licenses"

crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }

# The programs the Linux build installs (data/CMakeLists.txt) that this
# build has.
programs=$(sed -n 's/^set(KV_INSTALLED_PROGRAMS \(.*\))$/\1/p' data/CMakeLists.txt)
for program in $programs; do
  [ -f "$build/bin/$program.exe" ] || continue
  x86_64-w64-mingw32-strip -o "$stage/$program.exe" "$build/bin/$program.exe"
  MANWIDTH=80 man -l -E UTF-8 "data/man/$program.1" 2>/dev/null | col -bx >"$stage/man/$program.tmp"
  crlf "$stage/man/$program.tmp" "$stage/man/$program.txt"
  rm "$stage/man/$program.tmp"
done
crlf README.md "$stage/README.txt"
for f in "$build"/deps/licenses/*.txt; do crlf "$f" "$stage/licenses/$(basename "$f")"; done
"$mkplayer" "$stage/demo" >/dev/null
(cd "$out" && zip -qr -9 "$name.zip" "$name")
echo "$out/$name.zip"
