#!/usr/bin/env bash
# The batch core against the sqlite3 shell running the very same statements from one
# script file, both on tmpfs, in one run.
#   bench/sqlite_vs_shell.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
bench=$build/bench/batch_bench
work=$(mktemp -d /dev/shm/liczniki-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Writes the statements the tool sends for COUNT combinations (counter 1 = 1,
# counter 2 = 1..COUNT/100, counter 3 = 1..100, no padding), CR LF as the tool ends them.
statements() {
  local count=$1 mode=$2
  awk -v n="$((count / 100))" -v mode="$mode" 'BEGIN {
    for (b = 1; b <= n; b++) for (c = 1; c <= 100; c++)
      if (mode == "exec") printf "INSERT INTO t VALUES(1, %d, %d);\r\n", b, c;
      else printf "SELECT a, b, c FROM t WHERE c = %d;\r\n", c;
  }'
}

fresh_db() {  # dir mode
  rm -f "$1/default.db"
  sqlite3 "$1/default.db" "CREATE TABLE t(a INTEGER, b INTEGER, c INTEGER);"
  if [ "$2" = query ]; then
    sqlite3 "$1/default.db" "WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < 1000)
                             INSERT INTO t SELECT 1, i / 100, i % 100 FROM s;"
  fi
}

seconds_of() { local s e; s=$(date +%s.%N); "$@"; e=$(date +%s.%N); awk -v s="$s" -v e="$e" 'BEGIN { print e - s }'; }

for run in "100000 exec" "10000 query"; do
  set -- $run
  count=$1 mode=$2
  mkdir -p "$work/tool" "$work/shell"
  statements "$count" "$mode" > "$work/statements.sql"

  fresh_db "$work/shell" "$mode"
  shell_s=$(seconds_of sh -c "sqlite3 '$work/shell/default.db' < '$work/statements.sql' > /dev/null")

  fresh_db "$work/tool" "$mode"
  tool_out=$(cd "$work/tool" && "$bench" "$count" "$mode")
  tool_s=$(sed -E 's/.*seconds=([0-9.]+).*/\1/' <<<"$tool_out")
  rm -f "$work/tool"/*.txt

  awk -v m="$mode" -v n="$count" -v t="$tool_s" -v s="$shell_s" -v rss="$(grep -o 'peak_rss_kb=[0-9]*' <<<"$tool_out")" \
    'BEGIN { printf "%-6s %7d statements: tool %.3f s (%.0f/s), sqlite3 shell %.3f s (%.0f/s), ratio %.2f; tool %s\n",
             m, n, t, n / t, s, n / s, t / s, rss }'
done

# Peak memory must not grow with the number of statements.
for count in 10000 100000; do
  fresh_db "$work/tool" exec
  (cd "$work/tool" && printf 'exec %7d: ' "$count" && "$bench" "$count" exec)
  rm -f "$work/tool"/*.txt
done
