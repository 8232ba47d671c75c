#!/usr/bin/env bash
# Builds the two Debian packages and checks them: the game's command only in /usr/games, the
# program under /usr/lib/games, every picture in the architecture-independent -data package that
# the game depends on at the same version, the desktop entry, the metadata and the icons; lintian
# finds nothing, not even a pedantic or an informational tag, and appstreamcli validates the
# metadata pedantically.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bash "$root/scripts/install-deps.sh"
mapfile -t debs < <(bash "$root/scripts/package.sh" "$@" | grep '^/.*\.deb$')
game="" data=""
for deb in "${debs[@]}"; do
  case "$(dpkg-deb -f "$deb" Package)" in
    farmyard-cannon) game=$deb ;;
    farmyard-cannon-data) data=$deb ;;
  esac
done
fail() {
  echo "check-package: $*" >&2
  exit 1
}
[ -n "$game" ] && [ -n "$data" ] || fail "package.sh made ${debs[*]}, not the game and its -data package"

version=$(dpkg-deb -f "$game" Version)
[ "$(dpkg-deb -f "$data" Architecture)" = all ] || fail "$(basename "$data") is not architecture-independent"
[[ ", $(dpkg-deb -f "$game" Depends)," == *", farmyard-cannon-data (= $version),"* ]] ||
  fail "$(basename "$game") does not depend on farmyard-cannon-data (= $version)"

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

lintian --pedantic -I --fail-on error,warning,info,pedantic "$game" "$data"

metainfo=$(mktemp -d)
trap 'rm -rf "$metainfo"' EXIT
dpkg-deb -x "$game" "$metainfo"
# appstreamcli passes metadata that has only pedantic or informational notes: any note fails here.
verdict=$(appstreamcli validate --pedantic --no-net "$metainfo"/usr/share/metainfo/*.metainfo.xml 2>&1) ||
  fail "appstreamcli: $verdict"
[ "$(wc -l <<<"$verdict")" -eq 1 ] && [[ "$verdict" == *"Validation was successful." ]] ||
  fail "appstreamcli: $verdict"

echo "check-package: $(basename "$game") and $(basename "$data") hold every file; lintian (pedantic, informational) and appstreamcli (pedantic) found nothing"
