#!/usr/bin/env bash
# The same clicks play the same game on every build: builds the determinism tool alone as a
# Release and as a Debug build (the suite's own builds, with and without the sanitizers and on
# both SDL libraries, run tests/determinism_test.sh through ctest), and checks each against the
# committed hashes, with malloc's tunables and without address randomisation too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
base=${BUILD_DIR:-"$root/build-determinism"}
for type in Release Debug; do
  dir="$base/${type,,}"
  BUILD_DIR="$dir" BUILD_TYPE=$type BUILD_TARGET=determinism \
    bash "$root/scripts/build.sh" -DSHOOTER_BUILD_TESTS=OFF -DSHOOTER_BUILD_TOOLS=ON >/dev/null
  echo "$type:"
  (cd "$root" && bash tests/determinism_test.sh "$dir/determinism" tests/determinism_hashes.txt)
done
