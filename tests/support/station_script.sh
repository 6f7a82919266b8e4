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

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
