#!/usr/bin/env bash
# Configures and builds the game, its tools and its tests into build/ (or the folder given).
# Extra arguments go to CMake's configure step; BUILD_TARGET builds one target only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-"$root/build"}

flags=(-DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}")
# Continuous integration treats every compiler warning as an error.
if [ "${CI:-}" = "true" ]; then
  flags+=(-DSHOOTER_WERROR=ON)
fi

cmake -S "$root" -B "$build_dir" "${flags[@]}" "$@" >/dev/null
targets=()
if [ -n "${BUILD_TARGET:-}" ]; then
  targets=(--target "$BUILD_TARGET")
fi
cmake --build "$build_dir" -j"$(nproc)" "${targets[@]}"
