#!/usr/bin/env bash
# The same seed and the same clicks play the same game: the determinism tool's hashes of every
# body, every 100 frames of a 30 s scripted game, must be the committed ones, whatever the heap
# does (malloc's tunables that move every allocation, address randomisation off) and whichever
# build (Release, Debug, sanitizers) or SDL 1.2 library runs it.
# Usage: determinism_test.sh <determinism binary> <expected hashes>
set -euo pipefail
tool=$1
expected=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# name, then the command prefix that runs the tool so.
runs=(
  "plain:"
  "malloc-tunables:env GLIBC_TUNABLES=glibc.malloc.mmap_threshold=4096:glibc.malloc.top_pad=0"
)
if setarch -R true 2>/dev/null; then
  runs+=("no-aslr:setarch -R")
else
  echo "determinism_test: setarch -R is not allowed here; that run is left out"
fi

status=0
for run in "${runs[@]}"; do
  name=${run%%:*}
  prefix=${run#*:}
  # shellcheck disable=SC2086 # the prefix is words
  if ! $prefix "$tool" >"$work/$name" 2>"$work/$name.err"; then
    echo "determinism_test: the $name run failed:"
    cat "$work/$name.err"
    status=1
    continue
  fi
  if ! cmp -s "$expected" "$work/$name"; then
    first=$(diff <(cat "$expected") "$work/$name" | awk '/^>/ { print $2; exit }')
    echo "determinism_test: the $name run differs from $expected, first at frame ${first:-?}:"
    diff "$expected" "$work/$name" | head -6
    status=1
  fi
done
if [ "$status" -eq 0 ]; then
  echo "determinism_test: ${#runs[@]} runs, every hash as committed ($(wc -l <"$expected") frames checked)"
fi
exit "$status"
