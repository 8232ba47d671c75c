#!/usr/bin/env bash
# Builds the Debian package and checks it: the game, its launcher, every picture, the desktop
# entry, the metadata and the icons are in it, and lintian finds no errors.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

deb=$(bash "$root/scripts/package.sh" "$@" | tail -n 1)
contents=$(dpkg-deb --contents "$deb" | awk '{ print $6 }')

wanted=(
  ./usr/libexec/farmyard-cannon/shooter
  ./usr/bin/farmyard-cannon
  ./usr/games/farmyard-cannon
  ./usr/share/applications/farmyard-cannon.desktop
  ./usr/share/metainfo/org.farmyardcannon.FarmyardCannon.metainfo.xml
)
for picture in "$root"/bmp/*.bmp; do
  wanted+=("./usr/share/farmyard-cannon/bmp/$(basename "$picture")")
done
for size in 16 24 32 48 64 128 256; do
  wanted+=("./usr/share/icons/hicolor/${size}x${size}/apps/farmyard-cannon.png")
done
missing=0
for path in "${wanted[@]}"; do
  if ! grep -qxF "$path" <<<"$contents"; then
    echo "check-package: $(basename "$deb") lacks $path" >&2
    missing=1
  fi
done
[ "$missing" -eq 0 ]

lintian --fail-on error "$deb"
echo "check-package: $(basename "$deb") holds all ${#wanted[@]} files; lintian found no errors"
