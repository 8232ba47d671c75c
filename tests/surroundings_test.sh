#!/usr/bin/env bash
# The real game against hostile surroundings, on a virtual X display of its own.
# Usage: surroundings_test.sh <path to shooter> <path to silent_display> <mode> [<path to slow_display>]
# (from the repository root)
#   silent-display  a display that accepts the connection and never answers: start-up ends
#                   with status 255 within 10 s
#   early-signals   SIGTERM, SIGINT and SIGHUP from the game's first millisecond on, also while
#                   the display does not answer, end the game with status 0 within 5 s (at once)
#   frozen-display  with the X server stopped in the middle of play, SIGTERM ends the game with
#                   status 0 within 2 s, also repeated every 0.3 s
#   slow-display    every answer of the X server 100 ms late: the window opens within 60 s
#   stopped-start-up  on that slow display, the game stopped (SIGSTOP) for 10 s in the middle of
#                   its start-up and continued: the window opens within 60 s
#   stalled-display the same proxy stalled, and in turn each connection of the game's and SDL's
#                   stalled alone, also once the window maps: status 255 within 10 s, and the
#                   line for the launcher
#   far-display     300 ms each way on a server that resets, xdpyinfo just before: the window
#                   opens (however long SDL's round trips take)
#   hung-sound      PULSE_SERVER at a server that accepts and never answers: the window opens
#                   within 2 s, and nothing is printed
#   worst-artwork   every optional bitmap at its worst (huge, run-length bomb, a huge 1-bit
#                   icon): the first frame shows within 2 s, peak memory stays under 256 MiB,
#                   and a SIGTERM ends the game with status 0 and no output
set -euo pipefail
game=$(realpath "$1")
silent=$2
mode=$3
slow=${4:-}

export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
unset SDL_VIDEODRIVER WAYLAND_DISPLAY

work=$(mktemp -d)
game_pid=""
silent_pid=""
slow_pid=""
proxies=()
pids=()
source "$(dirname "$0")/game_window.sh"
cleanup() {
  [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
  [ -n "$silent_pid" ] && kill "$silent_pid" 2>/dev/null
  [ -n "$slow_pid" ] && kill "$slow_pid" 2>/dev/null
  for pid in "${proxies[@]}" "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  if [ -n "${display_pid:-}" ]; then
    kill -CONT "$display_pid" 2>/dev/null || true
  fi
  StopDisplay
  rm -rf "$work"
}
trap cleanup EXIT

# start_proxy <name> <program...>: starts a test display that prints its display number once it
# listens; sets <name>_pid and exports its DISPLAY as <name>_display.
start_proxy() {
  local name=$1 number="" pid file
  shift
  file=$(mktemp -p "$work")  # one of its own: the last proxy's may still be read otherwise
  "${orphan_free[@]}" "$@" >"$file" &
  pid=$!
  printf -v "${name}_pid" %s "$pid"
  for _ in $(seq 1 100); do
    read -r number <"$file" || true
    [ -n "$number" ] && break
    sleep 0.1
  done
  [ -n "$number" ] || { echo "the $name display did not start"; exit 1; }
  printf -v "${name}_display" %s "127.0.0.1:$number"
}
# The silent display; the slow one, every answer of the test's X server <delay in ms> late.
start_silent() { start_proxy silent "$silent"; }
start_slow() { start_proxy slow "$slow" "${DISPLAY#:}" "$1"; }

# window_within <tenths> <what>: the game's window appears in time, else the test fails.
window_within() {
  local start window
  start=$(date +%s%N)
  window=$(GameWindow "$1")
  if [ -z "$window" ]; then
    echo "$2: no window within $(($1 / 10)) s"
    exit 1
  fi
  echo "$2: window after $((($(date +%s%N) - start) / 1000000)) ms"
}

# caught_hup: whether the game has its own handler for SIGHUP in place.
caught_hup() {
  local mask
  mask=$(awk '/^SigCgt:/ { print $2 }' "/proc/$game_pid/status" 2>/dev/null)
  [ -n "$mask" ] && (((0x$mask & 1) != 0))
}

# ends_within <tenths of a second> <expected status> <what>: waits for game_pid to end.
ends_within() {
  local tenths=$1 expected=$2 what=$3
  if ! GameEnds "$tenths"; then
    echo "$what: the game still runs after $((tenths / 10)).$((tenths % 10)) s"
    exit 1
  fi
  if [ "$game_status" -ne "$expected" ]; then
    echo "$what: exit status $game_status, expected $expected"
    exit 1
  fi
}

case $mode in
silent-display)
  start_silent
  start=$(date +%s%N)
  DISPLAY=$silent_display "${orphan_free[@]}" "$game" >/dev/null 2>&1 &
  game_pid=$!
  ends_within 100 255 "silent display"
  echo "a display that never answers: status 255 after $((($(date +%s%N) - start) / 1000000)) ms"
  ;;
