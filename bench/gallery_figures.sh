#!/usr/bin/env bash
# The gallery's figures, all measured in one run on this machine:
#   - the whole matrix of the shipped scenarios in every shipped language at scale 2: wall time,
#     pictures a second, peak resident memory;
#   - one cold `render` of the medium widget at 3x (a whole process) against bench/pango_floor
#     drawing the same texts with bare Pango and Cairo: the median of interleaved runs;
#   - the peak resident memory of one render, to compare the matrix's with.
# Usage: scripts/build tamsa-widgets pango_floor && bench/gallery_figures.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/figures-common.sh
runs=${1:-21}
program=build/tamsa-widgets

render=() floor=()
for ((i = 0; i < runs; i++)); do
  t=$(now_ns); build/bench/pango_floor "$tmp/f.png"; floor+=($(($(now_ns) - t)))
  t=$(now_ns)
  "$program" render TamsaWidget --family medium --scale 3 -o "$tmp/r.png"
  render+=($(($(now_ns) - t)))
done
r=$(printf '%s\n' "${render[@]}" | median)
f=$(printf '%s\n' "${floor[@]}" | median)
echo "cold render, medium at 3x: $((r / 1000)) us median of $runs; pango_floor: $((f / 1000)) us;" \
  "ratio $(awk -v r="$r" -v f="$f" 'BEGIN {printf "%.2f", r / f}')"

peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
one=$(peak "$program" --language ja render TamsaWidget --family medium --scale 3 -o "$tmp/r.png")
echo "one render (medium, 3x, Japanese): peak $((one / 1024)) MB"

t=$(now_ns)
all=$(peak "$program" gallery --scenario all -o "$tmp/g")
ms=$((($(now_ns) - t) / 1000000))
pictures=$(find "$tmp/g" -mindepth 3 -name '*.png' | wc -l)
echo "matrix: $pictures pictures in $ms ms ($((pictures * 1000 / ms)) a second)," \
  "peak $((all / 1024)) MB ($(awk -v a="$all" -v o="$one" 'BEGIN {printf "%.1f", a / o}')x one render)"
