#!/usr/bin/env bash
# The program's built-in default: for now the analyser on a demonstration
# burst (a status of link, an interrogation confirmation, a measured value
# reply and an event).
set -euo pipefail
tool=$1
exec "$tool" analyse --tables \
  "10 0B 01 0C 16 68 09 09 68 00 01 64 01 07 01 00 00 14 82 16 68 0C 0C 68 08 01 15 82 14 01 01 40 E8 03 18 FC F5 16 68 0C 0C 68 28 01 02 01 03 01 05 00 01 39 30 0C AB 16"
