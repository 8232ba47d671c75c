#!/usr/bin/env bash
# Builds the Debian packages from debian/ (the tests run during the build) and checks them: the
# game's command only in /usr/games, the program under /usr/lib/games with its debug symbols in
# the -dbgsym package, every picture in the architecture-independent, Multi-Arch: foreign -data
# package that the game depends on at the same version, the desktop entry, the metadata, the
# manual page and the icons, the pictures and icons being the committed ones byte for byte (the
# build draws them); the metadata and the manual page name the release and date of the change
# log's top entry; lintian finds nothing in the source and binary packages, not even a pedantic,
# an informational or an experimental tag, but those its overrides explain and those that only
# tell this lintian's Debian release from the packaging's (scripts/lintian-release-tags.sh);
# appstreamcli validates the metadata pedantically and mandoc finds no warning in the manual
# page. Extra arguments go to dpkg-buildpackage.
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
dpkg-deb -x "$data" "$unpacked"
# The pictures and icons the build drew are the committed ones.
for picture in "$root"/bmp/*.bmp; do
  cmp -s "$picture" "$unpacked/usr/share/games/farmyard-cannon/bmp/$(basename "$picture")" ||
    fail "$(basename "$data") holds another bmp/$(basename "$picture") than the committed one"
done
for size in 16 24 32 48 64 128 256; do
  icon="${size}x${size}/apps/farmyard-cannon.png"
  cmp -s "$root/desktop/icons/$icon" "$unpacked/usr/share/icons/hicolor/$icon" ||
    fail "$(basename "$data") holds another $icon than desktop/icons/$icon"
done
build_id=$(readelf -n "$unpacked/usr/lib/games/farmyard-cannon/shooter" | awk '/Build ID/ { print $3 }')
[ -n "$build_id" ] || fail "the game's program carries no build ID"
debug_file="./usr/lib/debug/.build-id/${build_id:0:2}/${build_id:2}.debug"
dpkg-deb --contents "$dbgsym" | awk '{ print $6 }' | grep -qxF "$debug_file" ||
  fail "$(basename "$dbgsym") lacks $debug_file"

# The release the launcher names is the one debian/changelog gives upstream's build.
upstream=${version#*:}
said=$("$unpacked/usr/games/farmyard-cannon" --version)
[ "$said" = "farmyard-cannon ${upstream%-*}" ] || fail "farmyard-cannon --version says '$said' in $(basename "$game")"

# The metadata's release and the manual page's date are the change log's, the day in UTC.
release_date=$(date -u -d "@$(dpkg-parsechangelog -l "$root/debian/changelog" -S Timestamp)" +%Y-%m-%d)
metainfo=("$unpacked"/usr/share/metainfo/*.metainfo.xml)
grep -qF "<release version=\"${upstream%-*}\" date=\"$release_date\"/>" "${metainfo[0]}" ||
  fail "the metadata does not name release ${upstream%-*} of $release_date: $(grep '<release ' "${metainfo[0]}")"
zcat "$unpacked/usr/share/man/man6/farmyard-cannon.6.gz" >"$unpacked/farmyard-cannon.6"
[[ "$(head -n 1 "$unpacked/farmyard-cannon.6")" == ".TH FARMYARD-CANNON 6 $release_date \"farmyard-cannon ${upstream%-*}\""* ]] ||
  fail "the manual page is not dated $release_date for ${upstream%-*}: $(head -n 1 "$unpacked/farmyard-cannon.6")"

changes=("$build_dir"/package/farmyard-cannon_*.changes)
[ -f "${changes[0]}" ] || fail "no .changes file in $build_dir/package"
release_tags=$(bash "$root/scripts/lintian-release-tags.sh")
if [ -n "$release_tags" ]; then
  echo "check-package: lintian $(lintian --version | awk '{ print $2 }') belongs to another Debian release than the packaging; left out: $release_tags"
fi
lintian --pedantic -I -E --fail-on error,warning,info,pedantic,experimental ${release_tags:+--suppress-tags "$release_tags"} \
  "${changes[@]}"

verdict=$(bash "$root/scripts/check-appstream.sh" "${metainfo[0]}") || fail "$verdict"
mandoc -T lint -W warning "$unpacked/farmyard-cannon.6" || fail "mandoc warns about the manual page"

echo "check-package: $(basename "$game"), $(basename "$data") and $(basename "$dbgsym") hold every file, the committed pictures and release ${upstream%-*} of $release_date; lintian (pedantic, informational, experimental) on the source and binary packages, appstreamcli (pedantic) and mandoc found nothing"
