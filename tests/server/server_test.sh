#!/bin/bash
# zorvit against a Firebird server on 127.0.0.1 (started here, stopped on the way out):
# logins refused, four imports at once into one database (of separate workbooks, and of
# workbooks that share tenants and properties), clerks made and removed with `zorvit user`,
# the server frozen and stopped during a run.
#   server_test.sh ZORVIT WORKBOOK_GENERATOR FOLDER
set -u
zorvit=$1
generator=$2
dir=$3
here=$(dirname "$0")
source "$here/../process/contracts.sh"
ROWS=30  # contracts per workbook

bash "$here/firebird_server.sh" start "$dir/server"
trap 'bash "$here/firebird_server.sh" stop "$dir/server"' EXIT
if [ -f "$dir/server/unavailable" ]; then
  echo "SKIPPED: no Firebird server: $(cat "$dir/server/unavailable")"
  exit 77
fi
port=$(cat "$dir/server/port")
db="127.0.0.1/$port:$dir/server/data/property.fdb"
ISQL_AUTH="-user SYSDBA -password masterkey"
run() { env -u FIREBIRD ZRV_DATABASE="$db" "$zorvit" "$@"; }

ISC_USER=SYSDBA ISC_PASSWORD=masterkey run db init --demo --database "$db" >/dev/null ||
  { echo "FAIL: db init on the server"; exit 1; }
for tag in 1 2 3; do perl "$generator" "$dir/w$tag.xls" $ROWS 1 0 24 $tag >/dev/null; done
perl "$generator" "$dir/big.xls" 400 1 0 24 4 >/dev/null

# Logins the server or the users table refuse.
while IFS='|' read -r user password reason; do
  out=$(cd "$dir" && run import --user "$user" --password "$password" w1.xls 2>&1)
  code=$?
  [ $code -eq 1 ] || fail "$user/$password: exit $code"
  grep -q "Входът е отказан." <<<"$out" || fail "$user/$password: not refused: $out"
  grep -q "$reason" <<<"$out" || fail "$user/$password: no \"$reason\": $out"
done <<'CASES'
demo|wrong|Your user name and password are not defined
nobody|demo-pass|Your user name and password are not defined
stranger|stranger-pass|Непознат потребител.
CASES

# Four imports at once: three workbooks, the third by two processes.
pids=()
for tag in 1 2 3 3; do
  (cd "$dir" && run import --user demo --password demo-pass "w$tag.xls" >"$dir/out.${#pids[@]}" 2>&1) &
  pids+=($!)
done
for i in "${!pids[@]}"; do
  wait "${pids[$i]}" || fail "import $i ended with $?: $(tail -3 "$dir/out.$i")"
  if grep -q "FATAL" "$dir/out.$i"; then fail "import $i refused rows: $(grep FATAL "$dir/out.$i")"; fi
done
stored=$(sql "$db" "SELECT COUNT(*) FROM documents;")
wrong=$(misattributed "$db" | tail -1)
doubled=$(duplicated_classifiers "$db")
echo "concurrent runs 4, contracts stored $stored of $((3 * ROWS)), misattributed $wrong," \
  "duplicated classifier entries $doubled"
# The two processes importing the same workbook store each of its contracts once.
[ "$stored" -eq $((3 * ROWS)) ] || fail "stored $stored contracts, not $((3 * ROWS))"
[ "$wrong" -eq 0 ] || { misattributed "$db"; fail "$wrong contracts misattributed"; }
[ "$doubled" -eq 0 ] || fail "$doubled classifier texts stored twice"

# Four imports at once of workbooks that share tenants, properties and classifier texts, on
# two new databases of the server (ROUNDS times, default 1).
for round in $(seq "${ROUNDS:-1}"); do
  shared_db="127.0.0.1/$port:$dir/server/data/shared-$round.fdb"
  serial_db="127.0.0.1/$port:$dir/server/data/serial-$round.fdb"
  for new in "$shared_db" "$serial_db"; do
    ISC_USER=SYSDBA ISC_PASSWORD=masterkey run db init --demo --database "$new" >/dev/null ||
      fail "db init of $new on the server"
  done
  db_saved=$db
  db=$shared_db
  overlapping_imports "$dir" "$shared_db" "$serial_db" "$generator"
  db=$db_saved
done

# Clerks made with `zorvit user add`: the server user and the row together. The clerk imports
# a workbook; a caller who may not create server users adds nothing; a removed clerk is refused.
admin() { ISC_USER=SYSDBA ISC_PASSWORD=masterkey run "$@"; }
printf 'clerk-pass\n' >"$dir/clerk.pw"
admin user add clerk --password-file "$dir/clerk.pw" >/dev/null || fail "user add on the server"
perl "$generator" "$dir/w5.xls" $ROWS 1 0 24 5 >/dev/null
(cd "$dir" && run import --user clerk --password clerk-pass w5.xls >"$dir/clerk.out" 2>&1) ||
  fail "the clerk's import: $(tail -3 "$dir/clerk.out")"