early-signals)
  StartDisplay
  start_silent
  for target in "$DISPLAY" "$silent_display"; do
    for signal in TERM INT HUP; do
      for delay in 0.001 0.003 0.01 0.03 0.1 0.3; do
        # Started with every signal at its default, as from a terminal (a shell's & leaves
        # SIGINT and SIGQUIT ignored, and the game keeps them so), and killed with this script.
        DISPLAY=$target setpriv --pdeathsig KILL env --default-signal "$game" >/dev/null 2>&1 &
        game_pid=$!
        # The delay counts from the game's first act, catching SIGHUP: before it, a signal
        # meets the defaults and kills the process. Counted from the libraries mapped, a busy
        # machine's loader could take longer than the shortest delays to reach the game's code.
        # (This shell's forked copy catches SIGHUP too, until it has become the game.)
        until { [ "$(readlink "/proc/$game_pid/exe")" = "$game" ] && caught_hup; } ||
          ! kill -0 "$game_pid" 2>/dev/null; do :; done
        sleep "$delay"
        kill "-$signal" "$game_pid"
        ends_within 50 0 "SIG$signal after $delay s on $target"
      done
    done
  done
  echo "SIGTERM, SIGINT and SIGHUP from 1 ms on ended the game with status 0 within 5 s"
  ;;
frozen-display)
  StartDisplay
  "${orphan_free[@]}" "$game" >/dev/null 2>&1 &
  game_pid=$!
  [ -n "$(GameWindow 100)" ] || { echo "no window appeared"; exit 1; }
  xdotool mousemove 500 216 click 1
  sleep 0.5
  kill -STOP "$display_pid"
  sleep 0.5
  # Quit signals again and again do not put off the end.
  for tick in $(seq 0 19); do
    kill -0 "$game_pid" 2>/dev/null || break
    [ $((tick % 3)) -eq 0 ] && kill -TERM "$game_pid"
    sleep 0.1
  done
  ends_within 1 0 "SIGTERM every 0.3 s with the X server frozen"
  kill -CONT "$display_pid"
  echo "with a frozen X server, SIGTERM every 0.3 s ended the game with status 0 within 2 s"
  ;;
slow-display | stopped-start-up)
  StartDisplay
  start_slow 100
  start=$(date +%s%N)
  DISPLAY=$slow_display "${orphan_free[@]}" "$game" >"$work/out" 2>&1 &
  game_pid=$!
  if [ "$mode" = stopped-start-up ]; then
    sleep 1
    kill -STOP "$game_pid"
    sleep 10
    kill -CONT "$game_pid"
  fi
  window_within 600 "$mode"
  kill -TERM "$game_pid"
  ends_within 20 0 "$mode"
  ;;
far-display)
  # A display 300 ms away each way (a round trip of 0.6 s) on an X server that resets when its
  # last client leaves: xdpyinfo through the same line, and the game right after it, while the
  # server may still be resetting. The window opens, in whatever time SDL's round trips take.
  StartDisplay 24 resets
  start_proxy slow "$slow" "${DISPLAY#:}" 300 both
  start=$(date +%s%N)
  DISPLAY=$slow_display xdpyinfo >/dev/null || { echo "xdpyinfo could not use the line"; exit 1; }
  xdpyinfo_ms=$((($(date +%s%N) - start) / 1000000))
  start=$(date +%s%N)
  DISPLAY=$slow_display FARMYARD_CANNON_REPORT=3 "${orphan_free[@]}" "$game" >"$work/out" 2>&1 3>"$work/report" &
  game_pid=$!
  # Looking for the window is itself a client that comes and goes: not before the game's own
  # connection stands and holds the server.
  sleep 3
  window=""
  for _ in $(seq 1 200); do
    window=$(GameWindow 10)
    [ -n "$window" ] && break
    kill -0 "$game_pid" 2>/dev/null || break
  done
  [ -n "$window" ] || { echo "far display: no window; the launcher was told: $(cat "$work/report")"; exit 1; }
  echo "far display: window after $((($(date +%s%N) - start) / 1000000)) ms, xdpyinfo $xdpyinfo_ms ms"
  kill -TERM "$game_pid"
  ends_within 20 0 "far display"
  ;;
stalled-display)
  # The whole display stalled, then each connection of the game's and SDL's stalled alone: the
  # game's own, SDL's first and second (and the classic library's third) from their first byte,
  # SDL's window connection in the middle of start-up and, on sdl12-compat, once the window is
  # mapped (the classic library draws through another connection then, and plays on). Side by
  # side, each game with a proxy of its own.
  StartDisplay
  cases=("whole" "1 0" "2 0" "3 0")
  if ClassicSdl "$game"; then cases+=("4 0" "3 12000"); else cases+=("2 12000" "2 map"); fi
  displays=()
  for i in "${!cases[@]}"; do
    if [ "${cases[$i]}" = whole ]; then
      start_slow 100
      kill -USR1 "$slow_pid"
    else
      # shellcheck disable=SC2086
      start_proxy slow "$slow" "${DISPLAY#:}" 0 stall ${cases[$i]}
    fi
    proxies+=("$slow_pid")
    displays+=("$slow_display")
  done
  start=$(date +%s%N)
  for i in "${!cases[@]}"; do
    DISPLAY=${displays[$i]} FARMYARD_CANNON_REPORT=3 "${orphan_free[@]}" "$game" >/dev/null 2>&1 3>"$work/report$i" &
    pids+=("$!")
  done
  for i in "${!cases[@]}"; do
    what="stalled display"
    read -r connection after <<<"${cases[$i]}"
    [ "$connection" = whole ] || what="connection $connection stalled after $after bytes"
    game_pid=${pids[$i]}
    left=$((100 - ($(date +%s%N) - start) / 100000000))
    ends_within $((left > 0 ? left : 1)) 255 "$what"
    grep -qx "display DISPLAY=${displays[$i]} did not answer for 5 s" "$work/report$i" ||
      { echo "$what: the launcher was told: $(cat "$work/report$i")"; exit 1; }
    echo "$what: status 255 after $((($(date +%s%N) - start) / 1000000)) ms at the latest, and the launcher's line"
  done
  ;;
