#!/usr/bin/env bash
# poll against outstation in one link profile after another, both sides given
# the same profile options: the interrogation completes, both tables hold the
# values the 1/1/1/2 legacy run holds (the simulator's, at the same rows), and
# the spontaneous changes and events are decoded. The profiles are the
# arguments after the program; with none, the whole table.
set -uo pipefail
tool=$1
# shellcheck source-path=SCRIPTDIR source=../support/station_script.sh
. "$(dirname "$0")/../support/station_script.sh"

make_point_definitions

# run NAME PROFILE_OPTIONS STATION_OPTIONS TICKS: both sides' output in $work/NAME.*
run() {
  local name=$1 profile=$2 station_options=$3 ticks=$4
  rm -f "$work/a" "$work/b"
  socat pty,raw,echo=0,link="$work/a" pty,raw,echo=0,link="$work/b" &
  local socat_pid=$!
  pids+=("$socat_pid")
  wait_until 5 test -e "$work/a" -a -e "$work/b" || fail "$name: socat made no pty pair"
  # shellcheck disable=SC2086
  "$tool" outstation --port "$work/a" --frame-delay 10 --yx 6 --yc 6 --seed 5 $profile $station_options \
    >"$work/$name.station" 2>"$work/$name.station.err" &
  local station=$!
  pids+=("$station")
  wait_until 10 holds_file "$station" "$work/a" || fail "$name: the station does not open its port"
  # shellcheck disable=SC2086
  "$tool" poll --port "$work/b" --frame-delay 10 --interval 60 --ticks "$ticks" --color never --tables \
    --yc "$work/yc.sen" --yx "$work/yx.sen" $profile >"$work/$name.poll" 2>"$work/$name.poll.err" ||
    fail "$name: poll exits $?: $(cat "$work/$name.poll.err")"
  kill -TERM "$station"
  wait "$station" || fail "$name: outstation exits $?: $(cat "$work/$name.station.err")"
  kill "$socat_pid" 2>/dev/null
  wait "$socat_pid" 2>/dev/null
}

# The device value columns of a table as printed by --tables, title row aside.
table() { sed -n "/^\[$2\]/,/^\[/p" "$work/$1.poll" | sed '1d;2d;/^\[/d' | cut -f5-; }

has() { grep -qF -- "$3" "$work/$1.poll" || fail "$1: $2"; }
lacks() { ! grep -qF -- "$3" "$work/$1.poll" || fail "$1: $2"; }

quiet="--change-every 0 --event-every 0"
run baseline "" "$quiet" 12
has baseline "no end of the interrogation" "总召结束"
[ -n "$(table baseline GrdYX | tr -d '\t\n')" ] || fail "baseline: no telesignal values"
[ -n "$(table baseline GrdYC | tr -d '\t\n')" ] || fail "baseline: no measured values"

# Every profile, with both decodings: the same values at the same rows.
profiles=("${@:2}")
[ ${#profiles[@]} -gt 0 ] || profiles=(1/1/1/2 1/2/2/3 2/2/2/3 2/1/1/2 1/1/2/3 2/2/1/2)
for sizes in "${profiles[@]}"; do
  for decoding in legacy standard; do
    name="${sizes//\//-}-$decoding"
    options="--profile $sizes --decoding $decoding"
    run "$name" "$options" "$quiet" 12
    has "$name" "the interrogation does not complete" "总召结束"
    lacks "$name" "a checksum error" "效验有误"
    lacks "$name" "no valid frame" "没有有效的101报文帧"
    [ "$(table "$name" GrdYX)" = "$(table baseline GrdYX)" ] || fail "$name: GrdYX differs from 1/1/1/2 legacy"
    [ "$(table "$name" GrdYC)" = "$(table baseline GrdYC)" ] || fail "$name: GrdYC differs from 1/1/1/2 legacy"

    run "$name-spont" "$options" "--change-every 100 --event-every 400" 30
    has "$name-spont" "no event record" "事件纪录帧"
    has "$name-spont" "no measured value change" "变化遥测帧"
    lacks "$name-spont" "a checksum error" "效验有误"
    [ "$(sed -n '/^\[GrdSJ\]/,$p' "$work/$name-spont.poll" | grep -c 'yx[1-6]')" -ge 1 ] ||
      fail "$name: no named event row in GrdSJ"
  done
done

[ "$failures" = 0 ] && echo "poll against outstation in ${profiles[*]}: all checks passed"
exit $((failures > 0))
