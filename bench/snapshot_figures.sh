#!/usr/bin/env bash
# Verifying snapshots against drawing them, measured in one run on this machine, interleaved so
# that other load falls on both alike: the whole shipped matrix (every scenario in every language
# of the bundle at scale 2, or the matrix options given) drawn by the gallery and by snapshot
# record, and verified by snapshot verify, each the median of RUNS runs. Verify draws every cell
# again and compares it with the recording; its target is at most 1.2x the drawing's time.
# Usage: scripts/build tamsa-widgets && bench/snapshot_figures.sh [RUNS] [matrix options]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
shift || true
(($# > 0)) || set -- --scenario all
program=build/tamsa-widgets
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

now_ns() { date +%s%N; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
timed() { local t; t=$(now_ns); "$@" >/dev/null; echo $(($(now_ns) - t)); }

gallery=() record=() verify=()
"$program" snapshot record "$tmp/s" "$@" >/dev/null  # warm the caches
for ((i = 0; i < runs; i++)); do
  gallery+=($(timed "$program" gallery -o "$tmp/g" "$@"))
  record+=($(timed "$program" snapshot record "$tmp/s" "$@"))
  verify+=($(timed "$program" snapshot verify "$tmp/s"))
done
g=$(printf '%s\n' "${gallery[@]}" | median)
r=$(printf '%s\n' "${record[@]}" | median)
v=$(printf '%s\n' "${verify[@]}" | median)
cells=$(find "$tmp/s" -name '*.png' | wc -l)
echo "$cells cells, median of $runs interleaved runs:"
echo "  gallery (draws, writes, makes sheets): $((g / 1000000)) ms"
echo "  snapshot record (draws, writes):       $((r / 1000000)) ms"
echo "  snapshot verify (draws, compares):     $((v / 1000000)) ms"
awk -v v="$v" -v r="$r" -v g="$g" \
  'BEGIN {printf "  verify / record %.2f, verify / gallery %.2f (target <= 1.2)\n", v / r, v / g}'
