#!/usr/bin/env bash
# What the tinted and clear looks cost: the matrix of every shipped scenario and language on
# iOS 26 at scale 2, drawn in light and dark, and in light, dark, tinted and clear, interleaved;
# the median wall time of each and their ratio (the target is at most 2.2).
# Usage: scripts/build tamsa-widgets && bench/looks_figures.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/figures-common.sh
runs=${1:-5}
program=build/tamsa-widgets

draw() { "$program" --os 26.0 gallery --scenario all --appearance "$1" -o "$tmp/$2" >/dev/null 2>&1; }

two=() four=()
for ((i = 0; i < runs; i++)); do
  t=$(now_ns); draw light,dark two; two+=($(($(now_ns) - t)))
  t=$(now_ns); draw light,dark,tinted,clear four; four+=($(($(now_ns) - t)))
done
a=$(printf '%s\n' "${two[@]}" | median)
b=$(printf '%s\n' "${four[@]}" | median)
n2=$(find "$tmp/two" -mindepth 3 -name '*.png' | wc -l)
n4=$(find "$tmp/four" -mindepth 3 -name '*.png' | wc -l)
echo "two looks: $n2 pictures in $((a / 1000000)) ms; four looks: $n4 pictures in" \
  "$((b / 1000000)) ms (median of $runs); ratio $(awk -v a="$a" -v b="$b" 'BEGIN {printf "%.2f", b / a}')"