grep -q "Записани договори: *$ROWS$" "$dir/clerk.out" || fail "the clerk stored: $(tail -12 "$dir/clerk.out")"
ISC_USER=demo ISC_PASSWORD=demo-pass run user add other --password-file "$dir/clerk.pw" \
  >"$dir/other.out" 2>&1 && fail "a clerk made by a user who is no administrator"
listed=$(admin user list)
grep -q "^[0-9]*	clerk	да$" <<<"$listed" || fail "clerk not listed: $listed"
if grep -q other <<<"$listed"; then fail "a refused server user left a row: $listed"; fi
admin user remove clerk >/dev/null || fail "user remove on the server"
out=$(run login --user clerk --password clerk-pass 2>&1) && fail "a removed clerk logged in: $out"
grep -q "Your user name and password are not defined" <<<"$out" || fail "removed clerk: $out"
# The server frozen during a run (a network partition, a suspended machine: SIGSTOP here), with
# a wait limit of 3 s: the run ends by itself as when the connection is lost. With the default
# limit and one SIGINT 3 s after the freeze: it ends within 5 s as interrupted. Both write the
# log and the JSON summary.
server_pid=$(cat "$dir/server/server_pid")
json() { perl -MJSON::PP -0777 -ne "print decode_json(\$_)->{$2}" "$1"; }
while IFS='|' read -r name limit signal code message; do
  stored=$(sql "$db" "SELECT COUNT(*) FROM documents;")
  rm -f "$dir"/log_big.xls_*
  # A run that waits without end is ended after a minute (and fails the test). In the
  # foreground, timeout hands a signal to zorvit once, not a second time through the group.
  (cd "$dir" && exec timeout --foreground -s KILL 60 env -u FIREBIRD ZRV_DATABASE="$db" \
    "$zorvit" import --user demo --password demo-pass --allow-duplicates --wait-limit "$limit" \
    --summary-json "$name.json" big.xls >"$dir/$name.out" 2>&1) &
  importer=$!
  for _ in $(seq 100); do
    [ "$(sql "$db" "SELECT COUNT(*) FROM documents;")" -gt $((stored + 3)) ] && break
    sleep 0.1
  done
  kill -STOP "$server_pid"
  started=$(date +%s)
  if [ -n "$signal" ]; then sleep 3; started=$(date +%s); kill -"$signal" $importer; fi
  wait $importer
  got=$?
  took=$(($(date +%s) - started))
  kill -CONT "$server_pid"
  [ $got -eq "$code" ] || fail "$name: exit $got, not $code: $(tail -3 "$dir/$name.out")"
  [ $took -le $((limit < 5 ? limit + 4 : 5)) ] || fail "$name: took $took s to end"
  grep -q "$message" "$dir/$name.out" || fail "$name: no \"$message\": $(tail -3 "$dir/$name.out")"
  ls "$dir"/log_big.xls_*.txt >/dev/null 2>&1 || fail "$name: no log file"
  [ "$(json "$dir/$name.json" exitCode)" = "$code" ] || fail "$name: no valid JSON summary"
done <<'CASES'
frozen|3||1|Връзката с базата данни е прекъсната и импортирането спря: Базата данни не отговори в рамките на 3 с. Последен записан ред: [0-9]
frozen-int|30|INT|130|Импортирането е прекъснато на ред [0-9]*\.
CASES
stored=$(sql "$db" "SELECT COUNT(*) FROM documents;")

# The server stopped during a run: one message naming the cause and the last row stored,
# exit code 1, no FATAL line.
(cd "$dir" && run import --user demo --password demo-pass big.xls >"$dir/lost.out" 2>&1) &
importer=$!
for _ in $(seq 300); do
  kill -0 $importer 2>/dev/null || break
  [ "$(sql "$db" "SELECT COUNT(*) FROM documents;")" -gt $((stored + 3)) ] && break
  sleep 0.2
done
kill -9 "$(cat "$dir/server/server_pid")"
wait $importer
code=$?
[ $code -eq 1 ] || fail "import after the server stopped: exit $code"
[ "$(grep -c "Връзката с базата данни е прекъсната" "$dir/lost.out")" -ge 1 ] ||
  fail "no lost-connection message: $(tail -5 "$dir/lost.out")"
grep -q "Последен записан ред: [0-9]" "$dir/lost.out" || fail "last stored row not named"
if grep -q FATAL "$dir/lost.out"; then fail "FATAL lines after the server stopped"; fi
finish
