#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-"$root/build"}

bash "$root/scripts/install-deps.sh"
BUILD_DIR="$build_dir" bash "$root/scripts/build.sh" "$@"
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)"
