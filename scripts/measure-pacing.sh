#!/usr/bin/env bash
# Runs the floor program (the same window, blits and flip as a frame of play, nothing else) and
# the real game loop, one after the other on one virtual X display of the script's own: the game
# on a settled level and with a shot fired every second, each once redrawing the whole window
# every frame and once drawing only what changed. For each run it reports the steps per
# wall-clock second, the frame intervals, the game's CPU share and the X server's over the same
# time, and for the game the share of the window redrawn per frame; then each game run's CPU
# as a share of the floor's.
# Usage: bash scripts/measure-pacing.sh [seconds, default 20]
# BEFORE_PROBE=<path to a pace_probe built from other code> adds its two runs to the same table.
# The presentation settings in the environment are passed on, so the OpenGL path is measured
# with: SDL12COMPAT_OPENGL_SCALING=1 SDL_FRAMEBUFFER_ACCELERATION=1 SDL_RENDER_DRIVER=opengl
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-"$root/build"}
seconds=${1:-20}

bash "$root/scripts/install-deps.sh"
BUILD_DIR="$build_dir" BUILD_TARGET=pace_probe bash "$root/scripts/build.sh" >/dev/null
BUILD_DIR="$build_dir" BUILD_TARGET=present_floor bash "$root/scripts/build.sh" >/dev/null

# A display of our own, so the X server's CPU time can be read from its process.
ready=$(mktemp -u)
mkfifo "$ready"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$ready" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true' EXIT
number=""
read -r -t 30 number <"$ready" || true
rm -f "$ready"
if [ -z "$number" ]; then
  echo "measure-pacing: the X server did not start" >&2
  exit 1
fi
export DISPLAY=":$number" XSERVER_PID=$server

cd "$root"
floor=$("$build_dir/present_floor" "$seconds")
echo "$floor"
cpu() { sed -n 's/.*; CPU \([0-9.]*\) %.*/\1/p' <<<"$1"; }
runs=()
for scenario in settled shots; do
  if [ -n "${BEFORE_PROBE:-}" ]; then
    runs+=("before, $("$BEFORE_PROBE" "$seconds" "$scenario" whole)")
  fi
  runs+=("$("$build_dir/pace_probe" "$seconds" "$scenario" whole)")
  runs+=("$("$build_dir/pace_probe" "$seconds" "$scenario")")
done
for run in "${runs[@]}"; do
  echo "$run"
done
for run in "${runs[@]}"; do
  awk -v name="${run%%:*}" -v g="$(cpu "$run")" -v f="$(cpu "$floor")" \
    'BEGIN { if (f > 0) printf "%s: game CPU / floor CPU %.2f\n", name, g / f }'
done
