#!/bin/bash
# Four programs importing overlapping workbooks at once into one embedded database file: each
# contract, tenant, property and file link stored once and no row refused (see
# overlapping_imports in contracts.sh). ROUNDS (default 1) repeats it on new databases.
#   overlap_test.sh ZORVIT WORKBOOK_GENERATOR FOLDER
set -u
zorvit=$1
generator=$2
dir=$3
here=$(dirname "$0")
source "$here/contracts.sh"
ISQL_AUTH="-user SYSDBA"
rm -rf "$dir" && mkdir -p "$dir"
run() { env -u FIREBIRD ZRV_DATABASE="$db" "$zorvit" "$@"; }

for round in $(seq "${ROUNDS:-1}"); do
  db=$dir/property-$round.fdb
  run db init --demo --database "$db" >/dev/null || { echo "FAIL: db init"; exit 1; }
  run db init --demo --database "$dir/serial-$round.fdb" >/dev/null || { echo "FAIL: db init"; exit 1; }
  overlapping_imports "$dir" "$db" "$dir/serial-$round.fdb" "$generator"
  rm -f "$db" "$dir/serial-$round.fdb"
done
# A register imported again by two programs at once, now with a second annex row under every
# contract: each new annex is stored once, beside the first.
db=$dir/register.fdb
run db init --demo --database "$db" >/dev/null || { echo "FAIL: db init"; exit 1; }
perl "$generator" "$dir/register.xls" 40 1 0 60 7 >/dev/null
perl "$generator" "$dir/register2.xls" 40 2 0 60 7 >/dev/null
(cd "$dir" && run import --user demo --password x register.xls >/dev/null 2>&1) ||
  fail "first import of the register"
pids=()
for i in 1 2; do
  (cd "$dir" && run import --user demo --password x --summary-json "again$i.json" \
    register2.xls >"$dir/again$i.out" 2>&1) &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || fail "re-import ended with $?"; done
annexes=$(sql "$db" "SELECT COUNT(*) FROM anecs;")
added=$(cat "$dir"/again*.json | sed -n 's/.*"annexesStored": \([0-9]*\).*/\1/p' |
  awk '{ s += $1 } END { print s + 0 }')
echo "register imported again by 2 programs at once: annexes $annexes of 120, added $added of 40"
[ "$annexes" -eq 120 ] || fail "$annexes annexes stored, not 120"
[ "$added" -eq 40 ] || fail "the two runs added $added annexes, not 40"
finish
