#!/usr/bin/env bash
# Checks that the game can open a window and find its artwork, then installs what is missing,
# builds, and starts the game from the repository root.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# Checked before anything is installed or built, so a doomed start costs nothing.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "play.sh: no display to open the game window on (DISPLAY is not set); start it from a desktop session, or on a virtual display: xvfb-run -a bash scripts/play.sh" >&2
  exit 1
fi
# Every picture the game loads, as the asset catalogue names them; the window icon is optional.
catalogue="$root/src/assets/asset_catalog.h"
if [ ! -r "$catalogue" ]; then
  echo "play.sh: the list of the game's artwork is missing ($catalogue not found); restore it with: git -C '$root' checkout -- src/assets" >&2
  exit 1
fi
pictures=$(sed -n '/^constexpr Bitmap kWindowIcon{/d; s|^constexpr Bitmap k[[:alnum:]]*{"\./bmp/\([^"]*\)".*|\1|p' "$catalogue")
for picture in $pictures; do
  if [ ! -r "$root/bmp/$picture" ]; then
    echo "play.sh: the game's artwork is missing ($root/bmp/$picture not found); restore it with: git -C '$root' checkout -- bmp" >&2
    exit 1
  fi
done

# Only what building and playing need, and only the game is built: no tool, test or benchmark.
bash "$root/scripts/install-deps.sh" play
BUILD_TARGET=shooter bash "$root/scripts/build.sh" -DSHOOTER_BUILD_TESTS=OFF

# The game reads its pictures from ./bmp/.
cd "$root"
exec "$root/build/shooter"
