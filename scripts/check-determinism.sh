#!/usr/bin/env bash
# The same clicks play the same game on every build: builds the determinism tools alone as a
# Release and as a Debug build (the suite's own builds, with and without the sanitizers and on
# both SDL libraries, run tests/determinism_test.sh through ctest), and checks each against the
# committed hashes, with malloc's tunables and without address randomisation too. Then, once the
# browser build's Box2D is there (scripts/web.sh), the same run in the browser's engine against
# the desktop's, frame by frame (tests/web/determinism.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
base=${BUILD_DIR:-"$root/build-determinism"}
for type in Release Debug; do
  dir="$base/${type,,}"
  BUILD_DIR="$dir" BUILD_TYPE=$type BUILD_TARGET=determinism \
    bash "$root/scripts/build.sh" -DSHOOTER_BUILD_TESTS=OFF -DSHOOTER_BUILD_TOOLS=ON >/dev/null
  cmake --build "$dir" -j"$(nproc)" --target determinism_field >/dev/null
  for tool in determinism determinism_field; do
    echo "$type, $tool:"
    (cd "$root" && bash tests/determinism_test.sh "$dir/$tool" tests/determinism_hashes.txt)
  done
done
if command -v emcc >/dev/null && [ -f "$root/build/web/box2d/lib/libbox2d.a" ]; then
  bash "$root/tests/web/determinism.sh" "$base/release/determinism_field"
else
  echo "check-determinism: no browser build's Box2D (bash scripts/web.sh --no-serve makes it); the browser's run is left out"
fi
