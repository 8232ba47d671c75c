#!/usr/bin/env bash
# The real game in a real window, on a virtual X display of its own.
# Usage: window_test.sh <path to shooter> [opens|signals|lost-display]   (from the repository root)
#   opens         the window is 1000 x 650, takes a click on the start button, and a close
#                 request (SIGTERM) ends the game with status 0 and no output
#   signals       SIGINT and SIGHUP (the terminal closed) end it the same way
#   lost-display  killing the X server ends the game within 2 s with a non-zero status
set -euo pipefail
game=$1
mode=${2:-opens}

# In a sanitizer build, the desktop libraries (D-Bus, audio) keep allocations until exit that
# are not the game's; the game's own memory is checked by the in-process tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# The game must find the display by itself, as it does for a player.
unset SDL_VIDEODRIVER WAYLAND_DISPLAY

out=$(mktemp)
ready=$(mktemp -u)
xvfb_pid=""
game_pid=""
cleanup() {
  if [ -n "$game_pid" ]; then
    kill -9 "$game_pid" 2>/dev/null || true
  fi
  # The server is waited for: until it has gone, its display number is not free for the next
  # test's server, and a client could still reach the dying one.
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -f "$out" "$ready"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number once it accepts connections, so nothing
# talks to it before it is up, whatever else runs on the machine. Without -noreset it would
# reset whenever its last client leaves (SDL's first probe of the display, xdotool), and turn
# away whoever connects meanwhile.
mkfifo "$ready"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$ready" >/dev/null 2>&1 &
xvfb_pid=$!
number=""
read -r -t 30 number <"$ready" || true
if [ -z "$number" ]; then
  echo "the X server did not start"
  exit 1
fi
export DISPLAY=":$number"
for _ in $(seq 1 50); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done

# Starts the game and waits for its window; sets game_pid and window.
start_game() {
  "$game" >"$out" 2>&1 &
  game_pid=$!
  window=""
  for _ in $(seq 1 200); do
    for w in $(xdotool search --onlyvisible --name '.*' 2>/dev/null || true); do
      if xdotool getwindowgeometry "$w" 2>/dev/null | grep -q 'Geometry: 1000x650'; then
        window=$w
      fi
    done
    [ -n "$window" ] && return 0
    if ! kill -0 "$game_pid" 2>/dev/null; then
      echo "the game ended before its window appeared:"
      cat "$out"
      exit 1
    fi
    sleep 0.1
  done
  echo "no 1000x650 window appeared"
  exit 1
}

# Sends a signal to the game: it must end with status 0 and without output.
close_with() {
  local signal=$1 status=0
  kill "-$signal" "$game_pid"
  wait "$game_pid" || status=$?
  game_pid=""
  if [ "$status" -ne 0 ]; then
    echo "exit status $status after SIG$signal"
    exit 1
  fi
  if [ -s "$out" ]; then
    echo "the game wrote output:"
    cat "$out"
    exit 1
  fi
}

case $mode in
opens)
  start_game
  # Click the start button, give the game a moment to build and run its level.
  xdotool mousemove --window "$window" 500 216 click 1
  sleep 1
  if ! kill -0 "$game_pid" 2>/dev/null; then
    echo "the game ended after the start click"
    exit 1
  fi
  close_with TERM
  echo "window 1000x650 opened, took the start click, closed with status 0"
  ;;
signals)
  for signal in INT HUP; do
    start_game
    close_with "$signal"
  done
  echo "SIGINT and SIGHUP each closed the game with status 0"
  ;;
lost-display)
  start_game
  kill "$xvfb_pid"
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
  for _ in $(seq 1 20); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$game_pid" 2>/dev/null; then
    echo "the game still runs 2 s after its X server went away"
    exit 1
  fi
  status=0
  wait "$game_pid" || status=$?
  game_pid=""
  if [ "$status" -eq 0 ]; then
    echo "the game ended with status 0 after losing its display"
    exit 1
  fi
  echo "the game ended with status $status after losing its display"
  ;;
*)
  echo "unknown mode $mode"
  exit 2
  ;;
esac
