#!/bin/bash
# A private Firebird server for the server tests: firebird_server.sh start|stop FOLDER.
#
# start: makes FOLDER/root, a copy of the installation's root folder whose firebird.conf takes
# the system's settings and adds its own (listen on 127.0.0.1 only, on a free port, with its own
# security database), copies the system's security database and sets the passwords of SYSDBA
# and the test users in it, and starts the server through the package's guardian (fbguard) with FIREBIRD, FIREBIRD_LOCK and FIREBIRD_TMP
# pointing into FOLDER. Nothing of the system's configuration is changed. FOLDER/port holds the
# port; when the server cannot start, FOLDER/unavailable says why and the tests skip.
# stop: ends the server and removes FOLDER.
set -u
action=$1
dir=$2
root=${ZRV_FIREBIRD_ROOT:-/usr/lib/$(gcc -print-multiarch 2>/dev/null)/firebird/3.0}
server=/usr/sbin/firebird
guard=/usr/sbin/fbguard
system_security=/var/lib/firebird/3.0/system/security3.fdb

unavailable() {
  echo "$*" >"$dir/unavailable"
  echo "Firebird server not started: $*"
  exit 0
}

stop() {
  if [ -f "$dir/pid" ]; then
    pid=$(cat "$dir/pid")
    # SIGTERM shuts the connections down; the process itself may stay.
    kill "$pid" 2>/dev/null
    for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  # A server whose guardian is gone must not outlive the tests.
  if [ -s "$dir/server_pid" ]; then
    kill -9 "$(cat "$dir/server_pid")" 2>/dev/null
  fi
  rm -rf "$dir"
}

free_port() {
  for _ in $(seq 50); do
    port=$((20000 + RANDOM % 40000))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then echo "$port"; return; fi
  done
  return 1
}

start() {
  rm -rf "$dir"
  mkdir -p "$dir/root" "$dir/lock" "$dir/tmp" "$dir/data"
  [ -x "$server" ] && [ -x "$guard" ] ||
    unavailable "$server or $guard is missing (package firebird3.0-server)"
  [ -f "$root/firebird.conf" ] || unavailable "no Firebird installation at $root"
  [ -r "$system_security" ] || unavailable "cannot read $system_security"
  for entry in "$root"/*; do
    name=$(basename "$entry")
    case $name in
      firebird.conf | databases.conf | intl) ;;
      *) ln -s "$entry" "$dir/root/$name" ;;
    esac
  done
  # The character-set module is loaded only from a real file under the root folder.
  mkdir "$dir/root/intl"
  cp "$root/intl/libfbintl.so" "$dir/root/intl/"
  ln -s "$root/intl/fbintl.conf" "$dir/root/intl/fbintl.conf"
  port=$(free_port) || unavailable "no free port found"
  echo "$port" >"$dir/port"
  cp "$system_security" "$dir/security3.fdb"
  cat >"$dir/root/firebird.conf" <<CONF
include $root/firebird.conf
RemoteBindAddress = 127.0.0.1
RemoteServicePort = $port
SecurityDatabase = $dir/security3.fdb
ServerMode = Super
CONF
  cat >"$dir/root/databases.conf" <<CONF
security.db = $dir/security3.fdb
{
  RemoteAccess = false
}
CONF
  export FIREBIRD=$dir/root FIREBIRD_LOCK=$dir/lock FIREBIRD_TMP=$dir/tmp
  isql-fb -q -user SYSDBA "$dir/security3.fdb" >"$dir/users.log" 2>&1 <<SQL || unavailable "users: $(cat "$dir/users.log")"
CREATE OR ALTER USER SYSDBA PASSWORD 'masterkey' USING PLUGIN Srp;
CREATE OR ALTER USER demo PASSWORD 'demo-pass' USING PLUGIN Srp;
CREATE OR ALTER USER stranger PASSWORD 'stranger-pass' USING PLUGIN Srp;
COMMIT;
SQL
  # The package's guardian starts the server and stops it when it is stopped
  # itself; it signals its parent with SIGUSR1 once the server runs.
  trap "" USR1
  "$guard" -onetime >"$dir/server.log" 2>&1 &
  echo $! >"$dir/pid"
  for _ in $(seq 100); do
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      # The server process itself, which a test may kill as a crash would.
      pgrep -P "$(cat "$dir/pid")" -x firebird >"$dir/server_pid"
      echo "Firebird server on 127.0.0.1:$port (pid $(cat "$dir/pid"))"
      exit 0
    fi
    kill -0 "$(cat "$dir/pid")" 2>/dev/null || break
    sleep 0.1
  done
  stop_log=$(cat "$dir/server.log" 2>/dev/null)
  kill -9 "$(cat "$dir/pid")" 2>/dev/null
  rm -f "$dir/pid"
  unavailable "the server did not listen on 127.0.0.1:$port. $stop_log"
}

case $action in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop FOLDER" >&2; exit 2 ;;
esac
