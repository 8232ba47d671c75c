#!/usr/bin/env bash
# Installs what is missing, builds the game with Debian's hardening flags in a folder of its own
# (build/package, or BUILD_DIR/package), and makes its two Debian packages there: the game and
# its architecture-independent artwork. Copies both into build/ (or BUILD_DIR), prints their
# paths, then the command that installs them. Extra arguments go to CMake's configure step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-"$root/build"}
package_dir="$build_dir/package"

bash "$root/scripts/install-deps.sh" package

# Debian's flags for a package: optimised, hardened (stack protector, fortified functions,
# read-only relocations bound at start-up, position-independent), debug paths made relative.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
flags=(-DSHOOTER_DEBIAN_LAYOUT=ON -DSHOOTER_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=None
       -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
       -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags")
# Continuous integration treats every compiler warning as an error.
if [ "${CI:-}" = "true" ]; then
  flags+=(-DSHOOTER_WERROR=ON)
fi
cmake -S "$root" -B "$package_dir" "${flags[@]}" "$@" >/dev/null
# The packages hold the game alone: no tool, test or benchmark is built for them.
cmake --build "$package_dir" -j"$(nproc)" --target shooter

rm -f "$package_dir"/farmyard-cannon*.deb "$build_dir"/farmyard-cannon*.deb
(cd "$package_dir" && cpack -G DEB >/dev/null)
cp "$package_dir"/farmyard-cannon*.deb "$build_dir"/
debs=("$build_dir"/farmyard-cannon*.deb)
printf '%s\n' "${debs[@]}"

install=(apt install "${debs[@]}")
if [ "$(id -u)" -eq 0 ]; then
  echo "Install: ${install[*]}"
elif command -v sudo >/dev/null 2>&1; then
  echo "Install: sudo ${install[*]}"
else
  echo "Install as root: su -c '${install[*]}'"
fi
