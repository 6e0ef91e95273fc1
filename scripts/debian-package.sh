#!/usr/bin/env bash
# Writes OUT_DIR/vintrel_VERSION_ARCH.deb from a built native tree's own install rules (prefix
# /usr), with the Debian files of packaging/debian, and prints its path. The bytes depend only on
# the built files, the version and SOURCE_DATE_EPOCH: every date is that time, owners root, modes
# fixed, nothing from the umask or the folders the trees lie in.
# Usage: debian-package.sh BUILD_DIR OUT_DIR   (scripts/package.sh runs it on a Release tree)
set -euo pipefail
build_dir=$(cd "$1" && pwd) out_dir=$2
: "${SOURCE_DATE_EPOCH:?set SOURCE_DATE_EPOCH, for example to git log -1 --format=%ct}"
here=$(cd "$(dirname "$0")/.." && pwd)
debian="$here/packaging/debian"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
architecture=$(dpkg --print-architecture)
umask 022
export LC_ALL=C

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
root="$stage/debian/vintrel"
DESTDIR="$root" cmake --install "$build_dir" --prefix /usr >/dev/null
program="$root/usr/libexec/xscreensaver/vintrel"
# As dh_strip does: no symbols, no compiler notes.
strip --remove-section=.comment --remove-section=.note "$program"
gzip -9n "$root/usr/share/man/man6/vintrel.6"
doc="$root/usr/share/doc/vintrel"
mkdir -p "$doc"
cp "$debian/copyright" "$debian/README.Debian" "$doc/"
sed -e "s/@VERSION@/$version/" -e "s/@DATE@/$(date -u -R -d "@$SOURCE_DATE_EPOCH")/" \
    "$debian/changelog.in" | gzip -9n > "$doc/changelog.gz"

# The libraries the program links, as packages with versions (dpkg-shlibdeps reads the package's
# name from debian/control, and the package's root is the folder holding DEBIAN).
mkdir -p "$root/DEBIAN"
printf 'Source: vintrel\n\nPackage: vintrel\nArchitecture: any\n' > "$stage/debian/control"
depends=$(cd "$stage" && dpkg-shlibdeps -O "$program" | sed -n 's/^shlibs:Depends=//p')

# Installed-Size as dpkg-gencontrol counts it: KiB per file, rounded up, and one per folder.
installed_size=$(find "$root" -mindepth 1 -path "$root/DEBIAN" -prune -o -printf '%y %s\n' |
                 awk '{ kib += ($1 == "f") ? int(($2 + 1023) / 1024) : 1 } END { print kib }')
sed -e "s/@VERSION@/$version/" -e "s/@ARCHITECTURE@/$architecture/" -e "s/@DEPENDS@/$depends/" \
    -e "s/@INSTALLED_SIZE@/$installed_size/" "$debian/control.in" > "$root/DEBIAN/control"
(cd "$root" && find usr -type f | sort | xargs md5sum) > "$root/DEBIAN/md5sums"

mkdir -p "$out_dir"
deb="$out_dir/vintrel_${version}_${architecture}.deb"
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"
