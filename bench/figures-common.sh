# Shared by the bench/*_figures.sh scripts (sourced after they cd to the project): a scratch folder
# removed on exit, a nanosecond clock and the median of numbers, one per line.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
now_ns() { date +%s%N; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
