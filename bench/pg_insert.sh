#!/usr/bin/env bash
# The batch core against psql running the very same 100,000 INSERT statements from one
# script file, both over TCP to 127.0.0.1 on a private PostgreSQL cluster, in one run.
# Each is timed from outside its process; the best of ROUNDS runs counts.
#   bench/pg_insert.sh [build-dir]     (ROUNDS=3, COUNT=100000 by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
bench=$build/bench/batch_bench
count=${COUNT:-100000}
rounds=${ROUNDS:-3}
[ -x "$bench" ] || { echo "no $bench: build first" >&2; exit 2; }

work=$(mktemp -d /dev/shm/liczniki-pgbench.XXXXXX)
cluster=$(mktemp -d "${TMPDIR:-/tmp}/liczniki-pgbench.XXXXXX")
trap '"$root/scripts/pg-cluster" remove "$cluster"; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
conn=$("$root/scripts/pg-cluster" start "$cluster")
field() { tr ';' '\n' <<<"$conn" | sed -n "s/^$1=//p"; }
host=$(field host) port=$(field port) user=$(field user) password=$(field password) db=$(field dbname)

export PGPASSWORD=$password PGPASSFILE=/nonexistent
sql() { psql -X -q -v ON_ERROR_STOP=1 -h "$host" -p "$port" -U "$user" -d "$db" "$@"; }
sql -c "CREATE TABLE t(a INTEGER, b INTEGER, c INTEGER)"

# The statements exactly as the tool sends them for COUNT combinations (counter 1 = 1,
# counter 2 = 1..COUNT/100, counter 3 = 1..100, no padding), CR LF as the tool ends them.
awk -v n="$((count / 100))" 'BEGIN {
  for (b = 1; b <= n; b++) for (c = 1; c <= 100; c++) printf "INSERT INTO t VALUES(1, %d, %d);\r\n", b, c;
}' >"$work/statements.sql"

# The tool's default database: the alias file in a config home of its own.
mkdir -p "$work/config/liczniki" "$work/tool"
cat >"$work/config/liczniki/databases.ini" <<EOF
[Default]
Driver=QPSQL
Host=$host
Port=$port
Database=$db
User=$user
Password=$password
EOF

rows() { sql -At -c "SELECT count(*) FROM t"; }
# Wall-clock seconds, and the client's own CPU seconds (user + system), of a command.
TIMEFORMAT='%R %U %S'
timed() { { time "$@" >/dev/null; } 2>"$work/time"; read -r wall cpu_user cpu_sys <"$work/time"; cpu=$(awk -v u="$cpu_user" -v s="$cpu_sys" 'BEGIN { print u + s }'); }

run_psql() {
  sql -c "TRUNCATE t"
  timed sql -f "$work/statements.sql" -o /dev/null
  psql_s=$wall psql_cpu=$cpu
  [ "$(rows)" = "$count" ] || { echo "psql stored $(rows) rows" >&2; exit 1; }
}
run_tool() {
  sql -c "TRUNCATE t"
  (cd "$work/tool" && XDG_CONFIG_HOME="$work/config" timed "$bench" "$count" exec && echo "$wall $cpu" >"$work/tool.time")
  read -r tool_s tool_cpu <"$work/tool.time"
  rm -f "$work/tool"/*.txt
  [ "$(rows)" = "$count" ] || { echo "tool stored $(rows) rows" >&2; exit 1; }
}

# The order alternates so that neither side always runs on a warmer server.
best_psql=999999 best_tool=999999
for round in $(seq "$rounds"); do
  if ((round % 2)); then run_psql; run_tool; else run_tool; run_psql; fi
  awk -v r="$round" -v n="$count" -v t="$tool_s" -v p="$psql_s" -v tc="$tool_cpu" -v pc="$psql_cpu" \
    'BEGIN { printf "round %d, %d INSERTs: tool %.3f s (%.0f/s, client CPU %.2f s), psql %.3f s (%.0f/s, client CPU %.2f s), ratio %.3f\n",
             r, n, t, n / t, tc, p, n / p, pc, t / p }'
  best_psql=$(awk -v a="$best_psql" -v b="$psql_s" 'BEGIN { print (b < a) ? b : a }')
  best_tool=$(awk -v a="$best_tool" -v b="$tool_s" 'BEGIN { print (b < a) ? b : a }')
done
awk -v t="$best_tool" -v p="$best_psql" 'BEGIN {
  r = t / p
  printf "best: tool %.3f s, psql %.3f s, ratio %.3f (target at most 1.15: %s)\n", t, p, r, r <= 1.15 ? "met" : "missed"
}'
