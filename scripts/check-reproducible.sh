#!/usr/bin/env bash
# Builds the Debian packages twice, from two clones of the current commit in folders of different
# names and depths, made and built under a different umask, with a different time zone and locale and a clock three days apart,
# and checks that every package and the source package come out bit for bit the same. The tests
# are left out of both builds (DEB_BUILD_OPTIONS=nocheck): they add nothing to the packages.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bash "$root/scripts/install-deps.sh"
commit=$(git -C "$root" rev-parse HEAD)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# build <folder> <umask> <clock shift> <environment...>: clones the commit into the folder and
# builds its packages there, under the umask from the clone on, so that the clone's files have
# its modes too.
build() {
  local dir=$1 mask=$2 shift_by=$3
  shift 3
  (
    umask "$mask"
    git clone -q "$root" "$dir"
    git -C "$dir" -c advice.detachedHead=false checkout -q "$commit"
    cd "$dir"
    env "$@" DEB_BUILD_OPTIONS=nocheck BUILD_DIR="$dir/build" \
      faketime -f "$shift_by" bash -c 'date >"$0.clock" && exec bash scripts/package.sh' "$dir" >"$dir.log" 2>&1
  ) || {
    tail -n 40 "$dir.log" 2>/dev/null || true
    echo "check-reproducible: the clone or the build in $dir failed" >&2
    exit 1
  }
}
first="$work/first"
second="$work/elsewhere/a/second-clone"
mkdir -p "$(dirname "$second")"
build "$first" 0022 +0d TZ=UTC LC_ALL=C.UTF-8
# A time zone fourteen hours ahead, written out so that it needs no time zone data.
build "$second" 0002 +3d TZ=KIRI-14 LC_ALL=C LANG=C

# Everything a .changes lists but itself and the build's record of its surroundings.
differ=0
count=0
for file in "$first"/build/package/*.deb "$first"/build/package/*.dsc "$first"/build/package/*.tar.xz; do
  name=$(basename "$file")
  count=$((count + 1))
  if ! cmp -s "$file" "$second/build/package/$name"; then
    echo "check-reproducible: $name differs between the two builds" >&2
    differ=1
  fi
done
[ "$differ" -eq 0 ] || exit 1
echo "check-reproducible: two builds, in $first (umask 0022, $(cat "$first.clock")) and in $second (umask 0002, $(cat "$second.clock")), made the same $count files:"
(cd "$first/build/package" && sha256sum -- *.deb *.dsc *.tar.xz)
