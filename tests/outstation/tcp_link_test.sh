#!/usr/bin/env bash
# The console master and the simulator over TCP on the loopback address, as
# through a serial device server: the interrogation completes, a station that
# dies is a hang-up for the master, and a station started again is reached
# by opening again.
set -uo pipefail
tool=$1
# shellcheck source-path=SCRIPTDIR source=../support/wait_until.sh
. "$(dirname "$0")/../support/wait_until.sh"
failures=0
work=$(mktemp -d)
export TC101_CONFIG_DIR="$work/config"
mkdir -p "$TC101_CONFIG_DIR"
station=
cleanup() {
  [ -n "$station" ] && kill "$station" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# start_station PORT: the simulator listening there; false when the port is
# taken (the station ends) or it does not listen within 10 s.
start_station() {
  "$tool" outstation --port "tcp-listen:127.0.0.1:$1" --frame-delay 20 --yx 4 --yc 4 \
    >>"$work/station.log" 2>"$work/station.err" &
  station=$!
  listening_or_gone() { listens_on "$station" "$1" || ! kill -0 "$station" 2>/dev/null; }
  wait_until 10 listening_or_gone "$1" && listens_on "$station" "$1" && return 0
  kill "$station" 2>/dev/null
  wait "$station" 2>/dev/null
  station=
  return 1
}
poll() { "$tool" poll --port "tcp:127.0.0.1:$port" --frame-delay 20 --interval 100 --color never "$@"; }

port=
for _ in $(seq 20); do
  candidate=$((20000 + RANDOM % 40000))
  if start_station "$candidate"; then port=$candidate; break; fi
done
[ -n "$port" ] || { echo "FAIL: no free port for the station: $(cat "$work/station.err")"; exit 1; }

poll --ticks 20 >"$work/first.poll" 2>"$work/first.err" || fail "first poll exits $?: $(cat "$work/first.err")"
grep -qF "【1# 遥信回复帧   共4个遥信量】" "$work/first.poll" || fail "no telesignal reply over TCP"
grep -qF "【1# 遥测回复帧   共4个遥测量】" "$work/first.poll" || fail "no measured value reply over TCP"
grep -qF "【1#总召结束】" "$work/first.poll" || fail "the interrogation does not complete over TCP"
! grep -qF "效验有误" "$work/first.poll" || fail "a checksum error over TCP"

# A station that dies mid-run: the master reports the hang-up and ends.
poll --seconds 30 >"$work/hangup.poll" 2>"$work/hangup.err" &
master=$!
wait_until 10 has_line "$work/hangup.poll" "^Rx:" || fail "no reply before the station died"
kill -KILL "$station"
wait "$station" 2>/dev/null
station=
start=$SECONDS
wait "$master"
status=$?
[ "$status" = 1 ] || fail "after the station died, poll exits $status, not 1"
[ $((SECONDS - start)) -le 5 ] || fail "the hang-up took $((SECONDS - start)) s to tell"
grep -q "gone away" "$work/hangup.err" || fail "no hang-up message: $(cat "$work/hangup.err")"

# Nobody listening: the system's word for it, at once.
poll --ticks 1 >/dev/null 2>"$work/refused.err"
status=$?
[ "$status" = 1 ] || fail "without a station, poll exits $status, not 1"
grep -q "Connection refused" "$work/refused.err" || fail "no system message: $(cat "$work/refused.err")"

# The station again on the same port: opening again reaches it.
start_station "$port" || fail "the station cannot listen again: $(cat "$work/station.err")"
poll --ticks 5 >"$work/again.poll" 2>"$work/again.err" || fail "poll after restart exits $?: $(cat "$work/again.err")"
grep -qF "【1#链路完好】" "$work/again.poll" || fail "no link status after the station came back"

[ "$failures" = 0 ] && echo "TCP link: all checks passed"
exit $((failures > 0))
