#!/usr/bin/env bash
# Installs what is missing (the developer tools too), builds everything, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-"$root/build"}

bash "$root/scripts/install-deps.sh"
BUILD_DIR="$build_dir" bash "$root/scripts/build.sh" -DSHOOTER_BUILD_TESTS=ON -DSHOOTER_BUILD_TOOLS=ON "$@"
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)"
