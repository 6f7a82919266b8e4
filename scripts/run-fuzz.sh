#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for the given number of seconds,
# each with its own corpus folder under the build.
set -euo pipefail
dir=$1
seconds=$2
found=0
for exe in "$dir"/fuzz/fuzz_*; do
  [ -x "$exe" ] || continue
  found=1
  name=$(basename "$exe")
  corpus="$dir/corpus/$name"
  mkdir -p "$corpus"
  echo "=== $name (${seconds}s) ==="
  "$exe" -max_total_time="$seconds" -print_final_stats=1 "$corpus" 2>&1 | tail -n 20
done
[ $found = 1 ] || echo "no fuzz targets built"
