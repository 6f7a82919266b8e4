# shellcheck shell=bash
# shellcheck disable=SC2154  # $work, $pids and $tool are the sourcing script's
# poll against outstation over a fresh socat pair, for the script tests that
# compare tables: run, and table, has and lacks over its output. Sourced
# after station_script.sh and make_point_definitions; $tool is the program.

# run NAME OPTIONS STATION_OPTIONS POLL_OPTIONS: both sides given OPTIONS (the
# profile); their output in $work/NAME.station and $work/NAME.poll, each
# with its standard error in .err beside it.
run() {
  local name=$1 options=$2 station_options=$3 poll_options=$4
  rm -f "$work/a" "$work/b"
  socat pty,raw,echo=0,link="$work/a" pty,raw,echo=0,link="$work/b" &
  local socat_pid=$!
  pids+=("$socat_pid")
  wait_until 5 test -e "$work/a" -a -e "$work/b" || fail "$name: socat made no pty pair"
  # shellcheck disable=SC2086
  "$tool" outstation --port "$work/a" --frame-delay 10 --yx 6 --yc 6 --seed 5 $options $station_options \
    >"$work/$name.station" 2>"$work/$name.station.err" &
  local station=$!
  pids+=("$station")
  wait_until 10 holds_file "$station" "$work/a" || fail "$name: the station does not open its port"
  # shellcheck disable=SC2086
  "$tool" poll --port "$work/b" --frame-delay 10 --interval 60 --color never --tables \
    --yc "$work/yc.sen" --yx "$work/yx.sen" $options $poll_options >"$work/$name.poll" 2>"$work/$name.poll.err" ||
    fail "$name: poll exits $?: $(cat "$work/$name.poll.err")"
  kill -TERM "$station"
  wait "$station" || fail "$name: outstation exits $?: $(cat "$work/$name.station.err")"
  kill "$socat_pid" 2>/dev/null
  wait "$socat_pid" 2>/dev/null
}

# The device value columns of table $2 as run NAME=$1 printed it, title row aside.
table() { sed -n "/^\[$2\]/,/^\[/p" "$work/$1.poll" | sed '1d;2d;/^\[/d' | cut -f5-; }

# has/lacks NAME WHAT TEXT: fail with WHAT unless/when run NAME printed TEXT.
has() { grep -qF -- "$3" "$work/$1.poll" || fail "$1: $2"; }
lacks() { ! grep -qF -- "$3" "$work/$1.poll" || fail "$1: $2"; }
