#!/usr/bin/env bash
# Starts or stops the PostgreSQL server the database tests use: a throw-away
# cluster in a temporary folder, listening on loopback only, trust sign-in.
#   pg-test-server.sh start FOLDER   prints the lines to export (host, port, user)
#   pg-test-server.sh stop FOLDER
set -euo pipefail

cmd=${1:?start or stop}
folder=${2:?folder}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bin/initdb" ] || { echo "PostgreSQL server binaries not found" >&2; exit 1; }
port=${TEMBRA_TEST_PG_PORT:-55432}

# The server refuses to run as root: run it as the postgres user then.
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case "$cmd" in
start)
  mkdir -p "$folder"
  [ "$(id -u)" -eq 0 ] && chown postgres "$folder"
  as_owner "$bin/initdb" -D "$folder/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$folder/initdb.log" 2>&1 \
    || { cat "$folder/initdb.log" >&2; exit 1; }
  as_owner "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 60 \
    -o "-h 127.0.0.1 -p $port -k $folder -F" start >/dev/null \
    || { cat "$folder/server.log" >&2; exit 1; }
  echo "export TEMBRA_TEST_PG_HOST=127.0.0.1 TEMBRA_TEST_PG_PORT=$port TEMBRA_TEST_PG_USER=postgres"
  ;;
stop)
  [ -d "$folder/data" ] && as_owner "$bin/pg_ctl" -D "$folder/data" -m fast -w stop >/dev/null || true
  ;;
*)
  echo "usage: $0 start|stop FOLDER" >&2; exit 2 ;;
esac
