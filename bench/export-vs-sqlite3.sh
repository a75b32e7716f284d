#!/usr/bin/env bash
# Times `paysum export` of a batch of 999 transfers as a whole process, beside the floor of the
# same 999 detail lines written by the sqlite3 command-line tool with printf from the same table.
# Usage: bench/export-vs-sqlite3.sh [build/paysum] [runs]
set -euo pipefail
paysum=${1:-build/paysum}
runs=${2:-50}
command -v sqlite3 >/dev/null || { echo "needs the sqlite3 command-line tool (apt-get install sqlite3)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PAYSUM_DATA_DIR="$work/data"
mkdir -p "$PAYSUM_DATA_DIR"
today=$(printf "%02d%s" $(( ($(date +%Y) - 1911) % 100 )) "$(date +%m%d)")
sqlite3 "$PAYSUM_DATA_DIR/PAYSUM.db" <<SQL
CREATE TABLE S_BASE (BRNO TEXT NOT NULL DEFAULT '', CNAME TEXT NOT NULL DEFAULT '', CUSTNO TEXT NOT NULL DEFAULT '', UNINO TEXT NOT NULL DEFAULT '', SIGN1 TEXT NOT NULL DEFAULT '', SIGN2 TEXT NOT NULL DEFAULT '', SIGN3 TEXT NOT NULL DEFAULT '');
CREATE TABLE S_STAFF (ID TEXT NOT NULL DEFAULT '', ACTNO TEXT NOT NULL DEFAULT '', PAYSUM TEXT NOT NULL DEFAULT '', NAME TEXT NOT NULL DEFAULT '', AT TEXT NOT NULL DEFAULT '');
CREATE UNIQUE INDEX S_STAFF_ID ON S_STAFF (ID);
CREATE TABLE S_ITEM (ID TEXT NOT NULL DEFAULT '', ACTNO TEXT NOT NULL DEFAULT '', PAYSUM TEXT NOT NULL DEFAULT '', NAME TEXT NOT NULL DEFAULT '', AT TEXT NOT NULL DEFAULT '', MARK TEXT NOT NULL DEFAULT '');
CREATE UNIQUE INDEX S_ITEM_ID ON S_ITEM (ID);
CREATE TABLE S_DAY (LDATE TEXT NOT NULL DEFAULT '', TDATE TEXT NOT NULL DEFAULT '');
CREATE TABLE NNOO (NO1 TEXT NOT NULL DEFAULT '', NO2 TEXT NOT NULL DEFAULT '', NO3 TEXT NOT NULL DEFAULT '', NO4 TEXT NOT NULL DEFAULT '', NO5 TEXT NOT NULL DEFAULT '', NO6 TEXT NOT NULL DEFAULT '', NO7 TEXT NOT NULL DEFAULT '', NO8 TEXT NOT NULL DEFAULT '', NO9 TEXT NOT NULL DEFAULT '', NO10 TEXT NOT NULL DEFAULT '');
INSERT INTO S_BASE VALUES ('123', '大安實業', '045', '12345678', '', '', '');
INSERT INTO S_DAY VALUES ('$today', '$today');
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 999)
INSERT INTO S_ITEM SELECT printf('%05d', i), '123456789014', CAST(30000 + i AS TEXT), '王小明', '', '' FROM n;
SQL
sqlite3 "$PAYSUM_DATA_DIR/BRANCH.db" \
    "CREATE TABLE RTBANK (BKBRNO TEXT NOT NULL DEFAULT '', BNAME TEXT NOT NULL DEFAULT '', FNAME TEXT NOT NULL DEFAULT ''); CREATE UNIQUE INDEX RTBANK_BKBRNO ON RTBANK (BKBRNO);"

floor_sql="SELECT printf('   %014d%012d%-30s9', ACTNO, PAYSUM, AT) FROM S_ITEM ORDER BY rowid;"
"$paysum" export "$work/paysum.txt" >/dev/null
sqlite3 "$PAYSUM_DATA_DIR/PAYSUM.db" "$floor_sql" >"$work/floor.txt"
# The same detail lines, apart from the line ends and the header the floor leaves out.
if ! diff <(tail -n +2 "$work/paysum.txt" | tr -d '\r') "$work/floor.txt" >/dev/null; then
    echo "the two files differ" >&2
    exit 1
fi

milliseconds() {
    local start end
    start=$(date +%s%N)
    for _ in $(seq "$runs"); do "$@" >/dev/null; done
    end=$(date +%s%N)
    echo "scale=2; ($end - $start) / 1000000 / $runs" | bc
}
export_ms=$(milliseconds "$paysum" export "$work/paysum.txt")
floor_ms=$(milliseconds sqlite3 "$PAYSUM_DATA_DIR/PAYSUM.db" "$floor_sql")
echo "paysum export, 999 transfers: $export_ms ms a run"
echo "sqlite3 printf floor:         $floor_ms ms a run"
echo "ratio: $(echo "scale=2; $export_ms / $floor_ms" | bc)"
