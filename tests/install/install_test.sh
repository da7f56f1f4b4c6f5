#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what landed there.
#   install_test.sh CMAKE BUILD_DIR [korvane] [tessaly]
# The GUI programs are named when this build has them; the desktop files,
# icons and metainfo are expected exactly for those, and with them
# korvane-render's thumbnailer, whose command is run as a file manager would.
set -uo pipefail
cmake=$1 build=$2
shift 2
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$cmake" --install "$build" --prefix "$prefix" >"$prefix/install.log" 2>&1 \
  || { cat "$prefix/install.log"; echo "FAIL: cmake --install"; exit 1; }

programs=(mdstree mkplayer "$@")
[ -n "${1:-}" ] && programs+=(korvane-render)
for program in "${programs[@]}"; do
  [ -z "$program" ] && continue
  [ -x "$prefix/bin/$program" ] || fail "bin/$program not installed"
  [ -f "$prefix/share/man/man1/$program.1" ] || fail "man1/$program.1 not installed"
  # Answered on stdout with 0, before any window system is needed.
  for option in --help --version; do
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/$program" $option 2>/dev/null) || fail "$program $option: exit $?"
    grep -q "$program" <<<"$out" || fail "$program $option printed: $out"
  done
done
for program in mdstree korvane-render; do
  [ -x "$prefix/bin/$program" ] || continue
  "$prefix/bin/$program" --no-such-option >/dev/null 2>&1
  status=$?
  [ "$status" = 2 ] || fail "$program --no-such-option: exit $status, not 2"
done

apps=()
for program in "$@"; do
  [ -n "$program" ] && apps+=("$(tr '[:lower:]' '[:upper:]' <<<"${program:0:1}")${program:1}")
done
for app in "${apps[@]}"; do
  id=org.korvane.$app
  desktop=$prefix/share/applications/$id.desktop
  metainfo=$prefix/share/metainfo/$id.metainfo.xml
  [ -f "$desktop" ] || { fail "$id.desktop not installed"; continue; }
  [ -f "$metainfo" ] || { fail "$id.metainfo.xml not installed"; continue; }
  [ -f "$prefix/share/icons/hicolor/scalable/apps/$id.svg" ] || fail "$id.svg not installed"
  desktop-file-validate "$desktop" || fail "$id.desktop does not validate"
  appstreamcli validate --no-net "$metainfo" || fail "$id.metainfo.xml does not validate"
  # Both programs ask for their input themselves: no file argument.
  exec_line=$(grep '^Exec=' "$desktop")
  program=$(tr '[:upper:]' '[:lower:]' <<<"$app")
  [ "$exec_line" = "Exec=$program" ] || fail "$id.desktop: $exec_line"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
    || fail "$id.metainfo.xml does not launch $id.desktop"
done

# The thumbnailer: its entry names the installed script, and the Exec line
# with %i, %o and %s filled makes a square PNG of a body under another name.
if [ -n "${1:-}" ]; then
  entry=$prefix/share/thumbnailers/korvane.thumbnailer
  [ -f "$prefix/share/mime/packages/korvane-mds.xml" ] || fail "korvane-mds.xml not installed"
  exec_line=$(sed -n 's/^Exec=//p' "$entry" 2>/dev/null)
  case $exec_line in
    "$prefix/libexec/korvane/korvane-mds-thumbnailer %i %o %s") ;;
    *) fail "thumbnailer Exec: '$exec_line'" ;;
  esac
  "$prefix/bin/mkplayer" "$prefix/demo" >/dev/null || fail "the installed mkplayer"
  model=$prefix/demo/models/players/infantryss
  cp "$model/body.mds" "$model/Soldier Body.mds"
  command=${exec_line//%i/\'$model/Soldier Body.mds\'}
  command=${command//%o/\'$prefix/thumb.png\'}
  command=${command//%s/64}
  (cd / && env -u DISPLAY -u WAYLAND_DISPLAY sh -c "$command") || fail "thumbnailer: $command"
  size=$(od -An -tu1 -j16 -N8 "$prefix/thumb.png" 2>/dev/null | tr -s ' ')
  [ "$size" = " 0 0 0 64 0 0 0 64" ] || fail "thumbnail is not a 64x64 PNG (IHDR:$size)"
  [ -z "$(ls -A "$prefix/demo" | grep -v '^models$')" ] || fail "the thumbnailer wrote beside the model"
  # The same picture as the body drawn in its own folder: skins and
  # textures were found through the links.
  (cd "$prefix/demo" && env -u DISPLAY "$prefix/bin/korvane-render" --base-dir models/players --model infantryss \
    --standing --no-grid --background transparent --samples 4 --size 64x64 --log "$prefix/direct.htm" --out "$prefix/direct.png" 2>/dev/null)
  cmp -s "$prefix/thumb.png" "$prefix/direct.png" || fail "the thumbnail differs from the body drawn directly"
fi

if ((failures)); then
  echo "$failures failure(s)"
  exit 1
fi
echo "installed and valid: mdstree ${apps[*]}"
