#!/usr/bin/env bash
# Runs window_readback on a virtual X display of its own.
# Usage: readback_test.sh <path to window_readback>   (run from the repository root)
set -euo pipefail
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
unset SDL_VIDEODRIVER WAYLAND_DISPLAY
source "$(dirname "$0")/game_window.sh"
trap StopDisplay EXIT
StartDisplay
"$1"
