#!/usr/bin/env bash
# poll --mode balanced against outstation --mode balanced, in the profiles
# 1/1/1/2, 2/2/2/3 and with no link address: both directions initialised, the
# interrogation answered unsolicited and the tables holding what the
# unbalanced run holds; a missing acknowledgement repeated and counted; a
# station that falls silent lost and initialised again. Also the refusals.
set -uo pipefail
tool=$1
# shellcheck source-path=SCRIPTDIR source=../support/station_script.sh
. "$(dirname "$0")/../support/station_script.sh"
# shellcheck source-path=SCRIPTDIR source=../support/poll_pair.sh
. "$(dirname "$0")/../support/poll_pair.sh"

make_point_definitions

quiet="--change-every 0 --event-every 0"
run baseline "" "$quiet" "--ticks 12"
[ -n "$(table baseline GrdYX | tr -d '\t\n')" ] || fail "baseline: no telesignal values"

# PROFILE OPTIONS | our status request | the station's reset, as the account names it
cases=(
  "--profile 1/1/1/2|TX:10 C9 01 CA 16|复位远方链路 1#"
  "--profile 2/2/2/3 --address 257 --decoding standard|TX:10 C9 01 01 CB 16|复位远方链路 257#"
  "--profile 0/1/1/2|TX:10 C9 C9 16|复位远方链路 0#"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r options status reset <<<"$entry"
  name=$(tr -c 'a-z0-9\n' '-' <<<"$options")
  run "$name" "--mode balanced $options" "$quiet" "--seconds 2"
  has "$name" "no request status of link" "$status"
  has "$name" "our direction not initialised" "链路建立"
  has "$name" "the station's direction not initialised" "$reset"
  has "$name" "no end of the interrogation" "总召结束"
  lacks "$name" "a checksum error" "效验有误"
  lacks "$name" "a repeat on a sound link" "重发"
  [ "$(table "$name" GrdYX)" = "$(table baseline GrdYX)" ] || fail "$name: GrdYX differs from the unbalanced run"
  [ "$(table "$name" GrdYC)" = "$(table baseline GrdYC)" ] || fail "$name: GrdYC differs from the unbalanced run"
done

run spont "--mode balanced" "--change-every 100 --event-every 300" "--seconds 2"
has spont "no event record" "事件纪录帧"
has spont "no measured value change" "变化遥测帧"

# The station leaves its acknowledgement of the interrogation unsent: the
# master repeats it, the station acknowledges the repeat without taking it twice.
run drop "--mode balanced --repeat-timeout 300" "$quiet --drop-ack 1" "--seconds 2"
has drop "no repeat" "1# 超时无应答, 重发(第1次)"
grep -qF "1 duplicates received" "$work/drop.station.err" || fail "drop: the station saw no repeat: $(cat "$work/drop.station.err")"
[ "$(grep -c '1#总召结束' "$work/drop.poll")" = 2 ] || fail "drop: the interrogation not answered once"

# The station falls silent for 1.5 s: lost, then initialised again and interrogated.
run silent "--mode balanced --repeat-timeout 200 --retries 2 --test-period 300" "$quiet --silence-at 1000 --silence-for 1500" \
  "--seconds 4"
has silent "not reported lost" "1# 链路中断: 重发 2 次仍无应答, 重新初始化链路"
has silent "not back" "1# 链路恢复"
[ "$(sed -n '/链路恢复/,$p' "$work/silent.poll" | grep -c '========总召1#')" -ge 1 ] || fail "silent: no interrogation after the link came back"

# analyse reads the outstation's own user data as data in balanced mode only.
data="68 09 09 68 73 01 01 01 03 01 05 00 01 80 16"
[ "$("$tool" analyse --mode balanced "$data")" = "有效帧:$data  【#1变化遥信帧】" ] || fail "analyse --mode balanced: $("$tool" analyse --mode balanced "$data")"
[ "$("$tool" analyse "$data")" = "有效帧:$data  【总召1#】" ] || fail "analyse: $("$tool" analyse "$data")"

# Refusals: one line, exit 2.
refused() {
  local expect=$1
  shift
  "$tool" "$@" >"$work/refused.out" 2>"$work/refused.err"
  local status=$?
  [ "$status" = 2 ] || fail "$* exits $status"
  grep -qF -- "$expect" "$work/refused.err" || fail "$*: says $(cat "$work/refused.err")"
}
refused "a link address of 0 octets needs --mode balanced" poll --port "$work/none" --profile 0/1/1/2
refused "--mode takes" poll --port "$work/none" --mode half
refused "--drop-ack and --silence-for need --mode balanced" outstation --port "$work/none" --drop-ack 1
refused "--mode takes" command --port "$work/none" --mode half --type sc --ioa 1 --value 1

[ "$failures" = 0 ] && echo "poll against outstation, balanced: all checks passed"
exit $((failures > 0))
