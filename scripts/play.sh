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
# The pictures the field is drawn from, as the asset catalogue lists them: the game does not
# start without any of them. Every other picture is optional: without it the game plays and
# leaves its sprite undrawn. Each missing one is named.
catalogue="$root/src/assets/asset_catalog.h"
if [ ! -r "$catalogue" ]; then
  echo "play.sh: the list of the game's artwork is missing ($catalogue not found); restore it with: git -C '$root' checkout -- src/assets" >&2
  exit 1
fi
names=$(awk '/kFieldBitmaps\[\] *= *\{/,/\};/' "$catalogue" | grep -o '&k[[:alnum:]]*' | tr -d '&')
missing=0
for name in $names; do
  picture=$(sed -n "s|^constexpr Bitmap $name{\"\./bmp/\([^\"]*\)\".*|\1|p" "$catalogue")
  if [ -z "$picture" ] || [ ! -r "$root/bmp/$picture" ]; then
    echo "play.sh: the game's artwork is missing ($root/bmp/${picture:-$name} not found); restore it with: git -C '$root' checkout -- bmp" >&2
    missing=$((missing + 1))
  fi
done
if [ "$missing" -ne 0 ]; then
  exit 1
fi

# Only what building and playing need, and only the game is built: no tool, test or benchmark.
bash "$root/scripts/install-deps.sh" play
BUILD_TARGET=shooter bash "$root/scripts/build.sh" -DSHOOTER_BUILD_TESTS=OFF -DSHOOTER_BUILD_TOOLS=OFF

# The game reads its pictures from ./bmp/.
cd "$root"
exec "$root/build/shooter"
