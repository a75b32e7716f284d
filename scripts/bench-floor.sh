#!/usr/bin/env bash
# Times, in the sqlite3 command-line tool, the SQL that the scale benchmarks make the program run,
# on a table of the same size: the floor that the program's own figures are read against.
# Usage: scripts/bench-floor.sh [EMPLOYEES ...]   (default 1000 10000 99999)
set -euo pipefail
command -v sqlite3 >/dev/null || { echo "needs the sqlite3 command-line tool" >&2; exit 1; }
# Moving the run of 10,000 codes from 40001 up by one, as the program does: the columns rotated,
# one code changed.
move=$(cat <<'SQL'
UPDATE S_STAFF SET ACTNO = moved.ACTNO, PAYSUM = moved.PAYSUM, NAME = moved.NAME, AT = moved.AT
  FROM (SELECT CASE WHEN ID = '50000' THEN '40001' ELSE printf('%05d', CAST(ID AS INTEGER) + 1) END AS ID,
               ACTNO, PAYSUM, NAME, AT FROM S_STAFF
        WHERE ID BETWEEN '40001' AND '50000' AND length(ID) = 5 AND ID GLOB '[0-9][0-9][0-9][0-9][0-9]') AS moved
  WHERE S_STAFF.ID = moved.ID;
UPDATE S_STAFF SET ID = '50001' WHERE ID = '40001';
SQL
)
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
done
