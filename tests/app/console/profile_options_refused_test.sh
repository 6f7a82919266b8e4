#!/usr/bin/env bash
# A bad profile option is refused by every command that takes the profile:
# exit 2 and one line on standard error.
set -uo pipefail
tool=$1
# shellcheck source-path=SCRIPTDIR source=../../support/station_script.sh
. "$(dirname "$0")/../../support/station_script.sh"

for command in analyse poll send outstation demo; do
  case $command in  # what each needs besides, none of it refused
    analyse | send) rest=10 ;;
    outstation) rest="--port $work/none" ;;
    demo) rest="--console --seconds 1" ;;
    *) rest="" ;;
  esac
  for bad in "--profile 3/1/1/2" "--profile 1/1/1/4" "--profile 2/2/2" "--decoding iec" "--originator 256" \
             "--common-address 256" "--yc-base 0x1000000"; do
    # shellcheck disable=SC2086
    "$tool" "$command" $bad $rest >/dev/null 2>"$work/refused.err" </dev/null
    status=$?
    [ "$status" = 2 ] || fail "$command $bad exits $status, not 2"
    [ "$(wc -l <"$work/refused.err")" = 1 ] || fail "$command $bad: not one line: $(cat "$work/refused.err")"
  done
done

[ "$failures" = 0 ] && echo "bad profile options refused by every command: all checks passed"
exit $((failures > 0))
