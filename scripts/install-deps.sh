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
    libwayland-dev libwayland-bin wayland-protocols sway grim wtype swayidle weston
)
# The wlroots protocols (layer shell, virtual pointer), which Debian ships only inside a Rust
# package: its files are unpacked here, without installing it or anything it depends on.
wlr_protocols=/usr/local/share/wlr-protocols

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
have_wlr_protocols=false
[ -f "$wlr_protocols/unstable/wlr-layer-shell-unstable-v1.xml" ] && have_wlr_protocols=true
[ ${#missing[@]} -eq 0 ] && $have_wlr_protocols && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}" >&2
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if ! $have_wlr_protocols; then
    echo "Unpacking the wlroots protocols into $wlr_protocols" >&2
    download=$(mktemp -d)
    chmod 777 "$download"  # apt's download user writes there
    (cd "$download" && apt-get download -qq librust-wayland-protocols-dev 2>/dev/null)
    dpkg-deb -x "$download"/librust-wayland-protocols-dev_*.deb "$download/root"
    source_dir=$(find "$download/root" -type d -path '*/wlr-protocols/unstable' | head -1)
    $sudo mkdir -p "$wlr_protocols/unstable"
    $sudo cp "$source_dir"/*.xml "$wlr_protocols/unstable/"
    rm -rf "$download"
fi
