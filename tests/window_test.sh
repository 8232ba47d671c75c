#!/usr/bin/env bash
# The real game in a real window, on a virtual X display of its own.
# Usage: window_test.sh <path to shooter> [opens|signals|lost-display|background]   (from the repository root)
#   opens         the window is 1000 x 650, a click on the start button starts a level, and a close
#                 request (SIGTERM) ends the game with status 0 and no output
#   signals       SIGINT, SIGHUP (the terminal closed) and SIGQUIT end it the same way (started
#                 with them at their default: ignored at start, they stay ignored); SIGALRMs from
#                 outside, during start-up and in play, neither end it nor count against the display
#   lost-display  killing the X server ends the game within 2 s with status 1
#   background    started 20 times as a background job on an X server that resets whenever its
#                 last client leaves (Xvfb as xvfb-run starts it), the window opens every time
#   software      with a home folder of its own, the game in play has no OpenGL library loaded
#                 and has written nothing in that folder
#   no-display    with DISPLAY naming no X server, and with no display at all, the game ends with
#                 status 255 and prints nothing (no Wayland either, no XDG_RUNTIME_DIR)
set -euo pipefail
game=$1
mode=${2:-opens}

# In a sanitizer build, the desktop libraries (D-Bus, audio) keep allocations until exit that
# are not the game's; the game's own memory is checked by the in-process tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# The game must find the display by itself, as it does for a player.
unset SDL_VIDEODRIVER WAYLAND_DISPLAY

out=$(mktemp)
game_pid=""
source "$(dirname "$0")/game_window.sh"
cleanup() {
  if [ -n "$game_pid" ]; then
    kill -9 "$game_pid" 2>/dev/null || true
  fi
  StopDisplay
  rm -f "$out"
}
trap cleanup EXIT

# Without a display the game says nothing itself: its reasons are for the launcher.
if [ "$mode" = no-display ]; then
  free=$(FreeDisplay)
  for display in "DISPLAY=:$free" "-u DISPLAY"; do
    status=0
    # shellcheck disable=SC2086
    env -u XDG_RUNTIME_DIR $display "$game" >"$out" 2>&1 </dev/null || status=$?
    if [ "$status" -ne 255 ] || [ -s "$out" ]; then
      echo "$display: status $status, expected 255 and no output; the game wrote:"
      cat "$out"
      exit 1
    fi
  done
  echo "with DISPLAY=:$free (no X server) and with no DISPLAY, the game ended with status 255 and printed nothing"
  exit 0
fi

if [ "$mode" = background ]; then
  StartDisplay 24 resets
else
  StartDisplay
fi

# Starts the game and waits for its window; sets game_pid and window.
start_game() {
  "$game" >"$out" 2>&1 &
  game_pid=$!
  await_window
}

await_window() {
  for _ in $(seq 1 200); do
    window=$(GameWindow 1)
    [ -n "$window" ] && return 0
    if ! kill -0 "$game_pid" 2>/dev/null; then
      echo "the game ended before its window appeared:"
      cat "$out"
      exit 1
    fi
  done
  echo "no 1000x650 window appeared"
  exit 1
}

# caught_alarm: whether the game has its own handler for SIGALRM in place. Until the shell's
# copy of itself has become the game, it holds this script's handlers, SIGALRM's among them.
caught_alarm() {
  local mask
  [ "$(readlink "/proc/$game_pid/exe" 2>/dev/null)" = "$(readlink -f "$game")" ] || return 1
  mask=$(awk '/^SigCgt:/ { print $2 }' "/proc/$game_pid/status" 2>/dev/null)
  [ -n "$mask" ] && (((0x$mask >> 13) & 1))
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
  sleep 0.5
  before=$(xwd -id "$window" -silent | md5sum)
  # Click the start button, give the game a moment to build and run its level.
  xdotool mousemove --window "$window" 500 216 click 1
  sleep 1
  if ! kill -0 "$game_pid" 2>/dev/null; then
    echo "the game ended after the start click"
    exit 1
  fi
  # The start screen gave way to a level: the window shows something else now.
  if [ "$(xwd -id "$window" -silent | md5sum)" = "$before" ]; then
    echo "the window still shows the start screen after the start click"
    exit 1
  fi
  close_with TERM
  echo "window 1000x650 opened, started a level on the start click, closed with status 0"
  ;;
signals)
  for signal in INT HUP QUIT; do
    # With the signals at their default, as from a terminal: a script's & leaves SIGINT and
    # SIGQUIT ignored, and the game keeps them ignored then.
    env --default-signal "$game" >"$out" 2>&1 &
    game_pid=$!
    await_window
    close_with "$signal"
  done
  "$game" >"$out" 2>&1 &
  game_pid=$!
  # From the game's first act on (its handlers are in place before the rest of its start-up);
  # until then the program is not even loaded.
  until caught_alarm || ! kill -0 "$game_pid" 2>/dev/null; do :; done
  for _ in $(seq 1 20); do
    kill -ALRM "$game_pid" 2>/dev/null || break
    sleep 0.01
  done
  await_window
  kill -ALRM "$game_pid"
  sleep 0.5
  kill -0 "$game_pid" 2>/dev/null || { echo "a SIGALRM ended the game in play"; exit 1; }
  close_with TERM
  echo "SIGINT, SIGHUP and SIGQUIT each closed the game with status 0; SIGALRMs from outside did nothing"
  ;;
background)
  for run in $(seq 1 20); do
    # Each time the last client leaves (the display's first probe, the game before), the server
    # resets and drops whoever connects meanwhile: a start the test, not the game, would lose.
    sleep 0.5
    start_game
    close_with TERM
  done
  echo "20 starts as a background job on a resetting X server opened the window every time"
  ;;
software)
  home=$(mktemp -d)
  # Libraries write under XDG_CACHE_HOME and the like when set; here only HOME says where.
  HOME=$home env -u XDG_CACHE_HOME -u XDG_CONFIG_HOME -u XDG_DATA_HOME "$game" >"$out" 2>&1 &
  game_pid=$!
  await_window
  sleep 1  # a hundred frames in the window
  if OpenGLMapped "$game_pid"; then
    echo "the game in its window has OpenGL libraries loaded:"
    grep -o -E '[^/ ]*(GL|EGL|vulkan|gallium|_dri|mesa)[^/ ]*$' "/proc/$game_pid/maps" | sort -u
    rm -rf "$home"
    exit 1
  fi
  close_with TERM
  written=$(find "$home" -mindepth 1)
  rm -rf "$home"
  if [ -n "$written" ]; then
    echo "the game wrote in its home folder:"
    echo "$written"
    exit 1
  fi
  echo "the window opened and played without OpenGL, and nothing was written in the home folder"
  ;;
lost-display)
  start_game
  StopDisplay
  if ! GameEnds 20; then
    echo "the game still runs 2 s after its X server went away"
    exit 1
  fi
  status=$game_status
  # 1 is the status the manual page gives for a lost display: 0 would say all went well, and
  # 255 that the game never started.
  if [ "$status" -ne 1 ]; then
    echo "the game ended with status $status after losing its display, not 1"
    exit 1
  fi
  echo "the game ended with status 1 after losing its display"
  ;;
*)
  echo "unknown mode $mode"
  exit 2
  ;;
esac
