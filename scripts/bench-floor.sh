#!/usr/bin/env bash
# Floors that the program's own figures are read against.
#
#   scripts/bench-floor.sh [sql] [EMPLOYEES ...]
#       the scale benchmarks' SQL timed in the sqlite3 tool (default 1000 10000 99999 employees)
#   scripts/bench-floor.sh export [PAYSUM] [RUNS]
#       `paysum export` of 999 transfers with 10,000 employees beside the sqlite3 tool running a
#       .sql script that writes the identical file (default 50 runs; target 1.5 times)
#   scripts/bench-floor.sh version [PAYSUM] [RUNS]
#       `paysum --version` beside a Qt Core program printing a line (default 200 runs; 1.2 times)
#   scripts/bench-floor.sh windows [PAYSUM] [RUNS]
#       the windows' start to the main window's first paint beside a Qt Widgets program showing
#       one label, wall time and peak memory (default 30 runs; 1.5 and 1.3 times)
#   scripts/bench-floor.sh process [PAYSUM]
#       the three whole-process comparisons above
#
# PAYSUM defaults to build/paysum; the programs it is compared with are built beside it, in its
# bench/ folder (cmake --build build --target paysum_floor_core_hello paysum_floor_label_hello
# paysum_windows_start). Each pair runs alternately, so that the noise of a shared machine falls
# on both; the figures are medians of the wall time of whole processes, beside the mean processor
# time (user and system), which the disk and the other work of the machine disturb less.
set -euo pipefail

# ---- The scale benchmarks' SQL in the sqlite3 tool ------------------------------------------------

