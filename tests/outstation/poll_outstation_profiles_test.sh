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
# shellcheck source-path=SCRIPTDIR source=../support/poll_pair.sh
. "$(dirname "$0")/../support/poll_pair.sh"

make_point_definitions

quiet="--change-every 0 --event-every 0"
run baseline "" "$quiet" "--ticks 12"
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
    run "$name" "$options" "$quiet" "--ticks 12"
    has "$name" "the interrogation does not complete" "总召结束"
    lacks "$name" "a checksum error" "效验有误"
    lacks "$name" "no valid frame" "没有有效的101报文帧"
    [ "$(table "$name" GrdYX)" = "$(table baseline GrdYX)" ] || fail "$name: GrdYX differs from 1/1/1/2 legacy"
    [ "$(table "$name" GrdYC)" = "$(table baseline GrdYC)" ] || fail "$name: GrdYC differs from 1/1/1/2 legacy"

    run "$name-spont" "$options" "--change-every 100 --event-every 400" "--ticks 30"
    has "$name-spont" "no event record" "事件纪录帧"
    has "$name-spont" "no measured value change" "变化遥测帧"
    lacks "$name-spont" "a checksum error" "效验有误"
    [ "$(sed -n '/^\[GrdSJ\]/,$p' "$work/$name-spont.poll" | grep -c 'yx[1-6]')" -ge 1 ] ||
      fail "$name: no named event row in GrdSJ"
  done
done

[ "$failures" = 0 ] && echo "poll against outstation in ${profiles[*]}: all checks passed"
exit $((failures > 0))
