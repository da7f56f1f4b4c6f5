#!/usr/bin/env bash
# Checks the installed Debian package (after `apt-get install ./korvane_*.deb`):
# every program answers --help and --version without a display, the manual
# pages are found, the installed mkplayer writes the demo player,
# korvane-render draws it headless and korvane-export writes it as .glb, and the thumbnailer entry's command
# makes a picture as a file manager would run it.
#   scripts/check-package.sh
set -euo pipefail
mkplayer=mkplayer
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for program in korvane tessaly mdstree korvane-render korvane-check korvane-export mkplayer; do
  path=$(command -v "$program") || { fail "$program not installed"; continue; }
  [ "${path%/*}" = /usr/bin ] || fail "$program found at $path, not /usr/bin"
  env -u DISPLAY -u WAYLAND_DISPLAY "$program" --version | grep -q "^$program " || fail "$program --version"
  env -u DISPLAY -u WAYLAND_DISPLAY "$program" --help | grep -q "usage: $program" || fail "$program --help"
  man -w "$program" >/dev/null || fail "no manual page for $program"
done
man korvane-render 2>/dev/null | grep -q -- "--body-skin" || fail "man korvane-render does not show the options"

"$mkplayer" "$work/demo" >/dev/null || fail "the installed mkplayer did not write the demo player"
(cd "$work/demo" && env -u DISPLAY -u WAYLAND_DISPLAY korvane-render --base-dir models/players \
  --model infantryss --camera 0,38,105,0,0 --size 256x256 --strict --out soldier.png) \
  || fail "installed korvane-render did not draw the demo player headless"
[ "$(identify -format %wx%h "$work/demo/soldier.png" 2>/dev/null)" = 256x256 ] || fail "soldier.png is not 256x256"
korvane-export --out "$work/soldier.glb" "$work/demo/models/players/infantryss" 2>/dev/null \
  && [ "$(head -c 4 "$work/soldier.glb")" = glTF ] || fail "installed korvane-export did not export the demo player"

# The thumbnailer as a file manager runs it: Exec with %i, %o and %s filled.
entry=/usr/share/thumbnailers/korvane.thumbnailer
if [ -f "$entry" ]; then
  exec_line=$(sed -n 's/^Exec=//p' "$entry")
  body="$work/demo/models/players/infantryss/body.mds"
  # Another name beside the skins: the magic, not the file name, marks it.
  cp "$body" "$work/demo/models/players/infantryss/soldier.mds"
  command=${exec_line//%i/\'$work/demo/models/players/infantryss/soldier.mds\'}
  command=${command//%o/\'$work/thumb.png\'}
  command=${command//%s/128}
  (cd / && env -u DISPLAY -u WAYLAND_DISPLAY sh -c "$command") || fail "thumbnailer command failed: $command"
  [ "$(identify -format %wx%h "$work/thumb.png" 2>/dev/null)" = 128x128 ] || fail "thumbnail is not 128x128"
  [ "$(identify -format %k "$work/thumb.png" 2>/dev/null)" -gt 20 ] || fail "thumbnail shows no model"
  # shared-mime-info's trigger has taken the type into its database.
  [ -f /usr/share/mime/model/x-korvane-mds.xml ] || fail "MIME type model/x-korvane-mds not registered"
else
  fail "$entry not installed"
fi

if ((failures)); then
  echo "$failures failure(s)"
  exit 1
fi
echo "package checks passed"
