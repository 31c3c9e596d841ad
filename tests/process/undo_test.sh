#!/bin/bash
# The run history and its undo, as an administrator meets them: three workbooks imported (the
# second adds an annex to each contract of the first, the third 50 new contracts), runs 3 and 2
# undone: every table but the history is as it was after the first. With a payment on a
# contract of the first run its undo is refused, exits 1 and changes nothing; without it the
# undo goes through and the first workbook imports again. A dry run leaves no record, and
# `zorvit runs --format json` names user, host, the workbook's SHA-256 and the counts; the
# import's summary JSON names its run.
#   undo_test.sh ZORVIT WORKBOOK_GENERATOR FOLDER
set -u
zorvit=$1
generator=$2
dir=$3
here=$(dirname "$0")
source "$here/contracts.sh"
ISQL_AUTH="-user SYSDBA"
rm -rf "$dir" && mkdir -p "$dir"
db=$dir/property.fdb
z() { (cd "$dir" && env -u FIREBIRD ZRV_DATABASE="$db" "$zorvit" "$@"); }
import() { z import --user demo --password x "$1" >/dev/null 2>&1; }

# Every user table but the run history, rows in order.
dump() {
  local t
  for t in $(sql "$db" "SELECT TRIM(rdb\$relation_name) FROM rdb\$relations
                        WHERE COALESCE(rdb\$system_flag, 0) = 0 AND rdb\$view_blr IS NULL
                        AND rdb\$relation_name NOT STARTING WITH 'IMPORT_RUN' ORDER BY 1;"); do
    n=$(sql "$db" "SELECT COUNT(*) FROM rdb\$relation_fields WHERE rdb\$relation_name = '$t';")
    echo "== $t"
    printf 'SET LIST ON;\nSELECT * FROM %s ORDER BY %s;\n' "$t" "$(seq -s, 1 "$n")" |
      env -u FIREBIRD isql-fb -q -ch UTF8 $ISQL_AUTH "$db"
  done > "$1"
}

z db init --demo >/dev/null || { echo "FAIL: db init"; exit 1; }
perl "$generator" "$dir/first.xls" 20 1 0 24 1 >/dev/null
perl "$generator" "$dir/annexes.xls" 20 2 0 24 1 >/dev/null
perl "$generator" "$dir/new.xls" 50 1 0 24 3 >/dev/null

import first.xls
dump "$dir/after-first"
z import --check --user demo --password x new.xls >/dev/null 2>&1
[ "$(sql "$db" "SELECT COUNT(*) FROM import_runs;")" = 1 ] || fail "a dry run left a record"
import annexes.xls
z import --user demo --password x --summary-json - new.xls 2>/dev/null >"$dir/new.json"
newRun=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["runId"])' "$dir/new.json")
[ "$newRun" = 3 ] || fail "the summary names run '$newRun', not 3"
[ "$(sql "$db" "SELECT COUNT(*) FROM anecs;")" = 160 ] || fail "annexes not added as expected"

z runs --format json >"$dir/runs.json" || fail "runs --format json failed"
python3 - "$dir/runs.json" "$(sha256sum "$dir/new.xls" | cut -d' ' -f1)" "$(hostname)" <<'PY' ||
import json, sys
runs = json.load(open(sys.argv[1]))["runs"]
assert [r["id"] for r in runs] == [3, 2, 1], [r["id"] for r in runs]
newest = runs[0]
assert newest["user"] == "demo" and newest["user_id"] == 1, newest
assert newest["host"] == sys.argv[3], newest["host"]
assert newest["sha256"] == sys.argv[2], newest["sha256"]
assert newest["outcome"] == "finished" and newest["stored"] == 50, newest
assert runs[1]["annexes"] == 20 and runs[1]["stored"] == 0, runs[1]
PY
  fail "runs --format json: $(head -c 300 "$dir/runs.json")"

z undo 1 >"$dir/refused1" 2>&1 && fail "run 1 undone under the annexes run 2 added to it"
grep -q "анекси от по-късно импортиране: 2" "$dir/refused1" || fail "refusal of run 1: $(head -2 "$dir/refused1")"
z undo "$newRun" >"$dir/undo3" 2>&1 || fail "undo 3: $(head -3 "$dir/undo3")"
z undo 2 >"$dir/undo2" 2>&1 || fail "undo 2: $(head -3 "$dir/undo2")"
z undo 2 >"$dir/undo2again" 2>&1 && fail "run 2 undone twice"
grep -q "вече е отменено" "$dir/undo2again" || fail "a second undo: $(head -2 "$dir/undo2again")"
dump "$dir/after-undo"
cmp -s "$dir/after-first" "$dir/after-undo" ||
  fail "tables differ after the undos: $(diff "$dir/after-first" "$dir/after-undo" | head -5)"
z undo 2 >/dev/null 2>&1 && fail "a run was undone twice"

sql "$db" "INSERT INTO payment (p_id, p_num, p_data, p_val)
           SELECT MIN(doc_id), 1, '01.02.2008', 10 FROM documents; COMMIT;" >/dev/null
dump "$dir/with-payment"
z undo 1 >"$dir/refused" 2>&1
code=$?
[ $code -eq 1 ] || fail "undo with a payment: exit $code, not 1"
grep -q "има плащания" "$dir/refused" || fail "the refusal does not name the payment: $(cat "$dir/refused")"
dump "$dir/after-refusal"
cmp -s "$dir/with-payment" "$dir/after-refusal" || fail "a refused undo changed the database"

sql "$db" "DELETE FROM payment; COMMIT;" >/dev/null
z undo 1 >/dev/null 2>&1 || fail "undo 1 without payments"
[ "$(orphans "$db")" -eq 0 ] || fail "rows left of undone contracts"
[ "$(sql "$db" "SELECT COUNT(*) FROM documents;")" = 0 ] || fail "contracts left after undo 1"
import first.xls
[ "$(sql "$db" "SELECT COUNT(*) FROM documents;")" = 20 ] || fail "the first workbook did not import again"

[ $fails -eq 0 ] && echo "undo: every table as before, refusals change nothing"
exit $((fails > 0))
