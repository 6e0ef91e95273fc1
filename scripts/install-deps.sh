#!/usr/bin/env bash
# Installs from Debian's packages whatever the build and the tests need and the machine lacks.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    g++-mingw-w64-x86-64-posix
    wine wine64 xvfb xauth
    libgl1-mesa-dri libegl-mesa0 libegl-dev libgl-dev libglu1-mesa-dev
    libpng-dev libgtest-dev libbenchmark-dev
    python3 python3-glad imagemagick icoutils
    libx11-dev libxrandr-dev libxinerama-dev xscreensaver xscreensaver-gl procps
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
    dpkg-dev lintian desktop-file-utils man-db groff-base
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
