#!/usr/bin/env bash
# Runs every benchmark executable of a bench build.
set -euo pipefail
dir=$1
found=0
for exe in "$dir"/bench/*_bench; do
  [ -x "$exe" ] || continue
  found=1
  echo "=== $(basename "$exe") ==="
  "$exe" --benchmark_counters_tabular=true
done
[ $found = 1 ] || echo "no benchmarks built"
