#!/usr/bin/env bash
# Every refusal of the display names its reason, and nothing the game tells its launcher holds it
# up. Usage: refusal_test.sh <path to shooter>   (from the repository root)
# On an X server of the test's own that wants a cookie (Xvfb -auth), the game ends with status 255
# and one short line naming the reason for a wrong cookie, no cookie, a cookie file that cannot be
# read and XAUTHORITY=/dev/zero; so it does for a TCP display where nothing listens and for a
# DISPLAY of 100,000 characters, and it ends also when its report goes to a full pipe nobody
# reads. On a server that takes anybody, a missing cookie file keeps no window from opening; and
# when that server goes away in play, the game ends with status 1 and says so.
set -euo pipefail
game=$1

export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
unset SDL_VIDEODRIVER WAYLAND_DISPLAY

work=$(mktemp -d)
game_pid=""
source "$(dirname "$0")/game_window.sh"
cleanup() {
  [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
  StopDisplay
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
  echo "$*"
  failures=$((failures + 1))
}

# told <case> <status> <extended regular expression>: the game (game_pid) ends within 10 s with
# that status and leaves one line for the launcher, under 1,000 bytes, that matches.
told() {
  if ! GameEnds 100; then
    fail "$1: the game still runs after 10 s"
    kill -9 "$game_pid"
    game_pid=""
    return
  fi
  if [ "$game_status" -ne "$2" ] || [ "$(wc -l <"$work/report")" -ne 1 ] ||
    [ "$(wc -c <"$work/report")" -ge 1000 ] || ! grep -qE -- "$3" "$work/report"; then
    fail "$1: status $game_status, the launcher was told: $(head -c 1000 "$work/report")"
  else
    echo "$1: status $game_status: $(cat "$work/report")"
  fi
}

# refused <case> <expected> [VARIABLE=value...]: the game started with those ends with 255 and
# the line <expected>.
refused() {
  local case=$1 expected=$2
  shift 2
  env "$@" FARMYARD_CANNON_REPORT=3 "$game" 3>"$work/report" >/dev/null 2>&1 &
  game_pid=$!
  told "$case" 255 "$expected"
}

# An X server that takes only its cookie; the server's file holds it for any display number.
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
xauth -q -f "$work/server" add :0 . "$cookie" 2>/dev/null
mkfifo "$work/ready"
Xvfb -displayfd 3 -auth "$work/server" -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/ready" \
  >/dev/null 2>&1 &
display_pid=$!
number=""
read -r -t 30 number <"$work/ready" || true
[ -n "$number" ] || { echo "the X server did not start"; exit 1; }
export DISPLAY=":$number" XAUTHORITY="$work/right"
xauth -q add "$DISPLAY" . "$cookie" 2>/dev/null
xauth -q -f "$work/wrong" add "$DISPLAY" . "$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')" 2>/dev/null
: >"$work/empty"
for _ in $(seq 1 50); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done

opened="^display DISPLAY=$DISPLAY could not be opened: "
refused "wrong cookie" "${opened}the X server refused the game: Invalid MIT-MAGIC-COOKIE-1 key \(the cookie for it in XAUTHORITY=$work/wrong is not the server's\)$" \
  XAUTHORITY="$work/wrong"
refused "no cookie" "${opened}the X server refused the game: .*\(XAUTHORITY=$work/empty holds no cookie for it\)$" \
  XAUTHORITY="$work/empty"
refused "unreadable cookie file" "${opened}the X server refused the game: .*\(XAUTHORITY=$work/missing cannot be read: No such file or directory\)$" \
  XAUTHORITY="$work/missing"
refused "endless cookie file" "${opened}XAUTHORITY=/dev/zero is a device that may never end, not a file of cookies$" \
  XAUTHORITY=/dev/zero
free=$(FreeDisplay)
refused "nothing on the TCP port" "^display DISPLAY=127.0.0.1:$free could not be opened: no X server listens there \(127.0.0.1 port $((6000 + free)): Connection refused\)$" \
  DISPLAY="127.0.0.1:$free"
refused "100,000 characters of DISPLAY" "^display DISPLAY=:1{199}… \(100000 characters\) could not be opened: no X server listens there .* does not exist\)$" \
  DISPLAY=":$(printf '1%.0s' $(seq 1 99999))"

# A report pipe that is full and never read: whatever the pipe holds, the writer stops when full.
exec {full}<> <(:)
timeout 1 cat /dev/zero >&"$full" || true
start=$(date +%s%N)
DISPLAY=":$free" FARMYARD_CANNON_REPORT=$full "$game" >/dev/null 2>&1 &
game_pid=$!
if ! GameEnds 100; then
  fail "a full report pipe: the game still runs after 10 s"
elif [ "$game_status" -ne 255 ]; then
  fail "a full report pipe: status $game_status, not 255"
else
  echo "a full report pipe: status 255 after $((($(date +%s%N) - start) / 1000000)) ms"
fi
exec {full}>&-

# A server that takes anybody: a cookie file that does not exist is no reason to refuse.
StopDisplay
StartDisplay
XAUTHORITY="$work/missing" FARMYARD_CANNON_REPORT=3 "$game" 3>"$work/report" >/dev/null 2>&1 &
game_pid=$!
if [ -z "$(GameWindow 100)" ]; then
  fail "no cookie file on a server without access control: no window within 10 s; told: $(cat "$work/report")"
  exit 1
fi
StopDisplay
told "the X server gone in play" 1 "^display DISPLAY=$DISPLAY was lost: its X server went away or closed the game's connection$"

[ "$failures" -eq 0 ]
