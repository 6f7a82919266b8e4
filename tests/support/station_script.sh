# shellcheck shell=bash
# What the script tests that run the program's processes share: a private
# work and configuration folder, the processes they start (in pids) killed
# at exit, and fail, which counts a failure. Sourced; brings wait_until too.

# shellcheck source-path=SCRIPTDIR source=wait_until.sh
. "$(dirname "${BASH_SOURCE[0]}")/wait_until.sh"

failures=0
work=$(mktemp -d)
export TC101_CONFIG_DIR="$work/config"
mkdir -p "$TC101_CONFIG_DIR"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

# Ends the processes started so far and waits until they are gone: a socat
# still on its way out removes its links, even those a new socat has just made.
stop_started() {
  [ ${#pids[@]} -gt 0 ] || return 0
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait "${pids[@]}" 2>/dev/null
  pids=()
}

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# $work/yc.sen and $work/yx.sen for six points each, with state texts and
# ratio 1, so the tables show every value the simulator sends.
make_point_definitions() {
  printf '遥测量,单位,比例\n' >"$work/yc.csv"
  printf '遥信量,0的意义,1的意义\n' >"$work/yx.csv"
  for i in 1 2 3 4 5 6; do
    printf 'yc%s,A,1\n' "$i" >>"$work/yc.csv"
    printf 'yx%s,分,合\n' "$i" >>"$work/yx.csv"
  done
  "$tool" table import "$work/yc.csv" "$work/yc.sen" --kind yc >/dev/null || fail "cannot make yc.sen"
  "$tool" table import "$work/yx.csv" "$work/yx.sen" --kind yx >/dev/null || fail "cannot make yx.sen"
}
