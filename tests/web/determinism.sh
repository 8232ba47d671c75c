#!/usr/bin/env bash
# The determinism run in the browser's engine: tools/determinism_field.cpp and the game's field
# and rules, built with emscripten against the browser build's Box2D (build/web/box2d, made by
# scripts/web.sh), run under node (V8's WebAssembly, as in Chromium), hashed every frame and
# compared with the desktop build's run frame by frame. The level as generated (frame 0) must be
# the same; the first frame that differs, if any, is reported with the body and the numbers
# that part, as far as the arithmetic of the two platforms allows them to agree.
# Usage: tests/web/determinism.sh <desktop determinism_field binary>
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
desktop=$1
box2d="$root/build/web/box2d"
out="$root/build/web/determinism"
if [ ! -f "$box2d/lib/libbox2d.a" ]; then
  echo "determinism (browser): no Box2D for the browser in $box2d; run bash scripts/web.sh --no-serve first" >&2
  exit 1
fi
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
mkdir -p "$out"
# The field and the rules only: nothing of SDL is called, so the page's JavaScript is not needed.
# One file, the WebAssembly inside it: this emscripten's loader cannot fetch a file under node.
(cd "$root" && emcc -O2 -std=c++20 -Isrc -I"$box2d/include" src/field/*.cpp src/gameplay/*.cpp \
  src/assets/cimage.cpp tools/determinism_field.cpp "$box2d/lib/libbox2d.a" \
  -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=node -sSINGLE_FILE=1 -o "$out/determinism_field.js")

frames=3000
"$desktop" 31 "$frames" 1 >"$out/desktop.txt"
node "$out/determinism_field.js" 31 "$frames" 1 >"$out/browser.txt"
if [ "$(head -n 1 "$out/desktop.txt")" != "$(head -n 1 "$out/browser.txt")" ]; then
  echo "determinism (browser): the level generated from seed 31 differs from the desktop's"
  exit 1
fi
first=$(paste -d' ' "$out/desktop.txt" "$out/browser.txt" | awk '$2 != $4 && first == "" { first = $1 } END { print first }')
if [ -z "$first" ]; then
  echo "determinism (browser): the same level, and the same hashes in all $frames frames"
  exit 0
fi
differing=$(paste -d' ' "$out/desktop.txt" "$out/browser.txt" | awk '$2 != $4' | wc -l)
echo "determinism (browser): the same level; the hashes part first at frame $first ($differing of $frames frames differ)"
"$desktop" 31 "$first" 100000 "$first" | tail -n +2 >"$out/desktop-frame.txt"
node "$out/determinism_field.js" 31 "$first" 100000 "$first" | tail -n +2 >"$out/browser-frame.txt"
echo "what differs there (desktop <, browser >; bits and value of x, y, angle, vx, vy, spin, strength or lifetime):"
diff "$out/desktop-frame.txt" "$out/browser-frame.txt" >"$out/frame.diff" || true
head -n 8 "$out/frame.diff"
