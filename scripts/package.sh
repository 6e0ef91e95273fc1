#!/usr/bin/env bash
# Builds the release a user downloads: Vintrel.scr in Release (the module only, in its own build
# tree build/package), then dist/Vintrel-<version>-win64.zip with a short README.txt; vintrel in
# Release (build/package-linux), then the Debian package dist/vintrel_<version>_<arch>.deb, which
# lintian must pass without errors; and dist/SHA256SUMS over both. Two clones of the same commit
# give the same bytes wherever they lie.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

# Every date in the release is the commit's.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH

cmake --preset package >/dev/null
cmake --build --preset package --target Vintrel
version=$(sed -n 's/^#define VINTREL_VERSION_TEXT "\(.*\)"$/\1/p' build/package/generated/vintrel_version.h)
zip=$(./scripts/release-zip.sh build/package/bin/Vintrel.scr "$version" dist)

cmake --preset package-linux >/dev/null
cmake --build --preset package-linux --target vintrel
deb=$(./scripts/debian-package.sh build/package-linux dist)
lintian --fail-on error "$deb"

(cd dist && sha256sum "$(basename "$zip")" "$(basename "$deb")" > SHA256SUMS)
echo "$zip"
echo "$deb"
