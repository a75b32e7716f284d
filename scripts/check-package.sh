#!/usr/bin/env bash
# Inspects the Debian package that scripts/package.sh made: its control fields, the packages it
# depends on and the files it holds (the program, its desktop entry, metainfo and icons, nothing
# of the tests or tools).
set -euo pipefail
cd "$(dirname "$0")/.."
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
deb=$(ls build/paysum_"$version"_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no package of version $version in build/"
echo "== $deb"
dpkg-deb -I "$deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = paysum ] || fail "package name"
[ "$(field Version)" = "$version" ] || fail "version $(field Version), not $version"
for name in Maintainer Section Description; do
    [ -n "$(field "$name")" ] || fail "no $name"
done
depends=$(field Depends | tr -d ' ' | tr ',' '\n' | sed 's/(.*//')
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6sql6 libqt6printsupport6 \
    libqt6sql6-sqlite qt6-qpa-plugins qt6-translations-l10n fonts-noto-cjk libstdc++6; do
    grep -qx "$package" <<<"$depends" || fail "does not depend on $package"
done
grep -q '^libicu[0-9]*$' <<<"$depends" || fail "does not depend on ICU"

echo "== contents"
contents=$(dpkg-deb -c "$deb" | awk '{print $NF}' | grep -v '/$' | sed 's|^\./||' | sort)
echo "$contents"
id=tw.paysum.paysum
expected=$(
    {
        echo usr/bin/paysum
        echo usr/libexec/paysum/paysum-pdf
        echo usr/libexec/paysum/paysum-windows
        echo "usr/share/applications/$id.desktop"
        echo "usr/share/metainfo/$id.metainfo.xml"
        echo "usr/share/icons/hicolor/scalable/apps/$id.svg"
        for size in 16 22 24 32 48 64 128 256; do
            echo "usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
        done
    } | sort
)
[ "$contents" = "$expected" ] ||
    fail "package files differ:
$(diff <(echo "$expected") <(echo "$contents") || true)"
echo "package $deb is complete"
