#!/usr/bin/env bash
# The same statements run through the real main window (offscreen) and through the headless
# batch core, against SQLite on tmpfs, in one run.
#   bench/window_vs_headless.sh [build-dir] [count]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
count=${2:-10000}
bench=$build/bench/batch_bench
work=$(mktemp -d /dev/shm/liczniki-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

measure() {  # mode
  rm -f "$work"/default.db "$work"/*.txt
  sqlite3 "$work/default.db" "CREATE TABLE t(a INTEGER, b INTEGER, c INTEGER);"
  (cd "$work" && "$bench" "$count" "$1") | sed -E 's/.*seconds=([0-9.]+).*per_second=([0-9]+).*/\1 \2/'
}

read -r headless_s headless_rate < <(measure exec)
read -r window_s window_rate < <(measure window)
awk -v n="$count" -v hs="$headless_s" -v hr="$headless_rate" -v ws="$window_s" -v wr="$window_rate" \
  'BEGIN { printf "%d statements: headless %.3f s (%d/s), window %.3f s (%d/s), ratio %.2f\n", n, hs, hr, ws, wr, ws / hs }'
