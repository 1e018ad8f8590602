#!/usr/bin/env bash
# The gallery's figures, all measured in one run on this machine:
#   - one cold `render` of the medium widget at 3x (a whole process) against bench/pango_floor
#     drawing the same texts with bare Pango and Cairo: the medians of interleaved runs, and the
#     peak resident memory of each;
#   - the matrix of the shipped scenarios in every shipped language at scale 2, with its contact
#     sheets, index and findings, for 1, 4 and all 16 scenarios (1x, 4x, 16x the cells): the median
#     wall time of interleaved runs, pictures a second, and the time a picture, which stays flat
#     when the cost is linear in the cells; the peak resident memory of the whole matrix.
# Every run writes a new folder: none is replaced while the figures are taken.
# Usage: scripts/build tamsa-widgets pango_floor && bench/gallery_figures.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/figures-common.sh
runs=${1:-7}
program=build/tamsa-widgets
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }

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
  "ratio $(ratio "$r" "$f")"
one=$(peak "$program" render TamsaWidget --family medium --scale 3 -o "$tmp/r.png")
bare=$(peak build/bench/pango_floor "$tmp/f.png")
echo "peak memory: render $((one / 1024)) MB, pango_floor $((bare / 1024)) MB; ratio $(ratio "$one" "$bare")"

all=$(ls scenarios | sed -n "s/\.json$//p" | sort)
scenarios() { echo "$all" | head -"$1" | paste -sd,; }
declare -A times
for ((i = 0; i < runs; i++)); do
  for n in 1 4 16; do
    t=$(now_ns)
    "$program" gallery --scenario "$(scenarios "$n")" -o "$tmp/g$n-$i" >/dev/null 2>&1
    times[$n]+="$(($(now_ns) - t)) "
  done
done
for n in 1 4 16; do
  ms=$(($(printf '%s\n' ${times[$n]} | median) / 1000000))
  pictures=$(find "$tmp/g$n-0" -mindepth 3 -name '*.png' | wc -l)
  echo "matrix ${n}x ($n scenarios): $pictures pictures in $ms ms (median of $runs):" \
    "$((pictures * 1000 / ms)) a second, $((ms * 1000 / pictures)) us a picture"
done
matrix=$(peak "$program" gallery --scenario all -o "$tmp/peak")
echo "matrix peak memory: $((matrix / 1024)) MB"
