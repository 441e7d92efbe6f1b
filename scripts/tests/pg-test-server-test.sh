#!/usr/bin/env bash
# The PostgreSQL test-server script: servers started side by side without a
# port each take a free one, the printed line reaches them, and a port that
# another server holds is refused with the reason.
set -euo pipefail
script="$(cd "$(dirname "$0")/.." && pwd)/pg-test-server.sh"
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)

folders=()
cleanup() {
  for f in "${folders[@]}"; do "$script" stop "$f" 2>/dev/null; rm -rf "$f"; done
}
trap cleanup EXIT
# new_folder NAME: a fresh folder in variable NAME, removed at the end.
new_folder() {
  local f
  f=$(mktemp -d /tmp/tembra-pg-test.XXXXXX)
  chmod 755 "$f"
  folders+=("$f")
  printf -v "$1" %s "$f"
}
fail() { echo "FAILED: $*" >&2; exit 1; }

new_folder one
new_folder two
ports=()
for f in "$one" "$two"; do
  line=$("$script" start "$f") || fail "start without a port"
  TEMBRA_TEST_PG_PORT=
  eval "$line"
  [ "$TEMBRA_TEST_PG_HOST" = 127.0.0.1 ] && [ "$TEMBRA_TEST_PG_USER" = postgres ] || fail "printed line: $line"
  "$bin/pg_isready" -q -h "$TEMBRA_TEST_PG_HOST" -p "$TEMBRA_TEST_PG_PORT" -U postgres \
    || fail "no server on port $TEMBRA_TEST_PG_PORT"
  ports+=("$TEMBRA_TEST_PG_PORT")
done
[ "${ports[0]}" != "${ports[1]}" ] || fail "both servers on port ${ports[0]}"

new_folder three
if "$script" start "$three" "${ports[0]}" >/dev/null 2>"$three/err"; then
  fail "a held port was taken"
fi
grep -q "Address already in use" "$three/err" || fail "no reason given: $(cat "$three/err")"
echo "ok: ports ${ports[*]}"
