#!/usr/bin/env bash
# Builds the browser version and plays it in headless Chromium (Debian's), driven from node,
# served from 127.0.0.1: its start screen and bottom bar against the desktop build's own
# pictures (made by the screenshot tool), START, the keys, a shot and a cow's trick, the pace
# and CPU share, a tab sent to the background and back, and the console (tests/web/play.mjs); a
# seed's field against the desktop's, pixel for pixel (tests/web/same-field.mjs); then its
# loading (tests/web/loading.mjs): the bytes a server that compresses nothing sends, a slow
# link, the progress bar, the caching rules, a second visit offline, and each way loading can
# fail. Prints the figures and the size of the page's files as sent, and fails on any
# failed check.
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
node "$root/tests/web/same-field.mjs" "$root/build-web" "$root/build/screenshot"

node "$root/tests/web/loading.mjs" "$root/build-web"

# What a visit loads, as a server that compresses nothing sends it: everything in the folder but
# the uncompressed copies of the game's files, which only browsers that cannot inflate ask for.
total=0
for path in "$root"/build-web/*; do
  file=$(basename "$path")
  case $file in
    game.*.gz) ;;
    game.*) continue ;;
  esac
  size=$(stat -c %s "$path")
  echo "transfer: $file $size bytes"
  total=$((total + size))
done
echo "transfer: $total bytes in all, nothing compressed by the server"
if [ "$total" -gt 600000 ]; then
  echo "test-web.sh: the page's transfer is over 0.6 MB" >&2
  exit 1
fi
