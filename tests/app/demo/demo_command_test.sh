#!/usr/bin/env bash
# tc101tool demo without a display: the console master against the built-in
# simulator prints the interrogation and exits 0, in a working folder without
# definitions (stand-ins, never written there) and with the user's own ones;
# the stored settings stay as they were.
set -uo pipefail
tool=$1
failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TC101_CONFIG_DIR="$work/config"
mkdir -p "$TC101_CONFIG_DIR" "$work/run"
cd "$work/run" || exit 1

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

printf '[ComSet]\nport=/dev/tc101-no-such-port\nRecieveDelay=100\n' >"$TC101_CONFIG_DIR/comset.ini"
cp "$TC101_CONFIG_DIR/comset.ini" "$work/comset.before"

# grep reads to the end: with -q it may close the pipe before the program
# has written everything, and pipefail would count the broken pipe.
"$tool" help | grep '^  demo ' >/dev/null || fail "demo missing from tc101tool help"
"$tool" demo --help | grep 'usage: tc101tool demo' >/dev/null || fail "no demo --help"
"$tool" demo --no-such-option >/dev/null 2>&1
[ $? = 2 ] || fail "a bad option does not exit 2"

# The fallback as make run meets it on a machine without a display.
env -u DISPLAY -u WAYLAND_DISPLAY "$tool" demo --seconds 2 --color never --tables >"$work/out" 2>"$work/err"
status=$?
[ "$status" = 0 ] || fail "demo exits $status: $(cat "$work/err")"
for text in "【1#链路完好】" "【1#总召确认】" "遥信回复帧" "遥测回复帧" "【1#总召结束】" "1#设备" "A相电压" "开关1"; do
  grep -qF "$text" "$work/out" || fail "console demo: no '$text'"
done
! grep -qF "效验有误" "$work/out" || fail "console demo: a checksum error"
grep -q "^demo outstation: .* 0 ignored" "$work/err" || fail "no simulator figures, or frames ignored: $(cat "$work/err")"
[ -z "$(ls -A "$work/run")" ] || fail "the demo wrote into the working folder: $(ls -A "$work/run")"
cmp -s "$TC101_CONFIG_DIR/comset.ini" "$work/comset.before" || fail "comset.ini changed"

# A display that is named but does not answer: the console run (the demo)
# and a word why (the plain start), never Qt's abort.
nowhere=(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:7391)
"${nowhere[@]}" "$tool" demo --seconds 1 --color never >"$work/nowhere" 2>"$work/nowhere.err"
status=$?
[ "$status" = 0 ] || fail "demo with an unreachable display exits $status: $(cat "$work/nowhere.err")"
grep -qF "【1#链路完好】" "$work/nowhere" || fail "demo with an unreachable display: no console run"
grep -qF "DISPLAY=:7391" "$work/nowhere.err" || fail "demo with an unreachable display: no reason given"
"${nowhere[@]}" "$tool" </dev/null >/dev/null 2>"$work/plain.err"
status=$?
[ "$status" = 1 ] || fail "the window with an unreachable display exits $status"
grep -qF "DISPLAY=:7391 cannot be reached" "$work/plain.err" || fail "no reason for the window: $(cat "$work/plain.err")"

# A strict station: the console master switches to the standard link procedure.
env -u DISPLAY -u WAYLAND_DISPLAY "$tool" demo --strict-fcb --seconds 3 --color never >"$work/strict" 2>"$work/strict.err" ||
  fail "demo --strict-fcb: $(cat "$work/strict.err")"
for text in "【复位链路 1# 确认】" "遥信回复帧" "遥测回复帧"; do
  grep -qF "$text" "$work/strict" || fail "demo --strict-fcb: no '$text'"
done

# The user's own definitions are used (the table prints their name) and kept.
printf '遥测量,单位,比例\n用户遥测,V,1\n' | "$tool" table import - yc.sen --kind yc >/dev/null ||
  fail "cannot make a user's yc.sen"
if [ -e yc.sen ]; then
  cp yc.sen "$work/yc.before"
  env -u DISPLAY -u WAYLAND_DISPLAY "$tool" demo --seconds 2 --color never --tables >"$work/out2" 2>"$work/err2" ||
    fail "demo with the user's yc.sen: $(cat "$work/err2")"
  grep -qF "用户遥测" "$work/out2" || fail "the user's yc.sen was not used"
  cmp -s yc.sen "$work/yc.before" || fail "the user's yc.sen changed"
fi

[ "$failures" = 0 ] && echo "demo on the console: all checks passed"
exit $((failures > 0))
