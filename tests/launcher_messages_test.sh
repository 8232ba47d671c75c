#!/usr/bin/env bash
# The launcher and the play script refuse to start without a display or without the artwork:
# each says what is wrong in exactly one line on stderr, exits non-zero, and starts no build.
# The dependency script, run by a user without root and without sudo, says so in one line.
# Usage: launcher_messages_test.sh <build directory> <source directory>
set -euo pipefail
build=$1
source=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# Commands a build or an install would run record that they ran, and do nothing else.
stubs="$work/stubs"
mkdir "$stubs"
for tool in cmake apt-get sudo dpkg-query ctest; do
  printf '#!/bin/sh\necho "%s $*" >>"%s/ran"\nexit 1\n' "$tool" "$work" >"$stubs/$tool"
  chmod +x "$stubs/$tool"
done

# expect_refusal <case> <word the message must hold> <command...>: runs the command with the
# stubs first on PATH and checks its status, its output and that nothing was built.
expect_refusal() {
  local case=$1 word=$2
  shift 2
  rm -f "$work/ran"
  local status=0
  PATH="$stubs:$PATH" "$@" >"$work/stdout" 2>"$work/stderr" </dev/null || status=$?
  local lines
  lines=$(wc -l <"$work/stderr")
  if [ "$status" -eq 0 ]; then
    echo "$case: exit status 0"; failures=$((failures + 1))
  elif [ "$lines" -ne 1 ] || [ -s "$work/stdout" ]; then
    echo "$case: expected one line on stderr and nothing on stdout, got:"; cat "$work/stdout" "$work/stderr"
    failures=$((failures + 1))
  elif ! grep -qi -- "$word" "$work/stderr"; then
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
launcher="$prefix/bin/farmyard-cannon"
expect_refusal "launcher, no display" "display" env -u DISPLAY -u WAYLAND_DISPLAY "$launcher"
rm "$prefix/share/farmyard-cannon/bmp/pig.bmp"
expect_refusal "launcher, no artwork" "artwork" env DISPLAY=:99 "$launcher"

# The play script, in a copy of the repository's scripts, artwork and its catalogue.
mkdir "$work/repo"
mkdir "$work/repo/src"
cp -r "$source/scripts" "$source/bmp" "$work/repo/"
cp -r "$source/src/assets" "$work/repo/src/"
expect_refusal "play.sh, no display" "display" env -u DISPLAY -u WAYLAND_DISPLAY bash "$work/repo/scripts/play.sh"
rm "$work/repo/bmp/vaca.bmp"
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
