#!/usr/bin/env bash
# Soak run (not a test): the master simulation against the built-in simulator
# for SOAK_MINUTES (default 30) at a SOAK_INTERVAL_MS (default 20) tick, in one
# tc101tool demo process on the console. Prints requests sent, replies
# received, blocks and frames analysed, frames lost and resident memory at the
# start and the end.
#
# Frames lost, counted three ways (each should be 0):
#   master -> station  requests the master sent that the station did not take in
#                      (master "TX:" lines less the station's frames handled and
#                      ignored: a torn or merged frame shows up as ignored);
#                      a request sent at the last tick, when the master's port
#                      closes before it reaches the line, is "cut", not lost
#   station -> master  replies the station sent that the master did not analyse
#                      as a valid frame (station replies less the master's valid
#                      frames)
# Ticks on which the master's last request still had no reply are shown as
# "late": the master waits three ticks and sends again; a reply that comes
# late is counted above, so a late reply is not a lost one.
# A checksum error in the master's analysis counts as well.
#
# usage: bench/soak/soak.sh [path/to/tc101tool]   (run it with nice)
set -uo pipefail
tool=$(realpath "${1:-build/app/tc101tool}")
minutes=${SOAK_MINUTES:-30}
interval=${SOAK_INTERVAL_MS:-20}
delay=${SOAK_FRAME_DELAY_MS:-5}
seconds=$(awk -v m="$minutes" 'BEGIN { printf "%.3f", m * 60 }')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TC101_CONFIG_DIR="$work/config"
mkdir -p "$TC101_CONFIG_DIR" "$work/run"
cd "$work/run" || exit 1

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null; }

# The master's log is counted as it streams: 30 minutes at 20 ms print
# hundreds of megabytes.
count_log() {
  awk -v tailfile="$work/tail" '
    { ring[NR % 40] = $0 }
    /^TX:/ { tx++; trailing++ }
    /^Rx:/ { rx++; trailing = 0 }
    /有效帧:/ { valid++ }
    /效验有误/ { bad++ }
    /总召结束/ { gi++ }
    /事件纪录帧/ { events++ }
    /变化遥测帧/ { changes++ }
    END {
      for (i = NR - 39; i <= NR; i++) if (i > 0) print ring[i % 40] > tailfile
      printf "tx=%d rx=%d valid=%d bad=%d gi=%d events=%d changes=%d inflight=%d\n", tx, rx, valid, bad, gi, events, changes, trailing }
  ' >"$work/counts"
}

echo "soak: $minutes min, tick $interval ms, frame delay $delay ms, started $(date -u +%H:%M:%S) UTC"
env -u DISPLAY -u WAYLAND_DISPLAY "$tool" demo --console --color never --seconds "$seconds" --interval "$interval" \
  --frame-delay "$delay" --change-every 200 --event-every 1000 \
  > >(count_log) 2>"$work/err" &
pid=$!
sleep 5
rss_start=$(rss_kb "$pid")
echo "resident memory after 5 s: ${rss_start} kB"
end=$(($(date +%s) + ${seconds%.*} - 10))
rss_end=$rss_start
rss_max=$rss_start
while [ "$(date +%s)" -lt "$end" ] && kill -0 "$pid" 2>/dev/null; do
  sleep 10
  now=$(rss_kb "$pid")
  [ -n "$now" ] || break
  rss_end=$now
  [ "$now" -gt "$rss_max" ] && rss_max=$now
done
wait "$pid"
status=$?
sleep 1
echo "ended $(date -u +%H:%M:%S) UTC, exit status $status"
cat "$work/err"
read -r tx rx valid bad gi events changes inflight < <(tr '=' ' ' <"$work/counts" | awk '{ print $2, $4, $6, $8, $10, $12, $14, $16 }')
read -r blocks handled ignored again replies dropped < <(
  sed -nE 's/^demo outstation: ([0-9]+) blocks received, ([0-9]+) frames handled, ([0-9]+) ignored, ([0-9]+) sent again, ([0-9]+) replies; link: [0-9]+ octets carried, ([0-9]+) dropped$/\1 \2 \3 \4 \5 \6/p' "$work/err")
ticks=$(awk -v s="$seconds" -v i="$interval" 'BEGIN { printf "%d", s * 1000 / i }')
lost_up=$((tx - inflight - handled))
[ "$lost_up" -lt 0 ] && lost_up=0
lost_down=$((replies - valid))
echo
echo "ticks                     $ticks"
echo "requests sent             $tx ($inflight after the last reply, cut by the end of the run)"
echo "blocks received (master)  $rx"
echo "frames analysed, valid    $valid"
echo "checksum errors           $bad"
echo "interrogations completed  $gi"
echo "events, value changes     $events, $changes"
echo "station: blocks $blocks, frames handled $handled, ignored $ignored, sent again $again, replies $replies"
echo "link octets dropped       $dropped"
echo "frames lost master->station $lost_up, station->master $lost_down, ignored by station $ignored"
echo "ticks without a send (late replies)  $((ticks - tx))"
echo "resident memory           start ${rss_start} kB, end ${rss_end} kB, max ${rss_max} kB, growth $((rss_end - rss_start)) kB"
[ "$lost_up" = 0 ] && [ "$lost_down" = 0 ] || { echo "the log's last lines:"; cat "$work/tail"; }
[ "$status" = 0 ] && [ "$lost_up" = 0 ] && [ "$lost_down" = 0 ] && [ "$ignored" = 0 ] && [ "$bad" = 0 ] &&
  [ $((rss_end - rss_start)) -lt 5120 ]
