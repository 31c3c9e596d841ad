#!/bin/bash
# `zorvit import` killed with SIGKILL at several moments (between rows and inside them): the
# database must open and pass a full validation without errors, every stored contract must be whole and tied to
# its own row, and nothing may belong to a contract that was not stored. Rows are committed in
# batches, so most kills fall inside an open batch; an import of the same workbook afterwards
# must find every contract stored exactly once.
#   crash_test.sh ZORVIT WORKBOOK_GENERATOR FOLDER
set -u
zorvit=$1
generator=$2
dir=$3
here=$(dirname "$0")
source "$here/contracts.sh"
ISQL_AUTH="-user SYSDBA"
rm -rf "$dir" && mkdir -p "$dir"
db=$dir/property.fdb

env -u FIREBIRD "$zorvit" db init --demo --database "$db" >/dev/null || { echo "FAIL: db init"; exit 1; }
perl "$generator" "$dir/w.xls" 4000 1 0 24 1 >/dev/null

kills=0 clean=0 lost=0
for delay in 1.3 1.75 2.2 2.65 3.1 3.55; do
  (cd "$dir" && exec env -u FIREBIRD ZRV_DATABASE="$db" "$zorvit" import --user demo \
    --password x w.xls >/dev/null 2>&1) &
  importer=$!
  sleep "$delay"
  kill -KILL $importer
  wait $importer 2>/dev/null
  kills=$((kills + 1))
  # Pages allocated by the killed process and never used are warnings, not damage.
  validation=$(env -u FIREBIRD gfix -v -full -user SYSDBA "$db" 2>&1 |
    grep -E 'Number of .*errors|rror' | grep -v 'Summary of validation errors')
  incomplete=$(misattributed "$db" | tail -1)
  left=$(orphans "$db")
  if [ -z "$validation" ] && [ "$incomplete" = 0 ] && [ "$left" = 0 ]; then
    clean=$((clean + 1))
  else
    fail "kill after $delay s: validation '$validation', $incomplete incomplete, $left orphans"
  fi
  lost=$((lost + ${incomplete:-0}))
done
stored=$(sql "$db" "SELECT COUNT(*) FROM documents;")
(cd "$dir" && env -u FIREBIRD ZRV_DATABASE="$db" "$zorvit" import --user demo --password x \
  w.xls >/dev/null 2>&1)
once=$(sql "$db" "SELECT COUNT(DISTINCT doc_nomtxt) || ' ' || COUNT(*) FROM documents;")
[ "$once" = "4000 4000" ] || fail "after the kills and a re-import: '$once' (distinct, all) of 4000"
echo "kills tried $kills, databases clean $clean, rows lost $lost," \
  "contracts stored $stored, after a re-import $once"
finish
