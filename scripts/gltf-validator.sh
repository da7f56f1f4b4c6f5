#!/usr/bin/env bash
# Installs the Khronos glTF validator (npm package gltf-validator, pinned)
# into BUILD_DIR/gltf-validator for the test export_validator, and Node
# with npm from Debian when the machine has no node or npm yet. Fails
# loudly when it cannot.
#   scripts/gltf-validator.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
version=2.0.0-dev.3.10
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends nodejs npm
fi
dir=$build/gltf-validator
mkdir -p "$dir"
if [ "$(node -p "try { require('./$dir/node_modules/gltf-validator/package.json').version } catch (e) { '' }")" != "$version" ]; then
  (cd "$dir" && npm install --no-audit --no-fund --silent "gltf-validator@$version")
fi
node -e "require('./$dir/node_modules/gltf-validator')" || { echo "gltf-validator did not install in $dir" >&2; exit 1; }
echo "gltf-validator $version in $dir"
