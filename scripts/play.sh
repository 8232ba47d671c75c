#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game from the repository root.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bash "$root/scripts/install-deps.sh"
BUILD_TARGET=shooter bash "$root/scripts/build.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display to open the game window on; to run it on a virtual one: xvfb-run -a -s '-screen 0 1024x768x24' bash scripts/play.sh" >&2
  exit 1
fi

# The game reads its pictures from ./bmp/.
cd "$root"
exec "$root/build/shooter"
