#!/usr/bin/env bash
# The launcher and its game end together. Every signal that ends the launcher (QUIT, INT, TERM,
# HUP, USR1, USR2, ALRM, PIPE, KILL), sent to the launcher alone or to its whole process group,
# from the moment it takes the signals over and during play, leaves no game running 2 s later
# and no file of the launcher's behind.
# Usage: launcher_signals_test.sh <build directory>
set -euo pipefail
build=$1
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

work=$(mktemp -d)
group=""
cleanup() {
  if [ -n "$group" ]; then
    kill -KILL -- "-$group" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
launcher="$work/prefix/bin/farmyard-cannon"
mkdir "$work/tmp"

# traps_set: whether the launcher (group) has its handler for SIGTERM in place. Until the
# shell's copy of itself has become setsid, then env, then the launcher, it holds this script's
# handlers, SIGTERM's among them, and leads no group yet: the launcher's shell is the one that
# runs the launcher's file.
traps_set() {
  local mask
  [ "$(tr '\0' '\n' 2>/dev/null <"/proc/$group/cmdline" | sed -n 2p)" = "$launcher" ] || return 1
  mask=$(awk '/^SigCgt:/ { print $2 }' "/proc/$group/status" 2>/dev/null)
  [ -n "$mask" ] && (((0x$mask >> 14) & 1))
}

failures=0
runs=0
for signal in QUIT INT TERM HUP USR1 USR2 ALRM PIPE KILL; do
  for target in launcher group; do
    for delay in 0.001 0.02 0.3; do
      # The launcher leads a process group of its own, which the game joins: the group is how
      # the test finds the game, also after the launcher has gone. It starts with every signal
      # at its default, as a terminal's foreground job does (a shell's & would have it ignore
      # SIGINT and SIGQUIT), and it is killed should this script die. No display is needed.
      TMPDIR="$work/tmp" SDL_VIDEODRIVER=dummy DISPLAY=:0 setsid setpriv --pdeathsig KILL \
        env --default-signal "$launcher" </dev/null >/dev/null 2>&1 &
      group=$!
      # The delay counts from the moment the launcher takes the signals over, just before it
      # starts the game (until then a signal ends it like any program, and no game is started).
      until traps_set || ! kill -0 "$group" 2>/dev/null; do :; done
      sleep "$delay"
      if [ "$target" = launcher ]; then
        kill "-$signal" "$group" 2>/dev/null || true
      else
        kill "-$signal" -- "-$group" 2>/dev/null || true
      fi
      left=""
      for _ in $(seq 1 20); do
        left=$(pgrep -g "$group" || true)
        [ -z "$left" ] && break
        sleep 0.1
      done
      runs=$((runs + 1))
      if [ -n "$left" ]; then
        echo "SIG$signal to the $target after $delay s: still running 2 s later: $(ps -o pid=,args= -g "$group" | tr '\n' ';')"
        failures=$((failures + 1))
        kill -KILL -- "-$group" 2>/dev/null || true
      fi
      wait "$group" 2>/dev/null || true
      group=""
      if [ -n "$(ls -A "$work/tmp")" ]; then
        echo "SIG$signal to the $target after $delay s: left $(ls -A "$work/tmp")"
        failures=$((failures + 1))
        rm -rf "${work:?}/tmp/"*
      fi
    done
  done
done
echo "$runs signals to the launcher or its group: $failures left a game or a file behind"
[ "$failures" -eq 0 ]
