#!/usr/bin/env bash
# Installs the Debian packages the build needs (when missing), then
# configures and builds the given build directory.
#   scripts/setup.sh [BUILD_DIR [extra cmake args...]]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev libgl1-mesa-dri libegl1 libegl-dev
  libstb-dev libjpeg-dev zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev libzip-dev libwebp-dev
  libtinygltf-dev nlohmann-json3-dev f3d
  xvfb xauth xdotool x11-utils imagemagick desktop-file-utils appstream
  dpkg-dev file man-db shared-mime-info)
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

build=${1:-build}
shift || true
cmake -S . -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
