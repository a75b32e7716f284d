#!/usr/bin/env bash
# Times, in the sqlite3 command-line tool, the SQL that the scale benchmarks make the program run,
# on a table of the same size: the floor that the program's own figures are read against.
# Usage: scripts/bench-floor.sh [EMPLOYEES ...]   (default 1000 10000 99999)
set -euo pipefail
command -v sqlite3 >/dev/null || { echo "needs the sqlite3 command-line tool" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for n in "${@:-1000 10000 99999}"; do
  for size in $n; do
    db="$work/floor-$size.db"
    sqlite3 "$db" <<SQL
CREATE TABLE S_STAFF (ID TEXT NOT NULL DEFAULT '', ACTNO TEXT NOT NULL DEFAULT '',
  PAYSUM TEXT NOT NULL DEFAULT '', NAME TEXT NOT NULL DEFAULT '', AT TEXT NOT NULL DEFAULT '');
CREATE UNIQUE INDEX S_STAFF_ID ON S_STAFF (ID);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $size)
INSERT INTO S_STAFF SELECT printf('%05d', i), '004001012341', '35000', '員工' || i, ''
  FROM n WHERE i <> 50001;
SQL
    echo "== $size employees"
    sqlite3 "$db" <<'SQL'
.timer on
.print -- query filter, whole table: count and first page
SELECT count(*) FROM S_STAFF;
SELECT count(*) FROM (SELECT rowid, * FROM S_STAFF ORDER BY ID LIMIT 128 OFFSET 0);
.print -- query filter, prefix 0
SELECT count(*) FROM S_STAFF WHERE (ID >= '0' AND ID < '1');
SELECT count(*) FROM (SELECT rowid, * FROM S_STAFF WHERE (ID >= '0' AND ID < '1') ORDER BY ID LIMIT 128);
.print -- query filter, prefix 00012
SELECT count(*) FROM S_STAFF WHERE (ID >= '00012' AND ID < '00013');
.print -- moving a run of 10,000 codes up by one, and back
BEGIN;
UPDATE S_STAFF SET ID = '#' || printf('%05d', CAST(ID AS INTEGER) + 1) WHERE ID BETWEEN '40001' AND '50000';
UPDATE S_STAFF SET ID = substr(ID, 2) WHERE ID >= '#' AND ID < '$' AND length(ID) = 6;
ROLLBACK;
SQL
  done
done
