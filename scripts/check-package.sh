#!/usr/bin/env bash
# Builds the Debian packages from debian/ (the tests run during the build) and checks them: the
# game's command only in /usr/games, the program under /usr/lib/games with its debug symbols in
# the -dbgsym package, every picture in the architecture-independent, Multi-Arch: foreign -data
# package that the game depends on at the same version, the desktop entry, the metadata, the
# manual page and the icons; lintian finds nothing in the source and binary packages, not even a
# pedantic or an informational tag; appstreamcli validates the metadata pedantically and mandoc
# finds no warning in the manual page. Extra arguments go to dpkg-buildpackage.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-"$root/build"}

bash "$root/scripts/install-deps.sh"
mapfile -t debs < <(bash "$root/scripts/package.sh" "$@" | grep '^/.*\.deb$')
game="" data="" dbgsym=""
for deb in "${debs[@]}"; do
  case "$(dpkg-deb -f "$deb" Package)" in
    farmyard-cannon) game=$deb ;;
    farmyard-cannon-data) data=$deb ;;
    farmyard-cannon-dbgsym) dbgsym=$deb ;;
  esac
done
fail() {
  echo "check-package: $*" >&2
  exit 1
}
[ -n "$game" ] && [ -n "$data" ] && [ -n "$dbgsym" ] ||
  fail "package.sh made ${debs[*]}, not the game, its -data and its -dbgsym packages"

version=$(dpkg-deb -f "$game" Version)
[ "$(dpkg-deb -f "$data" Architecture)" = all ] || fail "$(basename "$data") is not architecture-independent"
[ "$(dpkg-deb -f "$data" Multi-Arch)" = foreign ] || fail "$(basename "$data") is not Multi-Arch: foreign"
[[ ", $(dpkg-deb -f "$game" Depends)," == *", farmyard-cannon-data (= $version),"* ]] ||
  fail "$(basename "$game") does not depend on farmyard-cannon-data (= $version)"
# SDL 1.2 as the library itself asks to be depended on, by the name every Debian release has.
[[ ", $(dpkg-deb -f "$game" Depends)" == *", libsdl1.2debian "* ]] ||
  fail "$(basename "$game") does not depend on libsdl1.2debian: $(dpkg-deb -f "$game" Depends)"

# check_contents <package> <path>...: every path is in the package.
check_contents() {
  local deb=$1 missing=0 path
  shift
  local contents
  contents=$(dpkg-deb --contents "$deb" | awk '{ print $6 }')
  for path in "$@"; do
    if ! grep -qxF "$path" <<<"$contents"; then
      echo "check-package: $(basename "$deb") lacks $path" >&2
      missing=1
    fi
  done
  # The player's command is in /usr/games and nowhere else on the PATH.
  if grep -E '^\./usr/(local/)?s?bin/.' <<<"$contents" >&2; then
    echo "check-package: $(basename "$deb") puts commands outside /usr/games" >&2
    missing=1
  fi
  [ "$missing" -eq 0 ]
}
check_contents "$game" \
  ./usr/games/farmyard-cannon \
  ./usr/lib/games/farmyard-cannon/shooter \
  ./usr/share/applications/farmyard-cannon.desktop \
  ./usr/share/metainfo/org.farmyardcannon.farmyard_cannon.metainfo.xml \
  ./usr/share/man/man6/farmyard-cannon.6.gz \
  ./usr/share/doc/farmyard-cannon/copyright
pictures=()
for picture in "$root"/bmp/*.bmp; do
  pictures+=("./usr/share/games/farmyard-cannon/bmp/$(basename "$picture")")
done
for size in 16 24 32 48 64 128 256; do
  pictures+=("./usr/share/icons/hicolor/${size}x${size}/apps/farmyard-cannon.png")
done
check_contents "$data" "${pictures[@]}" ./usr/share/doc/farmyard-cannon-data/copyright

# The debug symbols belong to the program that was shipped.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$game" "$unpacked"
build_id=$(readelf -n "$unpacked/usr/lib/games/farmyard-cannon/shooter" | awk '/Build ID/ { print $3 }')
[ -n "$build_id" ] || fail "the game's program carries no build ID"
debug_file="./usr/lib/debug/.build-id/${build_id:0:2}/${build_id:2}.debug"
dpkg-deb --contents "$dbgsym" | awk '{ print $6 }' | grep -qxF "$debug_file" ||
  fail "$(basename "$dbgsym") lacks $debug_file"

# The release the launcher names is the one debian/changelog gives upstream's build.
upstream=${version#*:}
said=$("$unpacked/usr/games/farmyard-cannon" --version)
[ "$said" = "farmyard-cannon ${upstream%-*}" ] || fail "farmyard-cannon --version says '$said' in $(basename "$game")"

changes=("$build_dir"/package/farmyard-cannon_*.changes)
[ -f "${changes[0]}" ] || fail "no .changes file in $build_dir/package"
lintian --pedantic -I --fail-on error,warning,info,pedantic "${changes[@]}"

# appstreamcli passes metadata that has only pedantic or informational notes: any note fails here.
verdict=$(appstreamcli validate --pedantic --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml 2>&1) ||
  fail "appstreamcli: $verdict"
[ "$(wc -l <<<"$verdict")" -eq 1 ] && [[ "$verdict" == *"Validation was successful." ]] ||
  fail "appstreamcli: $verdict"
zcat "$unpacked/usr/share/man/man6/farmyard-cannon.6.gz" >"$unpacked/farmyard-cannon.6"
mandoc -T lint -W warning "$unpacked/farmyard-cannon.6" || fail "mandoc warns about the manual page"

echo "check-package: $(basename "$game"), $(basename "$data") and $(basename "$dbgsym") hold every file; lintian (pedantic, informational) on the source and binary packages, appstreamcli (pedantic) and mandoc found nothing"
