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
finish
