#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR, as a package build does, and checks the tree:
# only the program, its helpers (the windows and the PDF list), its desktop entry, metainfo,
# icons and user guide, each valid, and a program that answers --version without a display and
# without touching a data folder, and finds its helpers where they are installed.
#   check-install.sh BUILD_DIR VERSION APP_ID "ICON SIZES"
set -euo pipefail
build=$1 version=$2 id=$3 sizes=$4

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

DESTDIR="$stage/root" cmake --install "$build" --prefix /usr >/dev/null
usr="$stage/root/usr"

expected=(
    bin/paysum
    libexec/paysum/paysum-pdf
    libexec/paysum/paysum-windows
    "share/applications/$id.desktop"
    "share/metainfo/$id.metainfo.xml"
    "share/icons/hicolor/scalable/apps/$id.svg"
)
for size in $sizes; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
# The user guide: its page and every picture of the source tree's docs/guide.
guide_source=$(cd "$(dirname "$0")/../../docs/guide" && pwd)
expected+=(share/doc/paysum/guide/index.html)
while IFS= read -r picture; do
    expected+=("share/doc/paysum/guide/$picture")
done < <(cd "$guide_source" && find images -name '*.png' | sort)
installed=$(cd "$stage/root" && find . ! -type d | sed 's|^\./||' | sort)
wanted=$(printf 'usr/%s\n' "${expected[@]}" | sort)
[ "$installed" = "$wanted" ] ||
    fail "installed files differ from the expected ones:
$(diff <(echo "$wanted") <(echo "$installed") || true)"

for program in bin/paysum libexec/paysum/paysum-pdf libexec/paysum/paysum-windows; do
    [ -x "$usr/$program" ] || fail "$program is not executable"
    file "$usr/$program" | grep -q ELF || fail "$program is not a program"
done

desktop="$usr/share/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "desktop entry does not validate"
for line in "Name=PAYSUM" "Exec=paysum" "Icon=$id" "Categories=Office;Finance;"; do
    grep -qxF "$line" "$desktop" || fail "desktop entry lacks $line"
done
grep -q '^Name\[zh_TW\]=.*薪資' "$desktop" || fail "desktop entry lacks a Chinese name"
grep -q '^Comment\[zh_TW\]=.*轉帳' "$desktop" || fail "desktop entry lacks a Chinese comment"

metainfo="$usr/share/metainfo/$id.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >/dev/null || {
    appstreamcli validate --no-net "$metainfo" >&2 || true
    fail "metainfo does not validate"
}
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo lacks release $version"
grep -q '<screenshot type="default">' "$metainfo" || fail "metainfo lacks a screenshot"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not name the desktop entry"

file "$usr/share/icons/hicolor/scalable/apps/$id.svg" | grep -q SVG || fail "the icon is no SVG"
for size in $sizes; do
    png="$usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    file "$png" | grep -q "PNG image data, $size x $size," || fail "$png: $(file -b "$png")"
done

# Every picture the guide shows is installed beside it.
guide="$usr/share/doc/paysum/guide"
grep -o 'src="[^"]*"' "$guide/index.html" | sed 's/^src="//; s/"$//' | while IFS= read -r src; do
    [ -f "$guide/$src" ] || fail "the guide shows $src, which is not installed"
done
grep -q '<title>.*使用說明</title>' "$guide/index.html" || fail "the guide has no Chinese title"

# No display, no platform and a data folder that must not appear.
answer=$(env -i PATH=/usr/bin:/bin PAYSUM_DATA_DIR="$stage/data" HOME="$stage/home" \
    "$usr/bin/paysum" --version) || fail "paysum --version failed"
[ "$answer" = "PAYSUM $version" ] || fail "paysum --version said '$answer'"
[ ! -e "$stage/data" ] || fail "paysum --version created the data folder"

# The PDF list is drawn by the helper: it starts, and finds no data folder to read.
said=$(env -i PATH=/usr/bin:/bin PAYSUM_DATA_DIR="$stage/data" HOME="$stage/home" \
    "$usr/bin/paysum" list --pdf "$stage/list.pdf" 2>&1) && fail "list ran without a data folder"
case $said in
*找不到*) fail "paysum did not find its PDF helper: $said" ;;
*"$stage/data/PAYSUM.db"*) ;;
*) fail "paysum list said '$said'" ;;
esac

echo "installed tree of PAYSUM $version is complete"
