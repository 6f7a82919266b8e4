#!/usr/bin/env bash
# tc101tool command against tc101tool outstation as two processes over a
# socat pair: a select/execute, a negative confirmation, a lone execute
# refused and allowed, a selection that runs out, silence, and the balanced
# link in two profiles.
set -uo pipefail
tool=$1
# shellcheck source-path=SCRIPTDIR source=../support/station_script.sh
. "$(dirname "$0")/../support/station_script.sh"

# station STATION_OPTIONS: a fresh pair with the station on a; the master uses b.
station() {
  stop_started
  rm -f "$work/a" "$work/b"
  socat pty,raw,echo=0,link="$work/a" pty,raw,echo=0,link="$work/b" &
  pids+=($!)
  wait_until 5 test -e "$work/a" -a -e "$work/b" || fail "socat made no pty pair"
  # shellcheck disable=SC2086
  "$tool" outstation --port "$work/a" --frame-delay 20 --yx 4 --yc 4 --event-every 0 --change-every 0 $1 \
    >"$work/station.log" 2>&1 &
  local pid=$!
  pids+=("$pid")
  wait_until 10 holds_file "$pid" "$work/a" || fail "the station does not open its port"
}

# expect NAME EXIT RESULT COMMAND_OPTIONS
expect() {
  local name=$1 code=$2 result=$3
  shift 3
  "$tool" command --port "$work/b" --frame-delay 20 --interval 20 --color never "$@" >"$work/$name.log" 2>&1
  local got=$?
  [ "$got" = "$code" ] || fail "$name: exit $got, not $code: $(tail -3 "$work/$name.log")"
  [ "$(tail -1 "$work/$name.log")" = "result: $result" ] || fail "$name: last line '$(tail -1 "$work/$name.log")'"
}

station "--select-timeout 300"
expect select-execute 0 confirmed --type sc --ioa 2 --value 1
grep -qF "选择: 确认 (COT 7)" "$work/select-execute.log" || fail "select-execute: no select confirmation"
grep -qF "执行: 终止 (COT 10)" "$work/select-execute.log" || fail "select-execute: no termination"
grep -qE "^TX:68 09 09 68 [57]3 01 2D 01 06 01 02 00 81 " "$work/select-execute.log" || fail "select-execute: select frame"
expect setpoint 0 confirmed --type se-sva --ioa 3 --value -300 --qu 1
expect unknown 1 "negative COT 47" --type dc --ioa 40 --value 2
expect lone-execute 1 "negative COT 7" --type sc --ioa 1 --execute-only
expect select-only 0 confirmed --type sc --ioa 1 --select-only
sleep 0.4
expect expired 1 "negative COT 7" --type sc --ioa 1 --execute-only
for type in cs ci ts rp; do expect "$type" 0 confirmed --type $type; done
expect read 0 confirmed --type rd --ioa 1
expect cancel 0 confirmed --type sc --ioa 1 --cancel
"$tool" command --port "$work/b" --type sc --ioa 1 --mode half >"$work/bad-mode.log" 2>&1; [ $? = 2 ] || fail "bad-mode: not exit 2"
[ "$(wc -l <"$work/bad-mode.log")" = 1 ] || fail "bad-mode: not one line"

station "--direct-execute"
expect direct 0 confirmed --type sc --ioa 1 --execute-only

# Balanced: each step as our user data, the replies as the station's own.
# PROFILE SELECT_FRAME_START
while read -r profile head; do
  # The station's own direction comes up first, so its reply can wait for it.
  station "--mode balanced --profile $profile --select-timeout 5000"
  name=balanced-${profile//\//}
  expect "$name" 0 confirmed --mode balanced --profile "$profile" --type sc --ioa 2 --value 1
  for line in "1# 链路建立" "选择: 确认 (COT 7)" "执行: 确认 (COT 7)" "执行: 终止 (COT 10)"; do
    grep -qF "$line" "$work/$name.log" || fail "$name: no '$line'"
  done
  grep -qE "^TX:$head" "$work/$name.log" || fail "$name: select frame"
  expect "$name-unknown" 1 "negative COT 47" --mode balanced --profile "$profile" --type dc --ioa 40 --value 2
done <<'CASES'
1/1/1/2 68 09 09 68 [DF]3 01 2D 01 06 01 02 00 81
2/2/2/3 68 0D 0D 68 [DF]3 01 00 2D 01 06 00 01 00 02 00 00 81
CASES

# Nobody answers.
stop_started
rm -f "$work/a" "$work/b"
socat pty,raw,echo=0,link="$work/a" pty,raw,echo=0,link="$work/b" &
pids+=($!)
wait_until 5 test -e "$work/b" || fail "socat made no pty pair"
expect silence 3 timeout --type sc --ioa 1 --timeout 300
grep -qF "选择: 超时 (300 ms)" "$work/silence.log" || fail "silence: no timeout line"
# Balanced, with ticks far apart: the link's timer ends the step in time.
start=$(date +%s%N)
expect silence-balanced 3 timeout --mode balanced --type sc --ioa 1 --timeout 300 --interval 5000
[ $(( ($(date +%s%N) - start) / 1000000 )) -lt 3000 ] || fail "silence-balanced: the step waited for a tick"

[ "$failures" = 0 ] && echo "command against outstation: all cases passed"
exit $((failures > 0))
