#!/usr/bin/env bash
# The installed program finds what it ships beside itself, not in the source tree: installed into
# a temporary prefix, with German taken out of its installed tables, it answers in English for
# German, it draws from any folder, and it loads the preview server only to serve.
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
# The HTTP library (and TLS with it) is loaded only by serve, from the module
# installed in lib/tamsa-widgets/; without the module serve says so.
if ldd "$prefix/bin/tamsa-widgets" | grep -E 'httplib|libssl|libcrypto'; then
  echo "the program loads the HTTP library at start"
  exit 1
fi
"$prefix/bin/tamsa-widgets" serve --port 0 >serve.out 2>&1 &
pid=$!
for _ in $(seq 300); do grep -q '^Serving' serve.out && break; sleep 0.1; done
kill "$pid"
wait "$pid" || true
grep -q '^Serving' serve.out || { echo "installed serve did not start: $(cat serve.out)"; exit 1; }
rm "$prefix/lib/tamsa-widgets/tamsa-widgets-serve.so"
if out=$("$prefix/bin/tamsa-widgets" serve --port 0 2>&1); then
  echo "served without its module"
  exit 1
fi
[[ $out == *"the preview server cannot be loaded"* ]] || { echo "$out"; exit 1; }
echo "1 passed, 0 failed"
