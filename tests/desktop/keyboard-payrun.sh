#!/usr/bin/env bash
# One pay run keyed with Enter, Tab and the function keys alone, never the mouse, on a real X
# server with a window manager: from the main menu the company record (button 1), three payees
# and the batch dates in the transfer entry window (button 3), and the batch file (button 5),
# then a second start, which must bring the main menu forward, and button 8. Every window and
# message box must be the active one when it is due, as a clerk would find it; then the stored
# rows and the file's bytes are checked.
#
# Usage: keyboard-payrun.sh PAYSUM-EXECUTABLE
# Exits 77 (skipped) when Xvfb, openbox, xdotool or sqlite3 is not installed.
set -euo pipefail

paysum=${1:?usage: keyboard-payrun.sh PAYSUM-EXECUTABLE}
for tool in Xvfb openbox xdotool sqlite3; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed (Debian packages: xvfb openbox xdotool sqlite3)"
        exit 77
    fi
done

work=$(mktemp -d)
pids=()
finish() {
    local status=$?
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    if [ "$status" -ne 0 ]; then
        echo "--- program output"
        cat "$work/paysum.log" 2>/dev/null || true
    fi
    rm -rf "$work"
    exit "$status"
}
trap finish EXIT

step=""
fail() {
    echo "FAILED at $step: $*" >&2
    exit 1
}

# A display of its own, so that tests running side by side do not meet.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"

# A bare X server gives no window the focus; the window manager does, as on a desktop. The
# window titles are compared as UTF-8 whatever the caller's locale.
export LC_ALL=C.UTF-8
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
openbox --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    [ -e "$work/wm-ready" ] && break
    sleep 0.1
done
[ -e "$work/wm-ready" ] || fail "openbox did not start"

# ---- keys and windows

# The active window's id and title, or nothing while there is none.
active_id() { xdotool getactivewindow 2>/dev/null || true; }
title_of() { xdotool getwindowname "$1" 2>/dev/null || true; }

