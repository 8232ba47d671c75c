#!/usr/bin/env bash
# The launcher and its game, quickly, each case failing on a fault once shipped:
# - a game that lets the first quit pass (it has not become the game yet) ends on the next one;
# - 50 lines of 4 KiB from the game, more than a pipe holds, all reach stderr, one per line,
#   and the launcher ends with the game's status;
# - stderr closed or full changes no status;
# - the real game started under nohup, as a script's background job, keeps SIGHUP and SIGINT
#   ignored (both the launcher and the game), and still ends on SIGTERM with status 0;
# - the launcher killed with SIGKILL takes the real game with it, also when the game was started
#   with every quit signal ignored.
# No display is needed. Every process the test starts dies with it.
# Usage: launcher_link_test.sh <build directory>; SHOOTER_LAUNCHER_DIR and SHOOTER_BINARY_DIR
# name the build's layout (the folder layout when unset).
set -euo pipefail
build=$1
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
unset SDL_VIDEODRIVER WAYLAND_DISPLAY

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "$*"
  failures=$((failures + 1))
}
cmake --install "$build" --prefix "$work/prefix" >/dev/null
launcher="$work/prefix/${SHOOTER_LAUNCHER_DIR:-bin}/farmyard-cannon"
shooter="$work/prefix/${SHOOTER_BINARY_DIR:-libexec/farmyard-cannon}/shooter"
mv "$shooter" "$work/real-shooter"

# start <command...>: starts it as this script's background job (SIGINT and SIGQUIT ignored, as
# a shell's & leaves them), killed should this script die; sets started.
start() {
  setpriv --pdeathsig KILL "$@" </dev/null >"$work/out" 2>"$work/err" &
  started=$!
}
# alive <pid>: the process runs (a zombie waiting for its new parent does not).
alive() {
  local state
  state=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) && [ -n "$state" ] && [ "$state" != Z ]
}
# ends_within <tenths> <pid>: waits for this script's child to end; sets ended_status. Kills it
# and its children when it does not.
ends_within() {
  local _
  for _ in $(seq 1 "$1"); do
    kill -0 "$2" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$2" 2>/dev/null; then
    pkill -KILL -P "$2" || true
    kill -KILL "$2"
    ended_status=timeout
    wait "$2" 2>/dev/null || true
    return 1
  fi
  ended_status=0
  wait "$2" || ended_status=$?
}
# game_of <launcher pid>: prints the pid of the launcher's game once the game's own signal
# handlers are in place (its SIGALRM handler: the quit signals may all be ignored).
game_of() {
  local child mask _
  for _ in $(seq 1 100); do
    for child in $(pgrep -P "$1"); do
      mask=$(awk '/^SigCgt:/ { print $2 }' "/proc/$child/status" 2>/dev/null)
      if [ "$(readlink "/proc/$child/exe")" = "$shooter" ] && [ -n "$mask" ] &&
        (((0x$mask >> 13) & 1)); then
        echo "$child"
        return 0
      fi
    done
    sleep 0.05
  done
}

# --- Stand-in games ---
# A game that lets the first SIGTERM pass and quits on the second.
cat >"$shooter" <<'EOF'
#!/bin/bash
terms=0
trap 'terms=$((terms + 1)); [ "$terms" -lt 2 ] || exit 0' TERM
echo ready
for _ in $(seq 1 200); do sleep 0.05; done
exit 1
EOF
chmod +x "$shooter"
start env --default-signal DISPLAY=:0 "$launcher"
for _ in $(seq 1 100); do
  [ -s "$work/out" ] && break
  sleep 0.05
done
kill -TERM "$started"
if ! ends_within 50 "$started" || [ "$ended_status" -ne 0 ]; then
  fail "a game that lets the first quit pass: status $ended_status 5 s after SIGTERM"
else
  echo "a game that lets the first quit pass: ended on the quit said again"
fi

