#!/usr/bin/env bash
# Verifying snapshots against drawing them, measured in one run on this machine, interleaved so
# that other load falls on both alike: the whole shipped matrix (every scenario in every language
# of the bundle at scale 2, or the matrix options given) drawn by the gallery and by snapshot
# record, and verified by snapshot verify, each the median of RUNS runs. Verify draws every cell
# again and compares it with the recording; its target is at most 1.2x the drawing's time.
# Usage: scripts/build tamsa-widgets && bench/snapshot_figures.sh [RUNS] [matrix options]
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/figures-common.sh
runs=${1:-5}
shift || true
(($# > 0)) || set -- --scenario all
program=build/tamsa-widgets

# "wall-ms cpu-ms" of one run: wall time suffers from the other users' load, processor time less.
timed() { /usr/bin/time -f '%e %U %S' "$@" 2>&1 >/dev/null | tail -1 |
  awk '{printf "%d %d\n", $1 * 1000, ($2 + $3) * 1000}'; }

names=(gallery record verify)
declare -A wall cpu
"$program" snapshot record "$tmp/s" "$@" >/dev/null  # warm the caches
for ((i = 0; i < runs; i++)); do
  for name in "${names[@]}"; do
    case $name in
      gallery) read -r w c < <(timed "$program" gallery -o "$tmp/g" "$@") ;;
      record) read -r w c < <(timed "$program" snapshot record "$tmp/s" "$@") ;;
      verify) read -r w c < <(timed "$program" snapshot verify "$tmp/s") ;;
    esac
    wall[$name]+="$w "
    cpu[$name]+="$c "
  done
done
echo "$(find "$tmp/s" -name '*.png' | wc -l) cells; medians of $runs interleaved runs, wall / processor ms:"
for name in "${names[@]}"; do
  w=$(tr ' ' '\n' <<<"${wall[$name]}" | grep . | median)
  c=$(tr ' ' '\n' <<<"${cpu[$name]}" | grep . | median)
  declare "w_$name=$w" "c_$name=$c"
  printf '  %-8s %6d / %6d\n' "$name" "$w" "$c"
done
awk -v vw="$w_verify" -v vc="$c_verify" -v rw="$w_record" -v rc="$c_record" -v gw="$w_gallery" \
  -v gc="$c_gallery" 'BEGIN {printf "  verify / record: wall %.2f, processor %.2f; verify / gallery:" \
  " wall %.2f, processor %.2f (target <= 1.2)\n", vw / rw, vc / rc, vw / gw, vc / gc}'
