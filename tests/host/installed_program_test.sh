#!/usr/bin/env bash
# The installed program finds what it ships beside itself, not in the source tree: installed into
# a temporary prefix, with German taken out of its installed tables, it answers in English for
# German, and it draws from any folder.
set -euo pipefail
build_dir=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
rm -r "$prefix/share/tamsa-widgets/resources/de.lproj"
cd "$prefix"
"$prefix/bin/tamsa-widgets" --version | grep -q '^tamsa-widgets [0-9]'
label=$("$prefix/bin/tamsa-widgets" snapshot TamsaWidget --language de | grep periodLabel)
[[ $label == *'"This Month"'* ]] || { echo "installed program read tables elsewhere: $label"; exit 1; }
"$prefix/bin/tamsa-widgets" render TamsaWidget --family small -o small.png --scale 1
[[ -s small.png ]]
echo "1 passed, 0 failed"
