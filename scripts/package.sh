#!/usr/bin/env bash
# Installs what is missing and builds the Debian package from debian/ with dpkg-buildpackage
# (debhelper, CMake, Release, no tests) in a copy of the tree under build/deb/, so that nothing
# is written beside the tree. The results land in build/deb/: paysum_VERSION-REVISION_ARCH.deb,
# its paysum-dbgsym package, the .changes and the .buildinfo.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

version=$(dpkg-parsechangelog -S Version)
upstream=$(sed -n 's/^project(PAYSUM VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "${version%-*}" = "$upstream" ] || {
    echo "debian/changelog is at $version, CMakeLists.txt at $upstream" >&2
    exit 1
}

out=build/deb
source="$out/src/paysum-$upstream"
rm -rf "$out"
mkdir -p "$source"
tar --exclude=./.git --exclude=./build --exclude='./build-*' --exclude=./out -cf - . |
    tar -xf - -C "$source"
# ccache gives the same objects, only sooner on a second build.
if command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
(cd "$source" && dpkg-buildpackage -us -uc -b)
mv "$out"/src/*.deb "$out"/src/*.changes "$out"/src/*.buildinfo "$out"/
rm -rf "$out/src"
ls -l "$out"
