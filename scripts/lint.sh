#!/usr/bin/env bash
# Checks the C++ sources against .clang-format and .clang-tidy; prints each finding, then one line
# per kind of problem, and fails when there is any.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${LINT_BUILD_DIR:-"$root/build-lint"}
jobs=${LINT_JOBS:-2}
cd "$root"

bash scripts/install-deps.sh

problems=()

# Formatting: every tracked C++ file exactly as clang-format would write it.
mapfile -t sources < <(git ls-files -- '*.cpp' '*.h')
unformatted=()
for file in "${sources[@]}"; do
  if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
    lines=$(clang-format "$file" | diff "$file" - | grep -c '^<' || true)
    echo "$file: $lines lines differ from .clang-format"
    unformatted+=("$file")
  fi
done
if [ ${#unformatted[@]} -gt 0 ]; then
  problems+=("formatting: ${#unformatted[@]} files differ from .clang-format; clang-format -i rewrites them")
fi

# clang-tidy reads the compiler's flags from the compilation database; configuring is enough, as
# no source includes a generated header.
cmake -S "$root" -B "$build_dir" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
mapfile -t units < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$build_dir/compile_commands.json" | sort -u)
log="$build_dir/clang-tidy.log"
tidy_status=0
printf '%s\0' "${units[@]}" |
  xargs -0 -n1 -P"$jobs" clang-tidy -p "$build_dir" --quiet --use-color=false >"$log" 2>&1 ||
  tidy_status=$?

# A header's finding is reported once per source that includes it: keep one of each.
findings=$(sed -n -E 's#^(/[^:]+):([0-9]+):[0-9]+: (fatal error|warning|error): (.*) \[([a-z0-9.-]+)(,-warnings-as-errors)?\]$#\1:\2: \5: \4#p' "$log" |
  sed "s#^$root/##" | sort -u -t: -k1,1 -k2,2n -k3)
if [ -n "$findings" ]; then
  echo "$findings"
  while read -r count check; do
    noun=findings
    [ "$count" -eq 1 ] && noun=finding
    problems+=("clang-tidy $check: $count $noun")
  done < <(echo "$findings" | cut -d: -f3 | sed 's/^ //' | sort | uniq -c)
elif [ "$tidy_status" -ne 0 ]; then
  problems+=("clang-tidy failed without a finding it could name; its output is in $log")
fi

if [ ${#problems[@]} -gt 0 ]; then
  for problem in "${problems[@]}"; do
    echo "lint.sh: $problem" >&2
  done
  exit 1
fi
echo "lint.sh: ${#sources[@]} files formatted, ${#units[@]} sources clean under clang-tidy"