# A game that writes 50 lines of 4 KiB, more than a pipe holds, and gives up.
cat >"$shooter" <<'EOF'
#!/bin/bash
printf -v line '%4096s' ''
line=${line// /x}
for _ in $(seq 1 50); do echo "$line" >&"$FARMYARD_CANNON_REPORT"; done
exit 255
EOF
start env DISPLAY=:0 "$launcher"
if ! ends_within 100 "$started"; then
  fail "50 lines of 4 KiB: the launcher still runs after 10 s"
elif [ "$ended_status" -ne 255 ] || [ "$(grep -c '^farmyard-cannon: x\{4096\}$' "$work/err")" -ne 50 ] ||
  [ "$(wc -l <"$work/err")" -ne 50 ]; then
  fail "50 lines of 4 KiB: status $ended_status, $(wc -l <"$work/err") lines"
else
  echo "50 lines of 4 KiB: all passed on, status 255"
fi

# With nothing to say it with, every status stays: a failed start, an unknown option.
printf '#!/bin/sh\necho "no display" >&"$FARMYARD_CANNON_REPORT"\nexit 255\n' >"$shooter"
before=$failures
for case in "255 DISPLAY=:0" "2 DISPLAY=:0 --bogus" "1 --unset=DISPLAY"; do
  read -r expected variable option <<<"$case"
  for stderr in closed full; do
    status=0
    if [ "$stderr" = closed ]; then
      env "$variable" "$launcher" ${option:+"$option"} 2>&- || status=$?
    else
      env "$variable" "$launcher" ${option:+"$option"} 2>/dev/full || status=$?
    fi
    if [ "$status" -ne "$expected" ]; then
      fail "launcher ${option:-started} with $variable, stderr $stderr: status $status, expected $expected"
    fi
  done
done
[ "$failures" -ne "$before" ] || echo "stderr closed or full: the statuses stay"

# --- The real game ---
mv "$work/real-shooter" "$shooter"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy DISPLAY=:0

# Under nohup, as a background job: the hang-up and an interrupt end neither; SIGTERM ends both.
start nohup "$launcher"
game=$(game_of "$started")
if [ -z "$game" ]; then
  fail "nohup: the game did not start: $(cat "$work/err")"
else
  kill -HUP "$started" "$game" || true
  kill -INT "$started" "$game" || true
  sleep 1
  alive "$started" && alive "$game" && survived=yes || survived=""
  kill -TERM "$started" 2>/dev/null || true
  if [ -z "$survived" ]; then
    fail "nohup, in the background: SIGHUP and SIGINT ended the game or the launcher"
    ends_within 50 "$started" || true
  elif ! ends_within 50 "$started" || [ "$ended_status" -ne 0 ] || alive "$game"; then
    fail "nohup: after SIGTERM the launcher's status is $ended_status, the game $(alive "$game" && echo runs || echo ended)"
  else
    echo "nohup, in the background: SIGHUP and SIGINT ignored, SIGTERM ended the game with status 0"
  fi
fi
kill -KILL "$game" 2>/dev/null || true

# The launcher killed outright, also with every quit signal ignored: the game ends with it.
for ignored in "" TERM,HUP,INT,QUIT; do
  start env ${ignored:+--ignore-signal=$ignored} "$launcher"
  game=$(game_of "$started")
  if [ -z "$game" ]; then
    fail "SIGKILL${ignored:+ with $ignored ignored}: the game did not start: $(cat "$work/err")"
    continue
  fi
  kill -KILL "$started"
  wait "$started" 2>/dev/null || true
  for _ in $(seq 1 50); do
    alive "$game" || break
    sleep 0.1
  done
  if alive "$game"; then
    fail "SIGKILL to the launcher${ignored:+ with $ignored ignored}: the game still runs 5 s later"
    kill -KILL "$game"
  else
    echo "SIGKILL to the launcher${ignored:+ with $ignored ignored}: the game ended with it"
  fi
done

[ "$failures" -eq 0 ]
