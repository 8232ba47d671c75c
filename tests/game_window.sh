# Shared by the window tests: finds the game's window on the virtual display.
# GameWindow <tries>: prints the id of the visible 1000x650 window, waiting up to <tries>
# tenths of a second for it; prints nothing when none appears.
GameWindow() {
  local window=""
  for _ in $(seq 1 "$1"); do
    for w in $(xdotool search --onlyvisible --name '.*' 2>/dev/null || true); do
      if xdotool getwindowgeometry "$w" | grep -q 'Geometry: 1000x650'; then
        window=$w
      fi
    done
    [ -n "$window" ] && break
    sleep 0.1
  done
  echo "$window"
}
