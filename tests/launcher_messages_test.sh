#!/usr/bin/env bash
# The launcher and the play script refuse to start without a display or without the artwork:
# each says what is wrong in exactly one line on stderr, exits non-zero, and starts no build.
# The launcher refuses an option it does not know with its usage line and status 2, and says its
# one line also for a DISPLAY of 1,000 characters and with TMPDIR naming no folder.
# The dependency script, run by a user without root and without sudo, says so in one line.
# The launcher also names each damaged picture, the display that could not be opened or did
# not answer and why, passes quit signals on, and plays without its optional pictures.
# Usage: launcher_messages_test.sh <build directory> <source directory> <path to silent_display>;
# SHOOTER_LAUNCHER_DIR and SHOOTER_DATA_DIR name the build's layout (the folder layout when unset).
set -euo pipefail
build=$1
source=$2
silent=$3
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
unset SDL_VIDEODRIVER WAYLAND_DISPLAY

work=$(mktemp -d)
trap 'StopDisplay 2>/dev/null; rm -rf "$work"' EXIT
failures=0
source "$source/tests/game_window.sh"

# Commands a build or an install would run record that they ran, and do nothing else.
stubs="$work/stubs"
mkdir "$stubs"
for tool in cmake apt-get sudo dpkg-query ctest; do
  printf '#!/bin/sh\necho "%s $*" >>"%s/ran"\nexit 1\n' "$tool" "$work" >"$stubs/$tool"
  chmod +x "$stubs/$tool"
done

# expect_refusal <case> <word the message must hold> <command...>: runs the command with the
# stubs first on PATH and checks its status, its output (one line per problem, every line
# holding one of the words given as word1|word2) and that nothing was built. Set lines_expected
# for more than one problem.
expect_refusal() {
  local case=$1 word=$2 expected=${lines_expected:-1}
  shift 2
  rm -f "$work/ran"
  local status=0
  PATH="$stubs:$PATH" setpriv --pdeathsig KILL "$@" >"$work/stdout" 2>"$work/stderr" </dev/null || status=$?
  last_status=$status
  local lines
  lines=$(wc -l <"$work/stderr")
  if [ "$status" -eq 0 ]; then
    echo "$case: exit status 0"; failures=$((failures + 1))
  elif [ "$lines" -ne "$expected" ] || [ -s "$work/stdout" ]; then
    echo "$case: expected $expected line(s) on stderr and nothing on stdout, got:"; cat "$work/stdout" "$work/stderr"
    failures=$((failures + 1))
  elif grep -qviE -- "$word" "$work/stderr"; then
    echo "$case: the message does not mention '$word': $(cat "$work/stderr")"; failures=$((failures + 1))
  elif [ -e "$work/ran" ] || [ -e "$work/repo/build" ]; then
    echo "$case: a build or install was started: $(cat "$work/ran" 2>/dev/null)"; failures=$((failures + 1))
  else
    echo "$case: $(cat "$work/stderr")"
  fi
}

# The installed launcher, in a prefix of its own.
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
launcher="$prefix/${SHOOTER_LAUNCHER_DIR:-bin}/farmyard-cannon"
expect_refusal "launcher, no display" "display" env -u DISPLAY -u WAYLAND_DISPLAY "$launcher"
expect_refusal "launcher, unknown option" "unknown option or argument '--bogus'; usage: farmyard-cannon" \
  env DISPLAY=:99 "$launcher" --bogus
if [ "$last_status" -ne 2 ]; then
  echo "launcher, unknown option: status $last_status, expected 2"; failures=$((failures + 1))
fi
bmp="$prefix/${SHOOTER_DATA_DIR:-share/farmyard-cannon}/bmp"

# Every field picture that is wrong is named, with what is wrong with it, before the display is
# tried; and that with an empty PATH.
cp -r "$bmp" "$work/bmp-intact"
rm "$bmp/background.bmp"
: >"$bmp/blocktileset.bmp"
head -c 9 "$work/bmp-intact/p1cannon.bmp" >"$bmp/p1cannon.bmp"
rm "$bmp/bullet.bmp"
mkdir "$bmp/bullet.bmp"
lines_expected=4 expect_refusal "launcher, damaged artwork" \
  "background.bmp is missing|blocktileset.bmp is damaged|p1cannon.bmp is damaged|bullet.bmp is not a regular file" \
  env PATH= DISPLAY=:99 "$launcher"
rm -rf "$bmp"
cp -r "$work/bmp-intact" "$bmp"

# Displays that cannot be opened, each named with the reason.
# A display with neither a socket nor a TCP port. FreeDisplay looks above the test proxies'
# ports: a probe of a proxy's port would be taken for a game's connection by a test running
# beside this one.
free=$(FreeDisplay)
expect_refusal "launcher, display not there" "DISPLAY=:$free could not be opened: no X server listens" \
  env DISPLAY=":$free" "$launcher"