hung-sound)
  StartDisplay
  start_silent
  PULSE_SERVER="tcp:127.0.0.1:$((6000 + ${silent_display##*:}))" "${orphan_free[@]}" "$game" >"$work/out" 2>&1 &
  game_pid=$!
  window_within 20 "a sound server that never answers"
  kill -TERM "$game_pid"
  ends_within 20 0 "hung sound server"
  if [ -s "$work/out" ]; then
    echo "the game wrote output:"; cat "$work/out"; exit 1
  fi
  ;;
worst-artwork)
  StartDisplay
  cp -r bmp "$work/bmp"
  # bmp_header <file> <width> <height> <bits> <compression> <pixel bytes>: a valid header whose
  # pixel data is a hole in the file, so that a huge picture costs no disk.
  bmp_header() {
    local file=$1 width=$2 height=$3 bits=$4 compression=$5 data=$6 palette=0
    [ "$bits" -le 8 ] && palette=$((4 << bits))
    local offset=$((54 + palette))
    le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))\\x$(printf %02x $((($1 >> 16) & 255)))\\x$(printf %02x $((($1 >> 24) & 255)))"; }
    {
      printf 'BM'; le32 $((offset + data)); le32 0; le32 "$offset"
      le32 40; le32 "$width"; le32 "$height"; printf '\x01\x00'; printf "\\x$(printf %02x "$bits")\\x00"
      le32 "$compression"; le32 "$data"; le32 2835; le32 2835; le32 0; le32 0
      head -c "$palette" /dev/zero
    } >"$file"
    truncate -s $((offset + data)) "$file"
  }
  for picture in top_bar.bmp bot_bar.bmp Target1.bmp Target2.bmp Start.bmp END.bmp pig.bmp vaca.bmp ovelha.bmp; do
    bmp_header "$work/bmp/$picture" 16383 16384 24 0 $((((16383 * 24 + 31) / 32 * 4) * 16384))
  done
  # 64 MiB of run-length data for a 64 x 64 picture: runs of 255 pixels, on and on.
  bmp_header "$work/bmp/cake.bmp" 64 64 8 1 $((64 << 20))
  truncate -s $((54 + 1024)) "$work/bmp/cake.bmp"
  head -c $((64 << 20)) < <(yes $'\xff') >>"$work/bmp/cake.bmp"
  bmp_header "$work/bmp/icon.bmp" 2048 2048 1 0 $((2048 / 8 * 2048))
  start=$(date +%s%N)
  (cd "$work" && exec "${orphan_free[@]}" "$game") >"$work/out" 2>&1 &
  game_pid=$!
  # The first frame: the window shows the start screen (more than half its bytes not black).
  # Peak memory is sampled all along, and once more a second after it.
  pixels=$((1000 * 650 * 4))
  peak=0 elapsed=""
  sample_peak() {
    local now
    now=$(awk '/VmHWM/ { print int($2 / 1024) }' "/proc/$game_pid/status" 2>/dev/null || true)
    [ -n "$now" ] && [ "$now" -gt "$peak" ] && peak=$now
    return 0
  }
  for _ in $(seq 1 200); do
    kill -0 "$game_pid" 2>/dev/null || break
    sample_peak
    window=$(GameWindow 1)
    if [ -n "$window" ] && xwd -silent -id "$window" >"$work/frame.xwd" 2>/dev/null &&
      [ "$(tail -c "$pixels" "$work/frame.xwd" | tr -d '\000' | wc -c)" -gt $((pixels / 2)) ]; then
      elapsed=$((($(date +%s%N) - start) / 1000000))
      break
    fi
  done
  [ -n "$elapsed" ] || { echo "no first frame within 20 s"; cat "$work/out"; exit 1; }
  sleep 1
  sample_peak
  kill -TERM "$game_pid"
  ends_within 10 0 "SIGTERM after the worst artwork"
  if [ -s "$work/out" ]; then
    echo "the game wrote output:"; cat "$work/out"; exit 1
  fi
  echo "worst artwork: first frame after $elapsed ms, peak $peak MiB"
  [ "$elapsed" -lt 2000 ] || { echo "the first frame took 2 s or more"; exit 1; }
  [ "$peak" -lt 256 ] || { echo "peak memory 256 MiB or more"; exit 1; }
  ;;
*)
  echo "unknown mode $mode"
  exit 2
  ;;
esac
