#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what landed there.
#   install_test.sh CMAKE BUILD_DIR [korvane] [tessaly]
# The GUI programs are named when this build has them; the desktop files,
# icons and metainfo are expected exactly for those.
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

for program in mdstree "$@"; do
  [ -z "$program" ] && continue
  [ -x "$prefix/bin/$program" ] || fail "bin/$program not installed"
done
[ -n "${1:-}" ] && { [ -x "$prefix/bin/korvane-render" ] || fail "bin/korvane-render not installed"; }

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

if ((failures)); then
  echo "$failures failure(s)"
  exit 1
fi
echo "installed and valid: mdstree ${apps[*]}"
