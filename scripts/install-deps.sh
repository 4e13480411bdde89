#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the benchmarks and the content tools need.
set -euo pipefail
SUDO=""
if [ "$(id -u)" != "0" ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
PKGS=(
  build-essential cmake pkg-config ninja-build
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev
  libglew-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0
  libtinyxml-dev
  libgtest-dev libgmock-dev googletest
  xvfb xauth xdotool
  clang-14 libclang-rt-14-dev
  libbox2d-dev libchipmunk-dev
  fonts-noto-core python3 python3-pil python3-numpy
  sox vorbis-tools
  binutils
)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
