#!/usr/bin/env bash
# Starts the real game on a virtual X display: its window must be 1000 x 650, it must take a
# click on the start button, and a close request must end it with status 0 and no output.
# Usage: window_test.sh <path to shooter>   (run from the repository root)
set -euo pipefail
game=$1

if [ -z "${INSIDE_XVFB:-}" ]; then
  INSIDE_XVFB=1 exec xvfb-run -a -s '-screen 0 1024x768x24' bash "$0" "$@"
fi

# In a sanitizer build, the desktop libraries (D-Bus, audio) keep allocations until exit that
# are not the game's; the game's own memory is checked by the in-process tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$game" >"$out" 2>&1 &
pid=$!

source "$(dirname "$0")/game_window.sh"
window=$(GameWindow 100)
if [ -z "$window" ]; then
  echo "no 1000x650 window appeared"
  kill "$pid" 2>/dev/null || true
  exit 1
fi

# Click the start button, give the game a moment to build and run its level.
xdotool mousemove --window "$window" 500 216 click 1
sleep 1
if ! kill -0 "$pid" 2>/dev/null; then
  echo "the game ended after the start click"
  exit 1
fi

# SDL turns the termination request into the same quit event as closing the window.
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
if [ "$status" -ne 0 ]; then
  echo "exit status $status after the close request"
  exit 1
fi
if [ -s "$out" ]; then
  echo "the game wrote output:"
  cat "$out"
  exit 1
fi
echo "window 1000x650 opened, took the start click, closed with status 0"
