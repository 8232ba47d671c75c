#!/usr/bin/env bash
# The real game on a virtual X display, once on its default presentation path (software, no
# OpenGL) and once with the OpenGL path chosen in the environment: the start screen must be the
# same pixel for pixel, and each run must really have taken its own path.
# Usage: presentation_test.sh <path to shooter>   (run from the repository root)
set -euo pipefail
game=$1

export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
source "$(dirname "$0")/game_window.sh"
# The presentation paths are sdl12-compat's (its SDL12COMPAT_* settings); the classic SDL
# library has only its own, so there is nothing to compare.
if ClassicSdl "$game"; then
  echo "skipped: only sdl12-compat has a software and an OpenGL presentation path to compare"
  exit 77
fi

work=$(mktemp -d)
trap 'StopDisplay; rm -rf "$work"' EXIT
StartDisplay

# Runs the game with the given environment settings, captures its window once the start screen
# is up, and says whether OpenGL libraries were loaded.
capture() {
  local name=$1
  shift
  env "$@" "$game" >"$work/$name.out" 2>&1 &
  local pid=$!
  local window
  window=$(GameWindow 300)
  if [ -z "$window" ]; then
    if kill -0 "$pid" 2>/dev/null; then
      kill "$pid"
      echo "$name: no 1000x650 window appeared"
    else
      status=0
      wait "$pid" || status=$?
      echo "$name: the game ended with status $status before its window appeared:"
      cat "$work/$name.out"
    fi
    exit 1
  fi
  sleep 1  # a hundred frames of the start screen
  xwd -silent -id "$window" >"$work/$name.xwd"
  if OpenGLMapped "$pid"; then
    echo yes >"$work/$name.gl"
  else
    echo no >"$work/$name.gl"
  fi
  kill -TERM "$pid"
  wait "$pid" || true
}

capture software
capture opengl SDL12COMPAT_OPENGL_SCALING=1 SDL_FRAMEBUFFER_ACCELERATION=1 SDL_RENDER_DRIVER=opengl

if [ "$(cat "$work/software.gl")" != no ]; then
  echo "the default run loaded OpenGL: the software path is not the default"
  exit 1
fi
if [ "$(cat "$work/opengl.gl")" != yes ]; then
  echo "the run asking for OpenGL did not load it: the user's settings did not win"
  exit 1
fi
# 1000 x 650 pixels of 4 bytes end each capture; the start screen is far from all black.
pixels=$((1000 * 650 * 4))
if [ "$(tail -c "$pixels" "$work/software.xwd" | tr -d '\000' | wc -c)" -lt $((pixels / 2)) ]; then
  echo "the capture shows no start screen"
  exit 1
fi
# Pixels are four bytes, blue, green, red and an unused fourth that the two paths fill
# differently; every colour byte must be the same.
size=$(stat -c %s "$work/software.xwd")
if [ "$(stat -c %s "$work/opengl.xwd")" != "$size" ]; then
  echo "the two captures differ in size"
  exit 1
fi
different=$({ cmp -l "$work/software.xwd" "$work/opengl.xwd" || true; } |
  awk -v first=$((size - pixels)) '{ at = $1 - 1 - first; if (at < 0 || at % 4 != 3) n++ } END { print n + 0 }')
if [ "$different" -ne 0 ]; then
  echo "the start screen differs between the software and the OpenGL path in $different bytes"
  exit 1
fi
echo "start screen identical on the software and the OpenGL path; each run took its own path"
