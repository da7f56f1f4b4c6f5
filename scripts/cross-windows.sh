#!/usr/bin/env bash
# Cross-builds the Windows programs with MinGW-w64 (installing what is
# missing) and checks them under Wine:
#   scripts/cross-windows.sh [win64|win32|all]     (default: all)
# win64 builds into build-win64/ and runs the unit tests there under wine64,
# compares mdstree.exe with the Linux mdstree (built in build/) over
# written fixture files, and runs the Win32 shell's tests, tessaly.exe and
# korvane.exe (on the system's Direct3D 8) on Xvfb; then every command-line
# program against its Linux twin on the same fixtures (on disk, in a .pk3,
# under a non-ASCII name: scripts/wine-programs-check.sh), and packs the
# release archive build-win64/korvane-<version>-win64.zip
# (scripts/windows-zip.sh), checked in a fresh Wine prefix by running the
# README's Windows commands (scripts/wine-zip-check.sh).
# KV_GUI (the Qt programs) stays off: Windows has its own shell.
# win32 only builds (build-win32/): this machine has no 32-bit Wine.
# Programs land in build-win64/bin and build-win32/bin.
# KV_WIN_SOURCE configures from another source tree (default: this one).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
which=${1:-all}
jobs=$(nproc)

packages=(cmake ninja-build mingw-w64 g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 wine xvfb
  xauth xdotool imagemagick libgtest-dev libstb-dev zip unzip man-db libz-mingw-w64-dev libtinygltf-dev nlohmann-json3-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Configures and builds one target (the libraries it links cross-built
# first, once: scripts/windows-deps.sh); the targets to build follow.
build_windows() {
  local arch=$1 dir=$2
  shift 2
  local toolchain="$root/cmake/mingw-w64-$arch.cmake"
  scripts/windows-deps.sh "$toolchain" "$root/$dir/deps" "$arch-w64-mingw32"
  cmake -S "${KV_WIN_SOURCE:-.}" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DKV_WIN_DEPS="$root/$dir/deps" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_GUI=OFF -DKV_BENCH=OFF >/dev/null
  cmake --build "$dir" -j"$jobs" --target "$@"
}

# The unit tests that need neither a window nor the graphics device.
unit_targets=(mdstree mkmodel test_pk3 test_check test_win32_resources test_formats test_browser test_mdstree test_platform test_camera test_model test_render test_regressions test_browser_dialog test_mdc_walk test_player app_tests test_faults)
# The windowed program and the Win32 shell's tests (run on Xvfb).
gui_targets=(tessaly korvane test_win32_shell)
# Every command-line program (the installed ones and the generators).
program_targets=(kv_programs mkmodel mkplayer)
linux_programs=(mdstree mkmodel mkplayer korvane-check korvane-render korvane-export)

# The Wine prefix is made once and its server kept running while the
# tests run, so a start of a test program costs well under a second.
wine64=/usr/lib/wine/wine64
export WINEDEBUG=-all
export WINEPREFIX="$root/build-win64/wineprefix"
start_wine() {
  mkdir -p build-win64
  [ -f "$WINEPREFIX/system.reg" ] || "$wine64" wineboot -i >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -p 2>/dev/null || true  # already running is fine
  trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
}

if [ "$which" = all ] || [ "$which" = win64 ]; then
  echo "-- 64-bit Windows build"
  start_wine
  build_windows x86_64 build-win64 "${unit_targets[@]}" "${gui_targets[@]}" "${program_targets[@]}"
  echo "-- unit tests under wine64"
  # Each test program runs whole under wine64, the same run ctest makes one
  # test at a time (ctest --test-dir build-win64/tests/GROUP works by hand).
  failed=0
  for t in "${unit_targets[@]}"; do
    case $t in test_* | *_tests) ;; *) continue ;; esac
    set +e
    (cd build-win64 && "$wine64" "bin/$t.exe" --gtest_brief=1) >"build-win64/$t.log" 2>&1
    status=$?
    set -e
    echo "$t.exe: $(tr -d '\r' <"build-win64/$t.log" | grep -E '^\[  PASSED  \]|FAILED TEST' | tr '\n' ' ')"
    if [ "$status" != 0 ]; then failed=1; tr -d '\r' <"build-win64/$t.log" | tail -n 40; fi
  done
  [ "$failed" = 0 ] || { echo "unit tests failed under wine64"; exit 1; }
  echo "-- mdstree.exe against the Linux mdstree"
  for p in "${linux_programs[@]}"; do
    if [ ! -x "build/bin/$p" ]; then
      cmake -S . -B build -G Ninja >/dev/null
      cmake --build build -j"$jobs" --target "${linux_programs[@]}"
      break
    fi
  done
  scripts/compare-mdstree.sh build/bin build-win64/bin build-win64/compare
  echo "-- windowed programs under wine64 on Xvfb"
  # Wine's desktop process of the runs above has no display: start afresh.
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  /usr/lib/wine/wineserver -w 2>/dev/null || true
  xvfb-run -a -s "-screen 0 1024x768x24" scripts/wine-gui-check.sh build-win64
  # korvane.exe on the system's Direct3D 8 (Wine's), its log against the
  # Linux viewer's when that is built.
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  /usr/lib/wine/wineserver -w 2>/dev/null || true
  xvfb-run -a -s "-screen 0 1024x768x24" scripts/wine-korvane-check.sh build-win64 build/bin
  echo "-- command-line programs under wine64 against Linux"
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  /usr/lib/wine/wineserver -w 2>/dev/null || true
  [ -d build/gltf-validator ] || scripts/gltf-validator.sh build >/dev/null
  xvfb-run -a -s "-screen 0 1024x768x24" scripts/wine-programs-check.sh build/bin build-win64/bin \
    build-win64/programs build/gltf-validator
  echo "-- the release archive in a fresh Wine prefix"
  zip=$(scripts/windows-zip.sh build-win64 build/bin/mkplayer build-win64)
  echo "$(basename "$zip"): $(du -k "$zip" | cut -f1) KB"
  xvfb-run -a -s "-screen 0 1024x768x24" scripts/wine-zip-check.sh "$zip" build-win64/zip-check
fi

if [ "$which" = all ] || [ "$which" = win32 ]; then
  echo "-- 32-bit Windows build"
  # The programs (what the 32-bit release holds); the unit tests run in the
  # 64-bit build, so building them again here only costs time.
  build_windows i686 build-win32 "${gui_targets[@]}" "${program_targets[@]}"
fi
