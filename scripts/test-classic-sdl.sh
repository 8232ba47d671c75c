#!/usr/bin/env bash
# Runs the quick suite (everything but the tests labelled slow) a second time, with the classic
# SDL 1.2 library (Debian's libsdl1.2debian) at run time instead of sdl12-compat: fetched with
# apt-get download, unpacked with dpkg -x into the build folder, loaded through LD_LIBRARY_PATH.
# Nothing is installed or removed. Run after scripts/test.sh (or a build with the tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-"$root/build"}

libs=$(bash "$root/scripts/classic-sdl.sh" "$build_dir/classic-sdl")
export LD_LIBRARY_PATH="$libs${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
# The game must really load it, or the run would only repeat the first.
loaded=$(ldd "$build_dir/shooter" | awk '$1 == "libSDL-1.2.so.0" { print $3 }')
if [ "$loaded" != "$libs/libSDL-1.2.so.0" ]; then
  echo "test-classic-sdl.sh: the game loads $loaded, not the classic library in $libs" >&2
  exit 1
fi
ctest --test-dir "$build_dir" -LE slow --output-on-failure -j"$(nproc)"
