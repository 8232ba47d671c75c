#!/usr/bin/env bash
# The playtest tool prints the same bytes for the same arguments: a short run, twice.
set -euo pipefail
playtest=$1
# Side by side: two runs that share the machine must still agree.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$playtest" 1 3 7 >"$work/first" &
"$playtest" 1 3 7 >"$work/second"
wait $!
first=$(cat "$work/first")
second=$(cat "$work/second")
if [ "$first" != "$second" ]; then
  echo "two runs of 'playtest 1 3 7' differ:"
  diff <(echo "$first") <(echo "$second") || true
  exit 1
fi
case "$first" in
  *"levels cleared"*) ;;
  *) echo "the run printed no figures:"; echo "$first"; exit 1 ;;
esac
