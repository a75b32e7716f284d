#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR, as a package build does, and checks the tree:
# only the program, its helpers (the windows and the PDF list), its desktop entry, metainfo,
# icons, manual page, bash completion and user guide, each valid, and a program that answers
# --version without a display and without touching a data folder, and finds its helpers where
# they are installed. The manual page must tell every command and option the program's help tells.
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
    share/man/man1/paysum.1
    share/man/zh_TW/man1/paysum.1
    share/bash-completion/completions/paysum
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
# The windows' WM_CLASS is the application name, PAYSUM, which ties them to the entry.
for line in "Name=PAYSUM" "Exec=paysum" "Icon=$id" "Categories=Office;Finance;" \
    "StartupWMClass=PAYSUM"; do
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
! grep -q 'example\.' "$desktop" "$metainfo" || fail "a placeholder address is left"
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

# The manual page renders without a warning (as lintian runs it) and tells every usage line and
# option of the help, with the option's text.
man="$usr/share/man/man1/paysum.1"
cmp -s "$man" "$usr/share/man/zh_TW/man1/paysum.1" || fail "the two manual pages differ"
said=$(man --warnings -E UTF-8 -l -Tutf8 -Z "$man" 2>&1 >/dev/null) || fail "man failed: $said"
[ -z "$said" ] || fail "the manual page renders with warnings: $said"
page=$(preconv "$man" | groff -man -Tutf8 -rLL=300n -P-cbou 2>/dev/null | sed 's/^ *//')
run() { env -i PATH=/usr/bin:/bin PAYSUM_DATA_DIR="$stage/data" "$usr/bin/paysum" "$@"; }
help=$(run --help) || fail "paysum --help failed"
# The commands are the lowercase words that begin each line of the help's command list.
commands=$(sed -n '/^命令：/,/^$/ s/^  \([a-z]\+\( [a-z]\+\)*\)\( .*\)\?$/\1/p' <<<"$help")
[ "$(wc -l <<<"$commands")" -ge 6 ] || fail "the help lists too few commands: $commands"
helps=$(
    echo "$help"
    while IFS= read -r command; do
        # shellcheck disable=SC2086
        run $command --help || fail "paysum $command --help failed"
    done <<<"$commands"
)
while IFS= read -r usage; do
    grep -qxF -- "$usage" <<<"$page" || fail "the manual page lacks the usage '$usage'"
done < <(sed -n 's/^用法：\(paysum [a-z].*\)/\1/p' <<<"$helps" | sort -u)
while IFS= read -r line; do
    option=$(sed 's/^ *\([^ ].*[^ ]\)  .*/\1/' <<<"$line")
    text=$(sed 's/.*  *//' <<<"$line")
    grep -q -- "^$option\( \|$\)" <<<"$page" || fail "the manual page lacks the option '$option'"
    grep -qF -- "$text" <<<"$page" || fail "the manual page lacks the text of $option: $text"
done < <(grep -E '^  -' <<<"$helps" | sort -u)

# The completion offers the commands, their words and options, and file names.
complete_at() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _paysum
             printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort | tr "\n" " "' \
        _ "$usr/share/bash-completion/completions/paysum" paysum "$@"
}
touch "$stage/march.csv"
for case in "|export history import list verify " "-|--help --version -h -v " \
    "import |employees transfers " "import transfers $stage/mar|$stage/march.csv " \
    "verify x --|--batch --help --json " "history |export " "history --|--help --json " \
    "list |--pdf " "list --pdf $stage/m|$stage/march.csv " "import employees x --d|--dry-run " \
    "import --sheet 工作表1 employees $stage/mar|$stage/march.csv " "import --sheet | "; do
    read -ra words <<<"${case%|*}"
    [[ ${case%|*} == *" " || -z ${case%|*} ]] && words+=("")
    got=$(complete_at "${words[@]}")
    [ "$got" = "${case#*|}" ] || fail "completing '${case%|*}' gave '$got', not '${case#*|}'"
done

echo "installed tree of PAYSUM $version is complete"
