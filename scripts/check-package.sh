#!/usr/bin/env bash
# Inspects the Debian package that scripts/package.sh made in build/deb/: its control fields, the
# packages it depends on, the files it holds (the programs, the desktop entry, metainfo, icons,
# manual page, completion, copyright and changelog, nothing of the tests or tools), the hardened
# and stripped programs and their -dbgsym package, then runs lintian on the packages and the
# build's .changes and .buildinfo: any error or warning fails, the remaining notes are listed.
set -euo pipefail
cd "$(dirname "$0")/.."
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg --print-architecture)
deb=build/deb/paysum_${version}_$arch.deb
dbgsym=build/deb/paysum-dbgsym_${version}_$arch.deb
changes=build/deb/paysum_${version}_$arch.changes
for file in "$deb" "$dbgsym" "$changes" "build/deb/paysum_${version}_$arch.buildinfo"; do
    [ -f "$file" ] || fail "no $file: run scripts/package.sh first"
done
echo "== $deb"
dpkg-deb -I "$deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = paysum ] || fail "package name"
[ "$(field Version)" = "$version" ] || fail "version $(field Version), not $version"
[ "$(field Architecture)" = "$arch" ] || fail "architecture $(field Architecture)"
for name in Maintainer Section Priority Installed-Size Description; do
    [ -n "$(field "$name")" ] || fail "no $name"
done
[ -z "$(field Homepage)" ] || fail "a homepage that is not real: $(field Homepage)"

# What the programs link, from the libraries' own packages; what they load at run time, named
# by hand: the SQLite driver, Qt's Chinese catalogue and the CJK fonts. Nothing else.
depends=$(field Depends | tr -d ' ' | tr ',' '\n' | sed 's/(.*//' | sort)
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6sql6 \
    libqt6printsupport6 libsqlite3-0 libcsv3 libqt6sql6-sqlite qt6-translations-l10n \
    fonts-noto-cjk; do
    grep -qx "$package" <<<"$depends" || fail "does not depend on $package"
done
grep -q '^libicu[0-9]*$' <<<"$depends" || fail "does not depend on ICU"
unexpected=$(grep -vE '^(libc6|libstdc\+\+6|libgcc-s1|libqt6(core|gui|widgets|sql|printsupport|network)6(t64)?|libqt6core5compat6|libquazip1-qt6-1|libsqlite3-0|libcsv3|libicu[0-9]+|libqt6sql6-sqlite|qt6-translations-l10n|fonts-noto-cjk)$' <<<"$depends" || true)
[ -z "$unexpected" ] || fail "depends on more than it needs: $unexpected"

echo "== contents"
contents=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | sed 's|^\./||' | sort)
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
        echo usr/share/man/man1/paysum.1.gz
        echo usr/share/man/zh_TW/man1/paysum.1.gz
        echo usr/share/bash-completion/completions/paysum
        echo usr/share/doc/paysum/copyright
        echo usr/share/doc/paysum/changelog.Debian.gz
        echo usr/share/lintian/overrides/paysum
        # The user guide: its page and every picture of the source tree's docs/guide.
        echo usr/share/doc/paysum/guide/index.html
        (cd docs/guide && find images -name '*.png' | sed 's|^|usr/share/doc/paysum/guide/|')
    } | sort
)
[ "$contents" = "$expected" ] ||
    fail "package files differ:
$(diff <(echo "$expected") <(echo "$contents") || true)"

# The programs: stripped, position independent, read-only relocations bound at start, the stack
# protector on; their debugging symbols are in the -dbgsym package.
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree/paysum"
dpkg-deb -x "$dbgsym" "$tree/dbgsym"
[ "$(dpkg-deb -f "$dbgsym" Depends)" = "paysum (= $version)" ] || fail "dbgsym Depends"
echo "== programs"
for program in usr/bin/paysum usr/libexec/paysum/paysum-pdf usr/libexec/paysum/paysum-windows; do
    elf="$tree/paysum/$program"
    description=$(file -b "$elf")
    echo "$program: $description"
    grep -q 'pie executable' <<<"$description" || fail "$program is not position independent"
    grep -q ', stripped' <<<"$description" || fail "$program is not stripped"
    dynamic=$(readelf -d "$elf")
    grep -q 'BIND_NOW' <<<"$dynamic" || fail "$program lacks BIND_NOW"
    readelf -lW "$elf" | grep -q GNU_RELRO || fail "$program lacks RELRO"
    symbols=$(readelf -sW --dyn-syms "$elf")
    grep -q __stack_chk_fail <<<"$symbols" || fail "$program: no stack protector"
    build_id=$(readelf -n "$elf" | sed -n 's/.*Build ID: \([0-9a-f]*\)/\1/p')
    [ -f "$tree/dbgsym/usr/lib/debug/.build-id/${build_id:0:2}/${build_id:2}.debug" ] ||
        fail "$program has no debugging symbols in $dbgsym"
done
# Unpacked into a staging root, the program answers and finds its helpers under libexec.
root="$tree/paysum"
answer=$(env -i PATH=/usr/bin:/bin PAYSUM_DATA_DIR="$tree/data" "$root/usr/bin/paysum" --version) ||
    fail "paysum --version failed"
[ "$answer" = "PAYSUM ${version%-*}" ] || fail "paysum --version said '$answer'"
said=$(env -i PATH=/usr/bin:/bin PAYSUM_DATA_DIR="$tree/data" \
    "$root/usr/bin/paysum" list --pdf "$tree/list.pdf" 2>&1) && fail "list ran without a data folder"
[[ $said == *"$tree/data/PAYSUM.db"* ]] || fail "paysum did not start its PDF helper: $said"

# _FORTIFY_SOURCE is on, but the programs make no call it can check (every buffer they hand libc
# is of a size known safe, or known only at run time), so there is no __*_chk to look for.
if command -v hardening-check >/dev/null; then
    hardening-check "$tree"/paysum/usr/bin/paysum "$tree"/paysum/usr/libexec/paysum/*
fi

echo "== lintian"
report=$(lintian --fail-on error,warning --display-info "$changes") ||
    fail "lintian finds errors or warnings:
$report"
echo "${report:-no tags}"
echo "package $deb is complete"