# Waits (at most 15 s) until a window titled $1 is the active one, other than window $2 when
# given, and prints its id.
wait_active() {
    local title=$1 other=${2:-} id
    for _ in $(seq 150); do
        id=$(active_id)
        if [ -n "$id" ] && [ "$id" != "$other" ] && [ "$(title_of "$id")" = "$title" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    id=$(active_id)
    fail "\"$title\" is not the active window; active: ${id:-none} \"$(title_of "${id:-0}")\""
}

# Waits for a new active window (not $1) whatever its title, and prints its id.
wait_other() {
    local other=$1 id
    for _ in $(seq 150); do
        id=$(active_id)
        if [ -n "$id" ] && [ "$id" != "$other" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    fail "no window came up over window $other"
}

key() { xdotool key --delay 40 "$@"; }
type_text() { xdotool type --delay 25 "$1"; }
enter() { key Return; }

# Answers the message box that comes up (titled PAYSUM, as the main menu is) with Enter, then
# waits until the window titled $1 (window $2 when given) is active again.
answer_box() {
    local title=$1 back=${2:-} box again
    box=$(wait_active "PAYSUM" "$main")
    enter
    again=$(wait_active "$title" "$box")
    [ -z "$back" ] || [ "$again" = "$back" ] ||
        fail "window $back is not active again after the message box"
}

# ---- the pay run

data="$work/data"
out="$work/out"
mkdir -p "$out"
file="$out/PAYSUM.TXT"
PAYSUM_DATA_DIR="$data" QT_QPA_PLATFORM=xcb "$paysum" >"$work/paysum.log" 2>&1 &
app=$!
pids+=("$app")

# The main menu comes up with "無基本資料，請先建檔。" over it; the box has the same title.
step="start"
main=""
for _ in $(seq 150); do
    for id in $(xdotool search --onlyvisible --name '^PAYSUM$' 2>/dev/null); do
        width=$(xdotool getwindowgeometry --shell "$id" | sed -n 's/^WIDTH=//p')
        [ "${width:-0}" -ge 500 ] && main=$id
    done
    [ -n "$main" ] && break
    sleep 0.1
done
[ -n "$main" ] || fail "no main window"
answer_box "PAYSUM" "$main"

# Button 1, the company record: Enter moves from box to box and on to 確定.
step="company record"
enter
wait_active "1. 基本資料建檔" >/dev/null
type_text "012"
enter
type_text "ACME TRADING"
enter
type_text "123"
enter
type_text "12345678"
enter
enter
enter
enter
enter
# "儲存成功", then the window closes itself and the main menu must be active, Tab working there.
answer_box "PAYSUM" "$main"

# Tab twice from button 1 to button 3, the transfer entry window.
step="transfer entry"
key Tab Tab
enter
entry=$(wait_active "3. 薪資轉帳資料輸入")
key F2

# Three payees with temporary codes: Enter in the empty code box gives the next one.
payee() {
    local account=$1 certificate=$2 amount=$3 name=$4 remark=$5
    enter
    type_text "$account"
    enter
    if [ -n "$certificate" ]; then
        type_text "$certificate"
        enter
    fi
    type_text "$amount"
    enter
    type_text "$name"
    enter
    [ -z "$remark" ] || type_text "$remark"
    enter
    enter
}
payee 004001012341 "" 35000 "CHEN YI" ""
payee 201016000011 12345678 42000 "LIN ER" "BONUS"
payee 123456789014 "" 1200 "WANG SAN" ""

step="batch dates"
# The dates tab: the login date proposes today, the transfer date the login date.
key ctrl+Tab
enter
enter
enter
answer_box "3. 薪資轉帳資料輸入" "$entry"
key F10
wait_active "PAYSUM" "$entry" >/dev/null
[ "$(active_id)" = "$main" ] || fail "the main menu is not active after the transfer entry window"

step="batch file"
# Button 5 (two Tabs on from button 3): the dates again, 確定, then the file dialog.
key Tab Tab
enter
batch=$(wait_active "5. 產生整批薪資轉帳檔")
enter
enter
enter
wait_other "$batch" >/dev/null
type_text "$file"
enter
answer_box "PAYSUM" "$main"

step="import"
# An employee imported from a spreadsheet through the system menu: Enter on the preview's list
# imports, and the main menu is active again after the closing message.
printf 'ID,ACTNO,PAYSUM,NAME,AT\r\n00010,102000000012,30000,HUANG SHI,\r\n' >"$work/staff.csv"
key alt+s Down Down
enter
dialog=$(wait_active "匯入員工資料")
type_text "$work/staff.csv"
enter
preview=$(wait_active "匯入員工資料" "$dialog")
enter
box=$(wait_active "匯入員工資料" "$preview")
enter
[ "$(wait_active "PAYSUM" "$box")" = "$main" ] || fail "the main menu is not active after the import"

step="second start"
# Started again on the same folder, the program brings the running copy's main menu forward from
# where it was minimized and ends at once, with status 0.
xdotool windowminimize "$main"
for _ in $(seq 50); do
    [ "$(active_id)" != "$main" ] && break
    sleep 0.1
done
[ "$(active_id)" != "$main" ] || fail "the main menu is still active once minimized"
status=0
PAYSUM_DATA_DIR="$data" QT_QPA_PLATFORM=xcb timeout 30 "$paysum" >>"$work/paysum.log" 2>&1 ||
    status=$?
[ "$status" -eq 0 ] || fail "the second start ended with status $status"
[ "$(wait_active "PAYSUM")" = "$main" ] || fail "the main menu did not come forward"
kill -0 "$app" 2>/dev/null || fail "the first copy ended"

step="button 8"
# Button 8 ends the program, cleanly.
key Tab Tab Tab
enter
for _ in $(seq 100); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
done
! kill -0 "$app" 2>/dev/null || fail "button 8 did not end the program"
status=0
wait "$app" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"

# ---- what was stored and written
step="checks"

db="$data/PAYSUM.db"
query() { sqlite3 -separator '|' "$db" "$1"; }
expect() {
    [ "$2" = "$3" ] || fail "$1: expected
$3
got
$2"
}
expect "S_BASE" "$(query 'SELECT * FROM S_BASE' | cut -d'|' -f1-4)" "012|ACME TRADING|123|12345678"
expect "S_ITEM" "$(query 'SELECT * FROM S_ITEM ORDER BY rowid')" \
    "90001|004001012341|35000|CHEN YI||
90002|201016000011|42000|LIN ER|12345678|BONUS
90003|123456789014|1200|WANG SAN||"
expect "S_STAFF" "$(query 'SELECT ID, ACTNO, PAYSUM, NAME, AT FROM S_STAFF ORDER BY rowid')" \
    "90001|004001012341|35000|CHEN YI|
90002|201016000011|42000|LIN ER|12345678
90003|123456789014|1200|WANG SAN|
00010|102000000012|30000|HUANG SHI|"

year=$(($(date +%Y) - 1911))
today=$(printf '%02d%s' $((year % 100)) "$(date +%m%d)")
expect "S_DAY" "$(query 'SELECT * FROM S_DAY')" "$today|$today"

{
    # Header: dates, branch, unified number, customer code, zeros, total, count; then details.
    printf '%s%s%s%s%s%s%s%s   9\r\n' "$today" "$today" 012 12345678 123 00000000000000 \
        000000078200 0003
    printf '   %s%s%30s9\r\n' 00004001012341 000000035000 ""
    printf '   %s%s%s%22s9\r\n' 00201016000011 000000042000 12345678 ""
    printf '   %s%s%30s9\r\n' 00123456789014 000000001200 ""
} >"$work/expected"
cmp "$file" "$work/expected" || fail "the batch file's bytes differ: $(od -c "$file" | head -20)"
PAYSUM_DATA_DIR="$data" "$paysum" verify "$file" --batch >/dev/null ||
    fail "paysum verify --batch refused the file"

echo "keyboard pay run: passed"
