#!/usr/bin/env bash
# Builds and runs the whole suite three ways: the ordinary build, the whole
# suite again under ASan+UBSan, and the tests labelled "threads" under TSan
# (the two sanitizers cannot share a build; the TSan build makes only those
# tests). Every run goes to the end; the exit code is non-zero when any of
# them failed. The ordinary build's ctest summary comes last. All three build
# with warnings as errors, each target in a few large units (a unity build
# takes about half the compiler time of one unit per file on a cold build),
# and with line tables only for debug information: enough for the sanitizers'
# and a debugger's backtraces, and -O2 with full -g compiles 30 % slower.
# The tests mostly wait on lines and timers, so three times as many run as
# there are cores.
set -uo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
status=0

configure_and_build() {  # dir, target, cmake options...
  local dir=$1 target=$2; shift 2
  cmake -S . -B "$dir" -G Ninja -DTC101_WERROR=ON -DCMAKE_UNITY_BUILD=ON \
    -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" "$@" >/dev/null || return 1
  cmake --build "$dir" -j "$jobs" --target "$target" || return 1
}

run_ctest() {  # dir, ctest options...
  local dir=$1; shift
  ctest --test-dir "$dir" --output-on-failure -j "$((3 * jobs))" --timeout 300 "$@"
}

echo "=== ASan+UBSan build ==="
if configure_and_build build-asan all -DCMAKE_BUILD_TYPE=Debug -DTC101_SANITIZE=address; then
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_ctest build-asan || status=1
else
  status=1
fi

echo "=== TSan build (threaded tests) ==="
if configure_and_build build-tsan threaded_tests -DCMAKE_BUILD_TYPE=Debug -DTC101_SANITIZE=thread -DTC101_GUI=OFF; then
  if ctest --test-dir build-tsan -N -L threads | grep -q 'Total Tests: [1-9]'; then
    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 run_ctest build-tsan -L threads || status=1
  else
    echo "no threaded tests yet"
  fi
else
  status=1
fi

echo "=== Ordinary build ==="
if configure_and_build build all -DCMAKE_BUILD_TYPE=RelWithDebInfo; then
  run_ctest build || status=1
else
  status=1
fi

exit $status