sql_floor() {
    # Moving the run of 10,000 codes from 40001 up by one, as the program does: the columns
    # rotated, one code changed.
    local move
    move=$(cat <<'SQL'
UPDATE S_STAFF SET ACTNO = moved.ACTNO, PAYSUM = moved.PAYSUM, NAME = moved.NAME, AT = moved.AT
  FROM (SELECT CASE WHEN ID = '50000' THEN '40001' ELSE printf('%05d', CAST(ID AS INTEGER) + 1) END AS ID,
               ACTNO, PAYSUM, NAME, AT FROM S_STAFF
        WHERE ID BETWEEN '40001' AND '50000' AND length(ID) = 5 AND ID GLOB '[0-9][0-9][0-9][0-9][0-9]') AS moved
  WHERE S_STAFF.ID = moved.ID;
UPDATE S_STAFF SET ID = '50001' WHERE ID = '40001';
SQL
)
    local sizes=("$@")
    [ ${#sizes[@]} -gt 0 ] || sizes=(1000 10000 99999)
    for size in "${sizes[@]}"; do
        local db="$work/floor-$size.db"
        sqlite3 "$db" <<SQL
CREATE TABLE S_STAFF (ID TEXT NOT NULL DEFAULT '', ACTNO TEXT NOT NULL DEFAULT '',
  PAYSUM TEXT NOT NULL DEFAULT '', NAME TEXT NOT NULL DEFAULT '', AT TEXT NOT NULL DEFAULT '');
CREATE UNIQUE INDEX S_STAFF_ID ON S_STAFF (ID);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $size)
INSERT INTO S_STAFF SELECT printf('%05d', i), '004001012341', '35000', '員工' || i, ''
  FROM n WHERE i <> 50001;
SQL
        echo "== $size employees"
        sqlite3 "$db" <<SQL
.timer on
.print -- query filter, whole table: count and first page
SELECT count(*) FROM S_STAFF;
SELECT count(*) FROM (SELECT rowid, * FROM S_STAFF ORDER BY ID LIMIT 128 OFFSET 0);
.print -- query filter, prefix 0
SELECT count(*) FROM S_STAFF WHERE (ID >= '0' AND ID < '1');
SELECT count(*) FROM (SELECT rowid, * FROM S_STAFF WHERE (ID >= '0' AND ID < '1') ORDER BY ID LIMIT 128);
.print -- query filter, prefix 00012
SELECT count(*) FROM S_STAFF WHERE (ID >= '00012' AND ID < '00013');
.print -- moving a run of 10,000 codes up by one: the columns rotated, one code changed
BEGIN;
$move
ROLLBACK;
.print -- a newcomer at a free code, committed (synchronous=FULL, rollback journal), where it stands, and taken out
INSERT INTO S_STAFF VALUES ('50001', '004001012341', '35000', '新人', '');
SELECT count(*) FROM S_STAFF;
SELECT count(*) FROM S_STAFF WHERE ID >= '50001';
DELETE FROM S_STAFF WHERE ID = '50001';
.print -- the same move and a newcomer, committed
BEGIN;
$move
INSERT INTO S_STAFF VALUES ('40001', '004001012341', '35000', '新人', '');
COMMIT;
SQL
    done
}

# ---- Whole-process timing -------------------------------------------------------------------------

# Wall time of one run of a command, in microseconds, appended to $work/$1.ms, and the processor
# time (user and system) it took, appended to $work/$1.cpu; with measure_rss set, its peak resident
# memory in KiB appended to $work/$1.kb. A failing run ends the script.
once() {
    local side=$1
    shift
    local cpu_before start end
    children_cpu
    cpu_before=$cpu_ms
    start=$EPOCHREALTIME
    if [ -n "${measure_rss:-}" ]; then
        /usr/bin/time -a -o "$work/$side.kb" -f %M "$@" >/dev/null 2>&1 || fail "$*"
    else
        "$@" >/dev/null 2>&1 || fail "$*"
    fi
    end=$EPOCHREALTIME
    echo $(( ${end//[.,]/} - ${start//[.,]/} )) >>"$work/$side.ms"
    children_cpu
    echo $(( cpu_ms - cpu_before )) >>"$work/$side.cpu"
}

# Sets cpu_ms to the processor time, in milliseconds, of every child the shell has waited for: the
# second line of the `times` builtin, run in this shell (a subshell would count its own children).
children_cpu() {
    local user system
    times >"$work/times"
    { read -r _ && read -r user system; } <"$work/times"
    cpu_ms=$(( $(milliseconds "$user") + $(milliseconds "$system") ))
}

# "1m2.345s" (or "1m2,345s") in milliseconds.
milliseconds() {
    local minutes=${1%%m*} seconds=${1#*m}
    seconds=${seconds%s}
    echo $(( minutes * 60000 + 10#${seconds%[.,]*} * 1000 + 10#${seconds#*[.,]} ))
}

fail() {
    echo "a timed run failed: $1" >&2
    exit 1
}

median() {
    sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

# Runs the commands in the arrays `a` and `b` alternately, $runs times each, and prints each one's
# median wall time, mean processor time and, given RSS_TARGET, median peak memory, with the ratios
# a/b against their targets.
# Usage: compare LABEL_A LABEL_B TIME_TARGET [RSS_TARGET]
compare() {
    local label_a=$1 label_b=$2 time_target=$3 rss_target=${4:-}
    measure_rss=$rss_target
    if [ -n "$measure_rss" ] && [ ! -x /usr/bin/time ]; then
        echo "(peak memory not measured: /usr/bin/time is missing)"
        measure_rss=
    fi
    rm -f "$work"/[ab].ms "$work"/[ab].cpu "$work"/[ab].kb
    for _ in $(seq "$runs"); do
        once a "${a[@]}"
        once b "${b[@]}"
    done
    local ms_a ms_b cpu_a cpu_b
    ms_a=$(median "$work/a.ms" | awk '{ printf "%.2f", $1 / 1000 }')
    ms_b=$(median "$work/b.ms" | awk '{ printf "%.2f", $1 / 1000 }')
    cpu_a=$(awk '{ t += $1 } END { printf "%.2f", t / NR }' "$work/a.cpu")
    cpu_b=$(awk '{ t += $1 } END { printf "%.2f", t / NR }' "$work/b.cpu")
    printf '%-36s %8s ms wall %8s ms processor\n' "$label_a:" "$ms_a" "$cpu_a" "$label_b:" "$ms_b" "$cpu_b"
    echo "time ratio: $(awk -v a="$ms_a" -v b="$ms_b" 'BEGIN { printf "%.2f", a / b }')" \
        "(target <= $time_target; median wall time of $runs runs each;" \
        "processor time $(awk -v a="$cpu_a" -v b="$cpu_b" 'BEGIN { printf "%.2f", a / b }'))"
    if [ -n "$measure_rss" ]; then
        local kb_a kb_b
        kb_a=$(median "$work/a.kb")
        kb_b=$(median "$work/b.kb")
        printf '%-36s %8s MB peak resident\n' \
            "$label_a:" "$(awk -v k="$kb_a" 'BEGIN { printf "%.1f", k / 1024 }')" \
            "$label_b:" "$(awk -v k="$kb_b" 'BEGIN { printf "%.1f", k / 1024 }')"
        echo "peak memory ratio: $(awk -v a="$kb_a" -v b="$kb_b" 'BEGIN { printf "%.2f", a / b }')" \
            "(target <= $rss_target)"
    fi
}

# A floor program built beside the program, or the end of the script saying how to build it.
floor_program() {
    local program
    program="$(dirname "$paysum")/bench/$1"
    [ -x "$program" ] || {
        echo "needs $program: cmake --build $(dirname "$paysum") --target $1" >&2
        exit 1
    }
    echo "$program"
}

# ---- A data folder of a real size -----------------------------------------------------------------

# Makes $work/data a data folder as the program makes it on its first start, then fills it in
# sqlite3 with a company, today's dates, 10,000 employees and a batch of 999 transfers to 999 of
# them, no two to one account, each within three times the employee's pay: a batch that exports
# without a warning.
prepare_data() {
    [ -e "$work/data/PAYSUM.db" ] && return
    export PAYSUM_DATA_DIR="$work/data"
    # The windows create the folder on their first start and then wait on the clerk (a message
    # that there is no company yet): once the folder is in place (it is renamed into place whole),
    # the program is ended.
    QT_QPA_PLATFORM=offscreen "$paysum" >/dev/null 2>&1 &
    local windows=$!
    for _ in $(seq 200); do
        [ -e "$PAYSUM_DATA_DIR/PAYSUM.db" ] && break
        sleep 0.05
    done
    kill "$windows" 2>/dev/null || true
    wait "$windows" 2>/dev/null || true
    [ -e "$PAYSUM_DATA_DIR/PAYSUM.db" ] || { echo "$paysum made no data folder" >&2; exit 1; }
    # The two-digit ROC year, month and day: the program refuses a login date before today.
    local today
    today=$(printf '%02d%s' $(( ($(date +%Y) - 1911) % 100 )) "$(date +%m%d)")
    sqlite3 "$PAYSUM_DATA_DIR/PAYSUM.db" <<SQL
BEGIN;
INSERT INTO S_BASE VALUES ('123', '大安實業', '045', '12345678', '', '', '');
INSERT INTO S_DAY VALUES ('$today', '$today');
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000)
INSERT INTO S_STAFF SELECT printf('%05d', i), printf('004001%06d', i), '35000', '員工' || i, '' FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 999)
INSERT INTO S_ITEM SELECT printf('%05d', i), printf('004001%06d', i), CAST(30000 + i AS TEXT),
  '員工' || i, CASE WHEN i % 10 = 0 THEN printf('%08d', i) ELSE '' END, '' FROM n;
COMMIT;
SQL
}

# ---- The three whole-process comparisons ----------------------------------------------------------

export_floor() {
    runs=${1:-50}
    prepare_data
    echo "== paysum export: 999 transfers, 10,000 employees"
    # The batch transfer file as the program writes it: the header record, then a detail record a
    # transfer in the order entered, each 60 bytes and CR LF, nothing after the last.
    cat >"$work/floor.sql" <<SQL
.mode list
.headers off
.separator "" "\r\n"
.output "$work/floor.txt"
SELECT printf('%06d%06d%03d%08d%03d00000000000000%012d%04d   9', d.LDATE, d.TDATE, b.BRNO,
              b.UNINO, b.CUSTNO, (SELECT sum(CAST(PAYSUM AS INTEGER)) FROM S_ITEM), (SELECT count(*) FROM S_ITEM))
  FROM S_DAY AS d, S_BASE AS b;
SELECT printf('   %014d%012d%-8s%22s9', ACTNO, PAYSUM, AT, '') FROM S_ITEM ORDER BY rowid;
.output stdout
SQL
    "$paysum" export "$work/paysum.txt"
    sqlite3 "$PAYSUM_DATA_DIR/PAYSUM.db" ".read '$work/floor.sql'"
    if ! cmp "$work/paysum.txt" "$work/floor.txt"; then
        echo "FAILED: the floor's file is not the program's file byte for byte" >&2
        exit 1
    fi
    echo "the two files are identical ($(wc -c <"$work/paysum.txt") bytes)"
    a=("$paysum" export "$work/paysum.txt")
    b=(sqlite3 "$PAYSUM_DATA_DIR/PAYSUM.db" ".read '$work/floor.sql'")
    compare "paysum export" "sqlite3 running floor.sql" 1.5
}

version_floor() {
    runs=${1:-200}
    local hello
    hello=$(floor_program paysum_floor_core_hello)
    echo "== paysum --version: $("$paysum" --version)"
    a=("$paysum" --version)
    b=("$hello")
    compare "paysum --version" "Qt Core program printing a line" 1.2
}

windows_floor() {
    runs=${1:-30}
    local start label
    start=$(floor_program paysum_windows_start)
    label=$(floor_program paysum_floor_label_hello)
    prepare_data
    local display
    if [ -n "${QT_QPA_PLATFORM:-}" ]; then
        display="QT_QPA_PLATFORM=$QT_QPA_PLATFORM"
    elif [ -n "${DISPLAY:-}" ]; then
        display="X server $DISPLAY"
    else
        export QT_QPA_PLATFORM=offscreen
        display="QT_QPA_PLATFORM=offscreen"
    fi
    echo "== windows start to the main window's first paint ($display)"
    # One run first: the main window must open on this folder without a question.
    timeout 20 "$start" >/dev/null 2>&1 || { echo "FAILED: the windows did not start and paint" >&2; exit 1; }
    a=("$start")
    b=("$label")
    compare "PAYSUM windows, first paint" "Qt Widgets label of Chinese text" 1.5 1.3
}

# ---- Which part to run ----------------------------------------------------------------------------

command -v sqlite3 >/dev/null || { echo "needs the sqlite3 command-line tool (apt-get install sqlite3)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Qt's note on a missing runtime folder would otherwise come with every run.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
fi

# Without a mode, or with numbers of employees alone, the SQL floor, as before the other parts.
mode=sql
if [ $# -gt 0 ] && ! [[ $1 =~ ^[0-9]+$ ]]; then
    mode=$1
    shift
fi
paysum=${1:-build/paysum}
[ "$mode" = sql ] || [ -x "$paysum" ] || { echo "no program at $paysum" >&2; exit 1; }
case $mode in
    sql) sql_floor "$@" ;;
    export) export_floor "${2:-}" ;;
    version) version_floor "${2:-}" ;;
    windows) windows_floor "${2:-}" ;;
    process)
        export_floor
        version_floor
        windows_floor
        ;;
    *)
        sed -n '2,15p' "$0" >&2
        exit 2
        ;;
esac
