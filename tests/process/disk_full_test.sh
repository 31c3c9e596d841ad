#!/bin/bash
# `zorvit import` into a database whose disk fills up during the run: it stops once with the
# cause and the last stored row, exit code 1, keeps the contracts it stored and refuses no row.
# The disk is a small tmpfs mounted here (skipped, exit 77, where the test cannot mount one).
#   disk_full_test.sh ZORVIT WORKBOOK_GENERATOR FOLDER
set -u
zorvit=$1
generator=$2
dir=$3
here=$(dirname "$0")
source "$here/contracts.sh"
ISQL_AUTH="-user SYSDBA"
rm -rf "$dir" && mkdir -p "$dir/disk"
# A new database takes 3.5 MB; the rest holds some 700 contracts.
if ! mount -t tmpfs -o size=6m zorvit-test "$dir/disk" 2>"$dir/mount.err"; then
  echo "SKIPPED: cannot mount a tmpfs for a full disk: $(cat "$dir/mount.err")"
  exit 77
fi
trap 'umount "$dir/disk"' EXIT
db=$dir/disk/property.fdb

env -u FIREBIRD "$zorvit" db init --demo --database "$db" >/dev/null || { echo "FAIL: db init"; exit 1; }
perl "$generator" "$dir/w.xls" 1500 1 0 24 1 >/dev/null

(cd "$dir" && env -u FIREBIRD ZRV_DATABASE="$db" "$zorvit" import --user demo --password x \
  --summary-json summary.json w.xls >"$dir/out" 2>"$dir/err")
code=$?
[ $code -eq 1 ] || fail "exit $code, not 1: $(tail -3 "$dir/err")"
[ "$(grep -c "Базата данни не може да записва и импортирането спря: .*No space left on device.*Последен записан ред: [0-9]*\." "$dir/err")" -eq 1 ] ||
  fail "no single full-disk line: $(head -3 "$dir/err")"
if grep -q FATAL "$dir/out"; then fail "rows refused: $(grep -m 3 FATAL "$dir/out")"; fi
ls "$dir"/log_w.xls_*.xlsx >/dev/null 2>&1 && fail "a workbook of refused rows was written"
stored=$(sql "$db" "SELECT COUNT(*) FROM documents;")
json() { perl -MJSON::PP -0777 -ne "print decode_json(\$_)->{$1}" "$dir/summary.json"; }
[ "$(json contractsStored)" = "$stored" ] || fail "the summary says $(json contractsStored), $stored stored"
[ "$(json rowsRefused)" = 0 ] || fail "the summary counts $(json rowsRefused) refused rows"
[ "$(json exitCode)" = 1 ] || fail "the summary's exit code is $(json exitCode)"
[ "$stored" -gt 0 ] || fail "nothing stored before the disk filled"
[ "$(orphans "$db")" -eq 0 ] || fail "rows of unstored contracts left"
echo "contracts stored before the disk filled: $stored"
finish
