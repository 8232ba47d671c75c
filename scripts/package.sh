#!/usr/bin/env bash
# Installs what is missing, then builds the game's Debian packages as Debian builds them: from a
# source package made of the tracked files (uncommitted changes included) and debian/, with
# dpkg-buildpackage, in build/package (or BUILD_DIR/package). The tests run during the build
# unless DEB_BUILD_OPTIONS holds nocheck. Copies the game's package, its architecture-independent
# artwork package and the game's debug symbols (-dbgsym) into build/ (or BUILD_DIR), prints their
# paths, then the command that installs the game. Extra arguments go to dpkg-buildpackage.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-"$root/build"}
package_dir="$build_dir/package"

bash "$root/scripts/install-deps.sh" package

changelog="$root/debian/changelog"
name=$(dpkg-parsechangelog -l "$changelog" -S Source)
version=$(dpkg-parsechangelog -l "$changelog" -S Version)
upstream=${version#*:}
upstream=${upstream%-*}
# Every file of the source package carries the time of the last change log entry, as the
# packages' files do.
epoch=$(dpkg-parsechangelog -l "$changelog" -S Timestamp)

rm -rf "$package_dir"
source_dir="$package_dir/$name-$upstream"
mkdir -p "$source_dir"
# The tracked files as the working tree holds them; outside a git checkout, everything but the
# build folders.
# Unpacked under the umask (also as root), then given the modes a source package's files have,
# so that neither the umask of the checkout nor this build's shows in the source package.
if revision=$(git -C "$root" stash create 2>/dev/null); then
  git -C "$root" archive --format=tar "${revision:-HEAD}" | tar -x --no-same-permissions -C "$source_dir"
else
  tar -C "$root" --exclude=./.git --exclude='./build*' -cf - . | tar -x --no-same-permissions -C "$source_dir"
fi
chmod -R u+rwX,go=rX "$package_dir"

# The upstream tarball, made the same way from the same files wherever and whenever it is made.
tar -C "$package_dir" --exclude="$name-$upstream/debian" --sort=name --mtime="@$epoch" --owner=0 --group=0 \
  --numeric-owner --mode=u+rw,go=rX --pax-option=exthdr.name=%d/PaxHeaders/%f,delete=atime,delete=ctime \
  -cf - "$name-$upstream" | xz -6 -T1 >"$package_dir/${name}_$upstream.orig.tar.xz"

cd "$source_dir"
dpkg-checkbuilddeps
# Continuous integration treats every compiler warning as an error.
if [ "${CI:-}" = "true" ]; then
  export DEB_CXXFLAGS_APPEND="${DEB_CXXFLAGS_APPEND:+$DEB_CXXFLAGS_APPEND }-Werror"
fi
dpkg-buildpackage -us -uc "$@"

rm -f "$build_dir"/"$name"*.deb
debs=()
for deb in "$package_dir"/*.deb; do
  [ -e "$deb" ] || continue  # a source-only build (-S) makes none
  cp "$deb" "$build_dir"/
  debs+=("$build_dir/$(basename "$deb")")
done
[ ${#debs[@]} -gt 0 ] || exit 0
printf '%s\n' "${debs[@]}"

install=(apt install)
for deb in "${debs[@]}"; do
  [[ "$deb" == *-dbgsym_* ]] || install+=("$deb")
done
if [ "$(id -u)" -eq 0 ]; then
  echo "Install: ${install[*]}"
elif command -v sudo >/dev/null 2>&1; then
  echo "Install: sudo ${install[*]}"
else
  echo "Install as root: su -c '${install[*]}'"
fi
