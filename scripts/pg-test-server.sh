#!/usr/bin/env bash
# Starts or stops the PostgreSQL server the database tests use: a throw-away
# cluster in a temporary folder, listening on loopback only, trust sign-in.
#   pg-test-server.sh start FOLDER [PORT]   prints the line to eval (host, port, user);
#                                           without PORT it takes a free one
#   pg-test-server.sh stop FOLDER
set -euo pipefail

cmd=${1:?start or stop}
folder=${2:?folder}
port=${3:-}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bin/initdb" ] || { echo "PostgreSQL server binaries not found" >&2; exit 1; }

# The server refuses to run as root: run it as the postgres user then.
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

# Starts the server on the given port; a port another program holds gives 2.
start_on() {
  rm -f "$folder/server.log"
  as_owner "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 60 \
    -o "-h 127.0.0.1 -p $1 -k $folder -F" start >/dev/null 2>&1 && return 0
  grep -q "Address already in use" "$folder/server.log" 2>/dev/null && return 2
  return 1
}

case "$cmd" in
start)
  mkdir -p "$folder"
  [ "$(id -u)" -eq 0 ] && chown postgres "$folder"
  as_owner "$bin/initdb" -D "$folder/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$folder/initdb.log" 2>&1 \
    || { cat "$folder/initdb.log" >&2; exit 1; }
  if [ -n "$port" ]; then
    start_on "$port" || { cat "$folder/server.log" >&2; exit 1; }
  else
    # Ports below the kernel's range for outgoing connections; one that turns
    # out to be taken when the server binds it is passed over.
    started=
    for _ in $(seq 1 20); do
      port=$((15000 + RANDOM % 15000))
      rc=0
      start_on "$port" || rc=$?
      [ "$rc" -eq 0 ] && { started=1; break; }
      [ "$rc" -eq 2 ] || break
    done
    [ -n "$started" ] || { cat "$folder/server.log" >&2; exit 1; }
  fi
  echo "export TEMBRA_TEST_PG_HOST=127.0.0.1 TEMBRA_TEST_PG_PORT=$port TEMBRA_TEST_PG_USER=postgres"
  ;;
stop)
  [ -d "$folder/data" ] && as_owner "$bin/pg_ctl" -D "$folder/data" -m fast -w stop >/dev/null || true
  ;;
*)
  echo "usage: $0 start FOLDER [PORT] | stop FOLDER" >&2; exit 2 ;;
esac
