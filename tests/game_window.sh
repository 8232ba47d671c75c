# Shared by the window tests: a virtual X display of the test's own, and the game's window on it.

# Put before a command the test starts in the background: it is killed when the test's shell
# ends, also when the shell itself is killed (at the test's timeout) and cannot clean up.
orphan_free=(setpriv --pdeathsig KILL)

# StartDisplay [depth] [resets]: starts Xvfb (24-bit colour unless told otherwise) on a display
# it picks itself, which it reports only once it accepts connections, so nothing talks to it
# before it is up, whatever else runs on the machine.
# Exports DISPLAY and sets display_pid. Unless told "resets", the server is started with
# -noreset: otherwise it resets whenever its last client leaves (xdotool, a program's first look
# at the display) and turns away whoever connects meanwhile, as Xvfb does under xvfb-run.
StartDisplay() {
  local ready number="" noreset=-noreset
  [ "${2:-}" = resets ] && noreset=""
  ready=$(mktemp -u)
  mkfifo "$ready"
  # shellcheck disable=SC2086
  "${orphan_free[@]}" Xvfb -displayfd 3 -screen 0 "1024x768x${1:-24}" -nolisten tcp $noreset 3>"$ready" >/dev/null 2>&1 &
  display_pid=$!
  read -r -t 30 number <"$ready" || true
  rm -f "$ready"
  if [ -z "$number" ]; then
    echo "the X server did not start"
    return 1
  fi
  export DISPLAY=":$number"
  for _ in $(seq 1 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "the X server on $DISPLAY does not answer"
  return 1
}

# StopDisplay: stops the server and waits for it: until it has gone, its display number is not
# free for the next test's server, and a client could still reach the dying one.
StopDisplay() {
  if [ -n "${display_pid:-}" ]; then
    kill "$display_pid" 2>/dev/null || true
    wait "$display_pid" 2>/dev/null || true
    display_pid=""
  fi
}

# GameWindow <tries>: prints the id of the visible 1000x650 window, waiting up to <tries>
# tenths of a second for it; prints nothing when none appears.
GameWindow() {
  local window=""
  for _ in $(seq 1 "$1"); do
    for w in $(xdotool search --onlyvisible --name '.*' 2>/dev/null || true); do
      if xdotool getwindowgeometry "$w" 2>/dev/null | grep -q 'Geometry: 1000x650'; then
        window=$w
      fi
    done
    [ -n "$window" ] && break
    sleep 0.1
  done
  echo "$window"
}

# GameEnds <tenths>: waits up to <tenths> tenths of a second for the game (game_pid) to end.
# Once it has, reaps it, sets game_status to its exit status, clears game_pid and returns 0;
# returns 1 while it still runs.
GameEnds() {
  for _ in $(seq 1 "$1"); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$game_pid" 2>/dev/null; then
    return 1
  fi
  game_status=0
  wait "$game_pid" || game_status=$?
  game_pid=""
}

# ClassicSdl <program>: true when the program runs on the classic SDL 1.2 library (Debian's
# libsdl1.2debian, its file libSDL-1.2.so.0.11.*) rather than on sdl12-compat (1.2.50 on).
ClassicSdl() {
  local library
  library=$(ldd "$1" 2>/dev/null | awk '$1 == "libSDL-1.2.so.0" { print $3 }')
  [ -n "$library" ] && [[ "$(readlink -f "$library")" == *libSDL-1.2.so.0.11.* ]]
}

# OpenGLMapped <pid>: true when the process has an OpenGL, EGL or Vulkan library (or Mesa's
# drivers) mapped: the libraries either SDL library loads to draw with OpenGL.
OpenGLMapped() {
  grep -q -E 'lib(GL|GLX|EGL|GLESv2|OpenGL|vulkan)[._]|libgallium|_dri\.so|mesa' "/proc/$1/maps"
}

# FreeDisplay: prints a display number with no X server behind it, neither its socket nor, as X
# falls back to TCP, its port. It looks from 900 up, above the test proxies' ports (display 100 to
# 899): its probe of a port is a connection, and a proxy that stalls its first connection would
# take the probe for the game's.
FreeDisplay() {
  local free=900
  while [ -e "/tmp/.X11-unix/X$free" ] || (: <"/dev/tcp/127.0.0.1/$((6000 + free))") 2>/dev/null; do
    free=$((free + 1))
  done
  echo "$free"
}
