#!/bin/bash
# SIGINT and SIGTERM stop `zorvit import` at a row boundary and `zorvit db init` without a
# half-made file; two imports work on one embedded database at once; a database file another
# program holds is named as such, and so is one whose holder is stopped.
#   signals_test.sh ZORVIT WORKBOOK_GENERATOR FOLDER [WINDOW_PROGRAM]
set -u
zorvit=$1
generator=$2
dir=$3
window=${4:-}
here=$(dirname "$0")
source "$here/contracts.sh"
ISQL_AUTH="-user SYSDBA"
rm -rf "$dir" && mkdir -p "$dir"
db=$dir/property.fdb
run() { env -u FIREBIRD ZRV_DATABASE="$db" "$zorvit" "$@"; }

run db init --demo --database "$db" >/dev/null || { echo "FAIL: db init"; exit 1; }
perl "$generator" "$dir/big.xls" 12000 1 0 24 1 >/dev/null
perl "$generator" "$dir/small.xls" 3 1 0 24 2 >/dev/null
perl "$generator" "$dir/third.xls" 3 1 0 24 3 >/dev/null

# A run stopped by a signal: exit 128 + signal within seconds, one line naming the row, the
# summary, and nothing half-stored.
while read -r signal code; do
  (cd "$dir" && exec env -u FIREBIRD ZRV_DATABASE="$db" "$zorvit" import --user demo \
    --password x big.xls >"$dir/$signal.out" 2>&1) &
  importer=$!
  sleep 3
  kill -"$signal" $importer
  started=$(date +%s)
  wait $importer
  got=$?
  took=$(($(date +%s) - started))
  [ $got -eq "$code" ] || fail "SIG$signal: exit $got, not $code"
  [ $took -le 5 ] || fail "SIG$signal: took $took s to stop"
  [ "$(grep -c "Импортирането е прекъснато на ред [0-9]*\." "$dir/$signal.out")" -eq 1 ] ||
    fail "SIG$signal: no single interruption line: $(head -3 "$dir/$signal.out")"
  grep -q "Записани договори" "$dir/$signal.out" || fail "SIG$signal: no summary"
  ls "$dir"/log_big.xls_* >/dev/null 2>&1 || fail "SIG$signal: no log file"
  rm -f "$dir"/log_big.xls_*
done <<'CASES'
TERM 143
INT 130
CASES
stored=$(sql "$db" "SELECT COUNT(*) FROM documents;")
reported=$(sed -n 's/^Записани договори: *//p' "$dir/TERM.out" "$dir/INT.out" | awk '{ s += $1 } END { print s + 0 }')
[ "$stored" = "$reported" ] || fail "$stored contracts stored, the summaries say $reported"
[ "$(orphans "$db")" -eq 0 ] || fail "rows of unstored contracts left"
[ "$(misattributed "$db" | tail -1)" -eq 0 ] || fail "incomplete contracts after a signal"

# SIGINT at the login prompt (a terminal, through script) is an interruption, not a refused
# login.
(sleep 8 | script -qec "cd '$dir' && echo \$\$ >prompt.pid && exec env -u FIREBIRD \
  ZRV_DATABASE='$db' '$zorvit' import small.xls" /dev/null >"$dir/prompt.out" 2>&1) &
prompting=$!
sleep 2
kill -INT "$(cat "$dir/prompt.pid")"
wait $prompting
code=$?
[ $code -eq 130 ] || fail "SIGINT at the login prompt: exit $code: $(tr -d '\r' <"$dir/prompt.out")"
if grep -q "Входът е отказан" "$dir/prompt.out"; then fail "SIGINT reported as a refused login"; fi

# db init stopped by SIGTERM leaves no file, not even its part file.
(exec env -u FIREBIRD "$zorvit" db init --database "$dir/new.fdb" >"$dir/init.out" 2>&1) &
init=$!
sleep 0.3
kill -TERM $init
wait $init
code=$?
if [ $code -eq 143 ]; then
  [ -z "$(ls -A "$dir" | grep 'new\.fdb')" ] || fail "db init left $(ls -A "$dir" | grep new)"
