#!/usr/bin/env bash
# The outstation command's console contract, over a socat pseudo-terminal pair.
set -uo pipefail
tool=$1
# shellcheck source-path=SCRIPTDIR source=../support/wait_until.sh
. "$(dirname "$0")/../support/wait_until.sh"
failures=0
work=$(mktemp -d)
export TC101_CONFIG_DIR="$work/config"
mkdir -p "$TC101_CONFIG_DIR"
socat_pid=""
cleanup() {
  [ -n "$socat_pid" ] && kill "$socat_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

for bad in "" "--port" "--port /dev/null --yx 248" "--port /dev/null --yc 124" "--port /dev/null --address 256" \
           "--port /dev/null --parity high" "--port /dev/null --frobnicate" "--port /dev/null extra" \
           "--port /dev/null --seconds 0" "--port /dev/null --seconds x"; do
  # shellcheck disable=SC2086
  err=$("$tool" outstation $bad 2>&1 >/dev/null)
  code=$?
  [ "$code" = 2 ] || fail "'$bad' exits $code, not 2"
  [ "$(printf '%s\n' "$err" | wc -l)" = 1 ] || fail "'$bad' prints more than one line: $err"
done

err=$("$tool" outstation --port /dev/tc101-no-such-port --seconds 1 2>&1 >/dev/null)
code=$?
[ "$code" = 1 ] || fail "a missing port exits $code, not 1"
[ "$err" = "tc101tool outstation: Error opening serial port. /dev/tc101-no-such-port: No such file or directory" ] || fail "missing port message: $err"

socat pty,raw,echo=0,link="$work/a" pty,raw,echo=0,link="$work/b" &
socat_pid=$!
wait_until 5 test -e "$work/a" -a -e "$work/b" || fail "socat made no pty pair"

"$tool" outstation --port "$work/a" --frame-delay 20 --yx 2 --yc 1 --event-every 0 --change-every 0 \
  >"$work/out" 2>"$work/err" &
station=$!
wait_until 10 holds_file "$station" "$work/a" || fail "the station does not open its port"

replies=$(/usr/bin/python3 - "$work/b" <<'PY'
import os, select, sys, termios, time, tty
fd = os.open(sys.argv[1], os.O_RDWR | os.O_NOCTTY)
tty.setraw(fd)
def ask(hex_text, size):
    os.write(fd, bytes.fromhex(hex_text))
    got, end = b"", time.time() + 3
    while len(got) < size and time.time() < end:
        if select.select([fd], [], [], 0.05)[0]:
            got += os.read(fd, 4096)
    print(got.hex(" ").upper())
ask("1049014A16", 5)
ask("68090968530164010601000014D416", 15)
PY
)
expected=$'10 0B 01 0C 16\n68 09 09 68 20 01 64 01 07 01 00 00 14 A2 16'
[ "$replies" = "$expected" ] || fail "replies: $replies"

kill -TERM "$station"
wait "$station"
code=$?
[ "$code" = 0 ] || fail "a terminated station exits $code, not 0"
log=$(sed 's/  ([0-9:]*)$//' "$work/out")
expected_log=$'Rx:10 49 01 4A 16\nTX:10 0B 01 0C 16\nRx:68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16\nTX:68 09 09 68 20 01 64 01 07 01 00 00 14 A2 16'
[ "$log" = "$expected_log" ] || fail "traffic log: $log"
grep -q "^outstation: 2 blocks received, 2 frames handled" "$work/err" || fail "summary: $(cat "$work/err")"

"$tool" outstation --port "$work/a" --seconds 0.5 >/dev/null 2>&1
code=$?
[ "$code" = 0 ] || fail "--seconds 0.5 exits $code, not 0"

[ "$failures" = 0 ] && echo "outstation command: all checks passed"
exit $((failures > 0))
