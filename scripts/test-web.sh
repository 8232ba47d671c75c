#!/usr/bin/env bash
# Builds the browser version and plays it in headless Chromium (Debian's), driven from node,
# served from 127.0.0.1: its start screen and bottom bar against the desktop build's own
# pictures (made by the screenshot tool), START, the keys, a shot and a cow's trick, the pace
# and CPU share, a tab sent to the background and back, and the console. Prints the figures
# and the size of the page's transfer, compressed, and fails on any failed check.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bash "$root/scripts/install-deps.sh" web-test
bash "$root/scripts/web.sh" --no-serve

# The desktop's pictures to compare with.
BUILD_TARGET=screenshot bash "$root/scripts/build.sh" >/dev/null
pictures=$(mktemp -d)
trap 'rm -rf "$pictures"' EXIT
"$root/build/screenshot" "$pictures"

(cd "$root/tests/web" && npm ci --no-audit --no-fund --loglevel=error)
echo "Load before the browser test: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
node "$root/tests/web/play.mjs" "$root/build-web" "$pictures" "$root/bmp"
node "$root/tests/web/screen.mjs" "$root/build-web" "$pictures"

total=0
for file in index.html index.js index.wasm index.data favicon.png; do
  size=$(gzip -9 -c "$root/build-web/$file" | wc -c)
  echo "transfer: $file $(stat -c %s "$root/build-web/$file") bytes, $size compressed"
  total=$((total + size))
done
echo "transfer: $total bytes compressed in all"
if [ "$total" -gt 600000 ]; then
  echo "test-web.sh: the page's transfer is over 0.6 MB compressed" >&2
  exit 1
fi
