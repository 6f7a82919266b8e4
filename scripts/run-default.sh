#!/usr/bin/env bash
# The program's built-in default: the demo, the main window against the
# built-in outstation simulator; without a display the console master polls
# the simulator for ten seconds and prints the traffic.
set -euo pipefail
tool=$1
exec "$tool" demo
