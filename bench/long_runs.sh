#!/usr/bin/env bash
# Long headless runs on tmpfs: the log must hold exactly the expected lines, and peak memory
# must stay flat as the number of statements grows. Then a query of 1,000,000 rows shown in
# the grid against one of 100 rows: the first screen must not wait for, or hold, the rest.
#   bench/long_runs.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=$(mktemp -d /dev/shm/liczniki-long.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
failed=0

fresh_db() {  # mode
  rm -f default.db ./*.txt
  sqlite3 default.db "CREATE TABLE t(a INTEGER, b INTEGER, c INTEGER);"
  if [ "$1" = query ]; then
    sqlite3 default.db "WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < 1000)
                        INSERT INTO t SELECT 1, i / 100, i % 100 FROM s;"
  fi
}

expect() {  # what expected actual
  if [ "$2" != "$3" ]; then echo "  MISMATCH $1: expected $2, got $3"; failed=1; fi
}

# Runs COUNT statements (counter 1 = 1, counter 2 = 1..COUNT/100, counter 3 = 1..100) and counts
# every kind of line in the log: start, then per statement a counter line, the statement, an
# empty line and a separator, then the end line.
long_run() {  # count mode
  local n=$1 mode=$2 statement
  fresh_db "$mode"
  printf '%-5s %8d: ' "$mode" "$n"
  "$build/bench/batch_bench" "$n" "$mode"
  local log
  log=$(ls ./*.txt)
  if [ "$mode" = exec ]; then
    statement='^INSERT INTO t VALUES\(1, [0-9]+, [0-9]+\);'$'\r$'
    expect "rows inserted" "$n" "$(sqlite3 default.db 'SELECT count(*) FROM t')"
  else
    statement='^SELECT a, b, c FROM t WHERE c = [0-9]+;'$'\r$'
  fi
  expect "lines" "$((4 * n + 2))" "$(wc -l <"$log")"
  expect "start line" 1 "$(grep -cE $'^START [0-9:apm ]+\r$' "$log")"
  expect "counter lines" "$n" "$(grep -cE $'^1 [0-9]+ [0-9]+\r$' "$log")"
  expect "statements" "$n" "$(grep -cE "$statement" "$log")"
  expect "empty lines" "$n" "$(grep -c $'^\r$' "$log")"
  expect "separators" "$n" "$(grep -c $'^ \r$' "$log")"
  expect "error lines" 0 "$(grep -c '^\*\* ERROR' "$log" || true)"
  expect "last counter line" "1 $((n / 100)) 100" "$(grep -E $'^1 [0-9]+ [0-9]+\r$' "$log" | tail -n1 | tr -d '\r')"
  expect "end line last" KONIEC "$(tail -n1 "$log" | cut -d' ' -f1)"
  echo "  log $(wc -c <"$log") bytes checked"
}

for n in 10000 100000 1000000; do long_run "$n" exec; done
long_run 100000 query

echo "grid:"
rm -f default.db
sqlite3 default.db "CREATE TABLE big(a INTEGER, b TEXT);
  WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < 1000000)
  INSERT INTO big SELECT i, 'row ' || i FROM s;"
for limit in 100 1000000; do
  printf '  %7d rows: ' "$limit"
  QT_QPA_PLATFORM=offscreen "$build/bench/result_bench" "SELECT a, b FROM big LIMIT $limit" 2>/dev/null
done
exit $failed
