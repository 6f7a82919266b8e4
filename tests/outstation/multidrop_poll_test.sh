#!/usr/bin/env bash
# Three outstations on one line against the console master polling them in
# turn: each fills its device column; the one that falls silent for a while
# is logged as not answering, lost, and back once it answers again.
set -uo pipefail
tool=$1
# shellcheck source-path=SCRIPTDIR source=../support/station_script.sh
. "$(dirname "$0")/../support/station_script.sh"

socat pty,raw,echo=0,link="$work/a" pty,raw,echo=0,link="$work/b" &
pids+=("$!")
wait_until 5 test -e "$work/a" -a -e "$work/b" || fail "socat made no pty pair"
"$tool" outstation --port "$work/a" --frame-delay 20 --yx 4 --yc 4 --address 1,2,3 \
  --silent-address 2 --silent-after-ms 1000 --silent-for-ms 3000 >"$work/station" 2>"$work/station.err" &
station=$!
pids+=("$station")
wait_until 10 holds_file "$station" "$work/a" || fail "the station does not open its port"
"$tool" poll --port "$work/b" --frame-delay 20 --interval 100 --seconds 7 --color never --address 1,2,3 \
  --lost-after 2 --tables >"$work/poll" 2>"$work/poll.err" || fail "poll exits $?: $(cat "$work/poll.err")"
kill -TERM "$station"
wait "$station" || fail "outstation exits $?: $(cat "$work/station.err")"

has() { grep -qF -- "$2" "$work/poll" || fail "$1"; }
for n in 1 2 3; do
  has "no link status from $n" "【${n}#链路完好】"
  has "no interrogation reply from $n" "【${n}# 遥测回复帧   共4个遥测量】"
done
# GrdYC's title row: a column for each device, in the order they first sent values.
titles=$(grep -A1 -xF '[GrdYC]' "$work/poll" | tail -1 | tr '\t' '\n' | grep '#设备' | sort | tr '\n' ' ')
[ "$titles" = "1#设备 2#设备 3#设备 " ] || fail "GrdYC's device columns: $titles"
# Each line once, in this order: silent, lost, back.
order=$(grep -oE '^[0-9]+# (超时无应答|失联|恢复应答)$' "$work/poll" | uniq | tr '\n' '|')
[ "$order" = "2# 超时无应答|2# 失联|2# 超时无应答|2# 恢复应答|" ] || fail "monitoring lines: $order"
! grep -qE '^[13]# ' "$work/poll" || fail "an answering device is logged as silent"
# Frames to 2 went unanswered while it was silent; the other two answered throughout.
[ "$(grep -c '^Rx:' "$work/poll")" -gt 30 ] || fail "too few replies"

[ "$failures" = 0 ] && echo "multi-drop poll against three outstations: all checks passed"
exit $((failures > 0))
