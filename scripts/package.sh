#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package of the game in build/ (or
# BUILD_DIR); prints the package's path last. Extra arguments go to CMake's configure step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-"$root/build"}

bash "$root/scripts/install-deps.sh"
BUILD_DIR="$build_dir" bash "$root/scripts/build.sh" "$@"
rm -f "$build_dir"/farmyard-cannon_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
ls "$build_dir"/farmyard-cannon_*.deb
