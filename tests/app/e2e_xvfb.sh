#!/usr/bin/env bash
# End to end under a real X server: type a template into the editor, press "Wykonaj" with
# real input events, check the run log and the database, then close with "Wyjście".
# Usage: e2e_xvfb.sh path/to/liczniki
set -euo pipefail
prog=$(realpath "${1:?usage: $0 path/to/liczniki}")

fail() { echo "FAIL: $*" >&2; exit 1; }
# Polls a command for up to $1 tenths of a second.
wait_for() {
  local tries=$1; shift
  for ((i = 0; i < tries; i++)); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

work=$(mktemp -d)
xvfb_pid=; app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

for d in $(seq 90 190); do
  [ -e "/tmp/.X$d-lock" ] || [ -e "/tmp/.X11-unix/X$d" ] || { display=:$d; break; }
done
[ -n "${display:-}" ] || fail "no free X display"
Xvfb "$display" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display QT_QPA_PLATFORM=xcb
wait_for 100 xdotool getmouselocation || fail "Xvfb did not start"

cd "$work"
sqlite3 default.db "CREATE TABLE t(a INTEGER)"
"$prog" >"$work/app.log" 2>&1 &
app_pid=$!
wait_for 200 xdotool search --onlyvisible --name "SQL z wykorzystaniem" || fail "window did not appear"
sleep 1
win=$(xdotool search --onlyvisible --name "SQL z wykorzystaniem" | head -1)
eval "$(xdotool getwindowgeometry --shell "$win")"   # X, Y: the client area's place
[ "$X,$Y" = "28,98" ] || echo "note: window at $X,$Y"

click() { xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1; }
click 300 200                                    # into the editor
xdotool type --delay 30 -- 'INSERT INTO t VALUES($LICZ1$$LICZ2$$LICZ3$);'
click $((688 + 37)) $((416 + 12))                # "Wykonaj"

wait_for 600 grep -qa "^KONIEC " ./*.txt || fail "the run did not end: $(ls)"
log=$(ls ./*.txt)
[[ $(basename "$log") =~ ^[0-9]{8}_[0-9]{4}\.txt$ ]] || fail "log name $log"
lines=$(grep -c $'\r$' "$log")
[ "$lines" = 1442 ] || fail "log has $lines CR LF lines, expected 1 + 360 * 4 + 1"
sed -n '2p;3p;4p;5p' "$log" | tr -d '\r' >"$work/head.txt"
printf '%s\n' "2009 01 1" "INSERT INTO t VALUES(2009011);" "" " " | cmp -s - "$work/head.txt" ||
  fail "log begins: $(cat "$work/head.txt")"
[ "$(grep -c '^\*\* ERROR' "$log" || true)" = 0 ] || fail "errors in the log"
[ "$(sqlite3 default.db 'SELECT count(*), min(a), max(a) FROM t')" = "360|2009011|20111210" ] ||
  fail "table: $(sqlite3 default.db 'SELECT count(*), min(a), max(a) FROM t')"

click $((688 + 37)) $((528 + 12))                # "Wyjście"
wait_for 200 bash -c "! kill -0 $app_pid" || fail "the program did not end"
rc=0; wait "$app_pid" || rc=$?
app_pid=
[ "$rc" = 0 ] || fail "exit code $rc"
echo "e2e: ok"
