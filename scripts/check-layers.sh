#!/usr/bin/env bash
# Checks that the game's folders under src/ form layers: a file includes headers from its own
# folder or from the folders below it, never from one above. Lists every include that points
# up and fails if there is any.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root/src"

# Bottom to top: each folder may use those before it.
layers=(assets field gameplay render app drive web)

rank() {
  local i
  for i in "${!layers[@]}"; do
    if [ "${layers[$i]}" = "$1" ]; then
      echo "$i"
      return
    fi
  done
  echo -1
}

problems=0
for dir in *; do
  [ -d "$dir" ] || continue
  own=$(rank "$dir")
  if [ "$own" -lt 0 ]; then
    echo "check-layers.sh: src/$dir/ is in no layer; add it to the list in this script"
    problems=$((problems + 1))
    continue
  fi
  while IFS=: read -r file line included; do
    [ -n "$file" ] || continue
    target=${included%%/*}
    other=$(rank "$target")
    if [ "$other" -gt "$own" ]; then
      echo "src/$file:$line includes \"$included\": $dir/ may not use $target/, which lies above it"
      problems=$((problems + 1))
    fi
  done < <(grep -n -o '^#include "[a-z_]*/[^"]*"' "$dir"/* | sed 's/#include "\(.*\)"$/\1/')
done

if [ "$problems" -ne 0 ]; then
  echo "check-layers.sh: $problems include(s) point up the layers ${layers[*]}"
  exit 1
fi
echo "check-layers.sh: every include points down the layers ${layers[*]}"
