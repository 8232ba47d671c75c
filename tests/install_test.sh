#!/usr/bin/env bash
# Installs the game into a fresh prefix and starts it as a player would: the installed launcher,
# from another folder, on a virtual X display. Its window must be 1000 x 650, titled with the
# game's name and carrying an icon; a close request must end it with status 0 and no output.
# The installed desktop entry and metadata must pass their validators.
# Usage: install_test.sh <build directory>; SHOOTER_LAUNCHER_DIR, SHOOTER_BINARY_DIR and
# SHOOTER_DATA_DIR name the build's layout under the prefix (the folder layout when unset).
set -euo pipefail
build=$1
launcher_dir=${SHOOTER_LAUNCHER_DIR:-bin}
binary_dir=${SHOOTER_BINARY_DIR:-libexec/farmyard-cannon}
data_dir=${SHOOTER_DATA_DIR:-share/farmyard-cannon}
name="Farmyard Cannon"

work=$(mktemp -d)
game_pid=""
source "$(dirname "$0")/game_window.sh"
cleanup() {
  if [ -n "$game_pid" ]; then
    kill "$game_pid" 2>/dev/null || true
  fi
  StopDisplay
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "install test: $*" >&2
  exit 1
}

# An install that stops halfway (here: the artwork's folder cannot be made) leaves no launcher.
broken="$work/broken"
mkdir -p "$(dirname "$broken/$data_dir")"
touch "$broken/$data_dir"
if cmake --install "$build" --prefix "$broken" >/dev/null 2>&1; then
  fail "an install over a file in the artwork's place succeeded"
fi
[ ! -e "$broken/$launcher_dir/farmyard-cannon" ] || fail "a failed install left its launcher behind"

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

# --help and --version answer without a display and start no game.
for option in --help --version; do
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/$launcher_dir/farmyard-cannon" "$option" 2>&1) ||
    fail "farmyard-cannon $option failed: $out"
  [[ "$out" == *farmyard-cannon* ]] || fail "farmyard-cannon $option said: $out"
done

desktop-file-validate "$prefix/share/applications/farmyard-cannon.desktop"
appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml >/dev/null ||
  appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml
for size in 16 32 48 64 128 256; do
  [ -s "$prefix/share/icons/hicolor/${size}x${size}/apps/farmyard-cannon.png" ] || fail "no ${size}x${size} icon"
done

StartDisplay || fail "no virtual display"

# In a sanitizer build, the desktop libraries keep allocations until exit that are not the game's.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

mkdir "$work/elsewhere"
# play <with icon: yes|no>: starts the installed launcher from another folder, checks the window,
# then asks the game to close.
play() {
  (cd "$work/elsewhere" && exec "$prefix/$launcher_dir/farmyard-cannon") >"$work/out" 2>&1 &
  game_pid=$!

  local window=""
  for _ in $(seq 1 150); do
    window=$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended before its window appeared: $(cat "$work/out")"
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window titled '$name' appeared"

  local title geometry icon
  title=$(xdotool getwindowname "$window")
  [ "$title" = "$name" ] || fail "window titled '$title'"
  geometry=$(xdotool getwindowgeometry "$window")
  [[ "$geometry" == *"Geometry: 1000x650"* ]] || fail "window is not 1000x650: $geometry"
  if [ "$1" = yes ]; then
    # sdl12-compat hands the icon to the window manager whole; the classic SDL library as the
    # old X way, a pixmap in the window's hints.
    if ClassicSdl "$prefix/libexec/farmyard-cannon/shooter"; then
      icon=$(xprop -id "$window" WM_HINTS)
      [[ "$icon" == *"to use for icon"* ]] || fail "the window carries no icon: $icon"
    else
      icon=$(xprop -id "$window" _NET_WM_ICON)
      [[ "$icon" == *"Icon (64 x 64)"* ]] || fail "the window carries no 64x64 icon: ${icon:0:80}"
    fi
  fi

  # SDL turns the termination request into the same quit event as closing the window.
  kill -TERM "$game_pid"
  local status=0
  wait "$game_pid" || status=$?
  game_pid=""
  [ "$status" -eq 0 ] || fail "exit status $status after the close request"
  [ ! -s "$work/out" ] || fail "the game wrote output: $(cat "$work/out")"
}

play yes
# The icon is a nicety: without its picture the game still starts.
rm "$prefix/$data_dir/bmp/icon.bmp"
play no
# The player's own SDL settings reach the game untouched: a stand-in game reports what it was given.
printf '#!/bin/sh\necho "$SDL12COMPAT_WINDOW_SCALING $SDL12COMPAT_OPENGL_SCALING $*"\n' >"$prefix/$binary_dir/shooter"
given=$(SDL12COMPAT_WINDOW_SCALING=2 SDL12COMPAT_OPENGL_SCALING=1 "$prefix/$launcher_dir/farmyard-cannon")
[ "$given" = "2 1 " ] || fail "the game was started with '$given' instead of the player's settings and no options"

echo "installed launcher opened '$name' 1000x650 with its icon from another folder, also without the icon, closed with status 0"
