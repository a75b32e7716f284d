#!/usr/bin/env bash
# Checks which libraries the command line loads, dlopen()ed plugins included: every command but the
# PDF list runs without Qt Gui and Qt Widgets (no X11, no OpenGL), the PDF list without Qt Widgets.
#   check-libraries.sh BUILD_DIR
set -euo pipefail
build=$1
paysum=$build/paysum
command -v sqlite3 >/dev/null || { echo "skipped: needs the sqlite3 tool"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
export PAYSUM_DATA_DIR=$work/data
# The windows make a new data folder on their first start; they are stopped once it is there.
QT_QPA_PLATFORM=offscreen "$paysum" >/dev/null 2>&1 &
windows=$!
for _ in $(seq 100); do
    [ -s "$PAYSUM_DATA_DIR/PAYSUM.db" ] && [ -s "$PAYSUM_DATA_DIR/BRANCH.db" ] && break
    sleep 0.1
done
kill "$windows" 2>/dev/null || true
wait "$windows" 2>/dev/null || true
[ -s "$PAYSUM_DATA_DIR/PAYSUM.db" ] || fail "the windows made no data folder"

# The company and the batch dates, today, as the windows would store them
# (sqlite3 comes with the tests' packages).
today=$(printf "%03d%s" $(($(date +%Y) - 1911)) "$(date +%m%d)")
sqlite3 "$PAYSUM_DATA_DIR/PAYSUM.db" "DELETE FROM S_DAY; INSERT INTO S_DAY VALUES ('${today: -6}', '${today: -6}');
    INSERT INTO S_BASE (BRNO, CNAME, CUSTNO, UNINO) VALUES ('123', '大安實業', '045', '12345678');"
printf '員工代碼,員工帳號,員工薪資,員工姓名\r\n00001,004001012341,35000,王小明\r\n' >"$work/staff.csv"
printf '員工代碼,員工帳號,轉帳金額,員工姓名\r\n00001,004001012341,35000,王小明\r\n' >"$work/transfers.csv"

# The libraries the command loads, one file name a line.
loaded() {
    LD_DEBUG=files LD_DEBUG_OUTPUT=$work/ld "$paysum" "$@" >/dev/null 2>&1 || true
    cat "$work"/ld.* | sed -n 's/.*file=\([^ ]*\).*/\1/p' | sort -u
    rm -f "$work"/ld.*
}

for command in "--version" "--help" "import employees $work/staff.csv" \
    "import transfers $work/transfers.csv" "export $work/batch.txt" "verify $work/batch.txt" \
    "verify $work/batch.txt --batch" "history" "history --json"; do
    # shellcheck disable=SC2086
    libraries=$(loaded $command)
    echo "$libraries" | grep -q 'libQt6Core' || fail "paysum $command: no Qt Core loaded?"
    if bad=$(echo "$libraries" | grep -E 'libQt6(Gui|Widgets|PrintSupport|Network|XcbQpa|OpenGL)|libX11|libxcb|libGL|libEGL'); then
        fail "paysum $command loads $bad"
    fi
done
[ -s "$work/batch.txt" ] || fail "paysum export wrote no batch file"
grep -q 'libqsqlite' <<<"$(loaded history)" || fail "paysum history loads no SQLite driver?"

libraries=$(loaded list --pdf "$work/list.pdf")
[ -s "$work/list.pdf" ] || fail "paysum list wrote no PDF"
echo "$libraries" | grep -q 'libQt6Gui' || fail "paysum list: no Qt Gui loaded?"
if bad=$(echo "$libraries" | grep -E 'libQt6(Widgets|PrintSupport|Network)'); then
    fail "paysum list --pdf loads $bad"
fi
echo "the command line loads neither Qt Widgets nor, but for the PDF list, Qt Gui"
