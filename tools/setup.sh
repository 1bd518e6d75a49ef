#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need.
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang-format
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  juce-modules-source-data
  libpng-dev zlib1g-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core
  # the art tool letters with the condensed faces
  fonts-dejavu-extra
  libxcb1-dev xvfb xauth
  # the Linux editor host and its tests under a virtual X server
  libxcb-xfixes0-dev libxcb-keysyms1-dev libxcb-xtest0-dev
  libsndfile1-dev
  # the fuzz targets (libFuzzer comes with clang's runtime; llvm symbolizes crash stacks)
  clang libclang-rt-14-dev llvm
  # the third-party host check in tests/host-check
  libx11-dev libxext-dev libxrandr-dev libxinerama-dev libxcursor-dev libasound2-dev libjpeg-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