expect_refusal "launcher, no display name" "DISPLAY=notadisplay could not be opened: that is not a display name" \
  env DISPLAY=notadisplay "$launcher"
long=$(printf 'x%.0s' $(seq 1 1000))
# The line shows the value's first 200 characters and its length.
expect_refusal "launcher, DISPLAY of 1,000 characters" \
  "DISPLAY=${long:0:200}… .1000 characters. could not be opened: that is not a display name" \
  env DISPLAY="$long" "$launcher"
expect_refusal "launcher, TMPDIR names no folder" "DISPLAY=:$free could not be opened" \
  env TMPDIR=/nonexistent DISPLAY=":$free" "$launcher"
expect_refusal "launcher, Wayland only" "WAYLAND_DISPLAY=wayland-none could not be opened: XDG_RUNTIME_DIR" \
  env -u DISPLAY -u XDG_RUNTIME_DIR WAYLAND_DISPLAY=wayland-none "$launcher"
coproc SILENT { exec setpriv --pdeathsig KILL "$silent"; }
read -r -t 10 number <&"${SILENT[0]}"
expect_refusal "launcher, silent display" "DISPLAY=127.0.0.1:$number did not answer" \
  env DISPLAY="127.0.0.1:$number" "$launcher"
kill "$SILENT_PID"
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
  # sdl12-compat opens no window on an 8-bit display; the classic SDL library does, and draws
  # the game's 32-bit frames in the display's 256 colours, so there it plays. Depending on its
  # version sdl12-compat refuses the display as SDL starts or as the window opens, each time in
  # words of its own: the one line names the display and gives a reason, whatever the words.
  if ClassicSdl "$prefix/libexec/farmyard-cannon/shooter"; then
    echo "launcher, 8-bit display: skipped, the classic SDL library plays there"
  else
    StartDisplay 8
    expect_refusal "launcher, 8-bit display" \
      "^farmyard-cannon: (the game's window could not open on display DISPLAY=$DISPLAY|display DISPLAY=$DISPLAY could not be opened): [^ ]" \
      "$launcher"
    if [ "$last_status" -ne 255 ]; then
      echo "launcher, 8-bit display: status $last_status, expected 255"; failures=$((failures + 1))
    fi
    StopDisplay
    unset DISPLAY
  fi
fi

# Without an optional picture the game plays, and a quit signal to the launcher ends it with 0.
rm "$bmp/pig.bmp"
status=0
env SDL_VIDEODRIVER=dummy DISPLAY=:99 setpriv --pdeathsig KILL "$launcher" >"$work/stdout" 2>"$work/stderr" </dev/null &
launcher_pid=$!
sleep 1
if ! kill -0 "$launcher_pid" 2>/dev/null; then
  echo "launcher without pig.bmp: it did not start the game:"; cat "$work/stderr"; failures=$((failures + 1))
else
  kill -TERM "$launcher_pid"
  wait "$launcher_pid" || status=$?
  if [ "$status" -ne 0 ] || [ -s "$work/stderr" ]; then
    echo "launcher without pig.bmp: status $status after SIGTERM, said:"; cat "$work/stderr"
    failures=$((failures + 1))
  else
    echo "launcher without pig.bmp: played, and ended with status 0 on SIGTERM"
  fi
fi

# The play script, in a copy of the repository's scripts, artwork and its catalogue.
mkdir "$work/repo"
mkdir "$work/repo/src"
cp -r "$source/scripts" "$source/bmp" "$work/repo/"
cp -r "$source/src/assets" "$work/repo/src/"
expect_refusal "play.sh, no display" "display" env -u DISPLAY -u WAYLAND_DISPLAY bash "$work/repo/scripts/play.sh"
rm "$work/repo/bmp/background.bmp"
expect_refusal "play.sh, no artwork" "artwork" env DISPLAY=:99 bash "$work/repo/scripts/play.sh"

# The dependency script as a user who is not root, on a machine without sudo: only the shell's
# own tools and the stubs are on PATH, with sudo left out.
plain="$work/plain"
mkdir "$plain"
ln -s "$stubs/dpkg-query" "$plain/dpkg-query"
printf '#!/bin/sh\necho 1000\n' >"$plain/id"
chmod +x "$plain/id"
for tool in bash grep; do ln -s "$(command -v "$tool")" "$plain/$tool"; done
rm -f "$work/ran"
status=0
PATH="$plain" "$plain/bash" "$source/scripts/install-deps.sh" >"$work/stdout" 2>"$work/stderr" </dev/null || status=$?
if [ "$status" -eq 0 ] || [ "$(wc -l <"$work/stderr")" -ne 1 ] || ! grep -q "sudo" "$work/stderr"; then
  echo "install-deps.sh without root or sudo: status $status, said:"; cat "$work/stdout" "$work/stderr"
  failures=$((failures + 1))
else
  echo "install-deps.sh without root or sudo: $(cat "$work/stderr")"
fi

[ "$failures" -eq 0 ]
