#!/usr/bin/env bash
# Runs the real game loop for a while on a virtual X display, then the floor program (the same
# window, blits and flip, nothing else), and reports for each the steps per wall-clock second,
# the frame intervals and the CPU share, then the game's CPU as a multiple of the floor's.
# Usage: bash scripts/measure-pacing.sh [seconds, default 20]
# The presentation settings in the environment are passed on, so the OpenGL path is measured
# with: SDL12COMPAT_OPENGL_SCALING=1 SDL_FRAMEBUFFER_ACCELERATION=1 SDL_RENDER_DRIVER=opengl
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-"$root/build"}
seconds=${1:-20}

if [ -z "${INSIDE_XVFB:-}" ]; then
  bash "$root/scripts/install-deps.sh"
  BUILD_DIR="$build_dir" BUILD_TARGET=pace_probe bash "$root/scripts/build.sh" >/dev/null
  BUILD_DIR="$build_dir" BUILD_TARGET=present_floor bash "$root/scripts/build.sh" >/dev/null
  INSIDE_XVFB=1 BUILD_DIR="$build_dir" exec xvfb-run -a -s '-screen 0 1024x768x24' bash "$0" "$@"
fi

cd "$root"
game=$("$build_dir/pace_probe" "$seconds")
floor=$("$build_dir/present_floor" "$seconds")
echo "$game"
echo "$floor"
cpu() { sed -n 's/.*CPU \([0-9.]*\) %.*/\1/p' <<<"$1"; }
awk -v g="$(cpu "$game")" -v f="$(cpu "$floor")" 'BEGIN { if (f > 0) printf "game CPU / floor CPU: %.2f\n", g / f }'