else
  echo "db init ended before the signal (exit $code); nothing to check"
fi

# Two imports on one embedded database at once.
(cd "$dir" && exec env -u FIREBIRD ZRV_DATABASE="$db" "$zorvit" import --user demo \
  --password x big.xls >"$dir/first.out" 2>&1) &
first=$!
sleep 2
(cd "$dir" && run import --user demo --password x small.xls >"$dir/second.out" 2>&1) ||
  fail "second import while the first runs: $(tail -3 "$dir/second.out")"
kill -0 $first 2>/dev/null || fail "the first import was not running any more"
kill -TERM $first
wait $first
[ "$(sql "$db" "SELECT COUNT(*) FROM documents WHERE doc_nomtxt STARTING WITH '2-';")" -eq 3 ] ||
  fail "the second import did not store its three contracts"

# An import while the window holds the database; then the window, asked to close by SIGTERM,
# closes with 143.
if [ -n "$window" ]; then
  env -u FIREBIRD ZRV_DATABASE="$db" QT_QPA_PLATFORM=offscreen "$window" demo x \
    >"$dir/window.out" 2>&1 &
  shown=$!
  sleep 3
  (cd "$dir" && run import --user demo --password x third.xls >"$dir/third.out" 2>&1) ||
    fail "import while the window is open: $(tail -3 "$dir/third.out")"
  kill -0 $shown 2>/dev/null || fail "the window was not open: $(cat "$dir/window.out")"
  kill -TERM $shown
  for _ in $(seq 50); do kill -0 $shown 2>/dev/null || break; sleep 0.1; done
  if kill -0 $shown 2>/dev/null; then
    kill -KILL $shown
    fail "the window did not close within 5 s of SIGTERM"
  fi
  wait $shown
  code=$?
  [ $code -eq 143 ] || fail "window after SIGTERM: exit $code: $(cat "$dir/window.out")"
fi

# A holder of the file that is stopped (a suspended laptop, a stuck process) makes the others
# wait for its locks: they give up after the wait limit with a message instead of waiting.
(cd "$dir" && exec env -u FIREBIRD ZRV_DATABASE="$db" "$zorvit" import --user demo \
  --password x big.xls >"$dir/holder.out" 2>&1) &
holder=$!
sleep 2
kill -STOP $holder
commands=("login --user demo --password x" "state 1" "import --user demo --password x small.xls")
started=$(date +%s)
for i in "${!commands[@]}"; do
  # shellcheck disable=SC2086
  (cd "$dir" && timeout -s KILL 30 env -u FIREBIRD ZRV_DATABASE="$db" "$zorvit" ${commands[$i]} \
    --wait-limit 3 >"$dir/beside.$i" 2>&1; echo $? >"$dir/beside.$i.code") &
done
wait $(jobs -p | grep -v "^$holder$")
took=$(($(date +%s) - started))
[ $took -le 8 ] || fail "the programs beside a stopped holder took $took s"
for i in "${!commands[@]}"; do
  out=$(cat "$dir/beside.$i")
  [ "$(cat "$dir/beside.$i.code")" = 1 ] ||
    fail "${commands[$i]} beside a stopped holder: exit $(cat "$dir/beside.$i.code"): $out"
  grep -q "Базата данни е заета от друга програма, която не отговаря: $db" <<<"$out" ||
    fail "${commands[$i]} beside a stopped holder: $out"
done
kill -CONT $holder
kill -TERM $holder
wait $holder

# A program that holds the file without sharing it (isql with the system's settings).
(sleep 4) | env -u FIREBIRD isql-fb -q -user SYSDBA "$db" >/dev/null 2>&1 &
sleep 1.5
out=$(cd "$dir" && run import --user demo --password x small.xls 2>&1)
code=$?
[ $code -eq 1 ] || fail "import on a held database: exit $code"
grep -q "Базата данни е заета от друга програма" <<<"$out" || fail "held database: $out"
if grep -q "Входът е отказан" <<<"$out"; then fail "held database reported as a refused login"; fi
wait
finish
