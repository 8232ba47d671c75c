#!/usr/bin/env bash
# Prints, separated by commas for lintian's --suppress-tags, the tags that the lintian installed
# here raises against debian/ only because that lintian and the packaging belong to different
# Debian releases; prints nothing when there are none. The packaging follows unstable's Policy
# and still builds on Debian 12 and 13, so lintian from either side finds something:
#   newer-standards-version    a lintian older than the Policy release in Standards-Version
#                              (Debian 12's lintian knows Policy up to 4.6.2, Debian 13's 4.7.2)
#   package-uses-old-debhelper-compat-version
#                              a lintian that recommends a debhelper level above the package's:
#                              Debian 12's and 13's debhelper offer debhelper-compat up to 13
#   older-debian-watch-file-standard
#                              a lintian that knows the watch file's format 5, which Debian 12's
#                              uscan does not read
#   redundant-priority-optional-field, redundant-rules-requires-root-no-field
#                              a lintian that knows dpkg 1.22.13's defaults; Debian 12's dpkg has
#                              neither, and without the fields its builds would need root and its
#                              packages would carry no priority
# Every other tag is for debian/ to fix, or for an override with its reason.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
data=${LINTIAN_DATA:-/usr/share/lintian}

# known <tag>: this lintian has the tag.
known() {
  compgen -G "$data/tags/?/$1.tag" >/dev/null
}
field() {
  sed -n "s/^$1:[[:space:]]*//p" "$root/debian/control" | head -n 1
}

tags=()
standards=$(field Standards-Version)
if known newer-standards-version &&
  ! grep -Eq "\"version\" *: *\"${standards//./\\.}(\\.0)?\"" "$data/data/debian-policy/releases.json"; then
  tags+=(newer-standards-version)
fi
compat=$(grep -o 'debhelper-compat (= [0-9]*)' "$root/debian/control" | grep -o '[0-9]*')
recommended=$(sed -n 's/^recommended=//p' "$data/data/debhelper/compat-level" 2>/dev/null || true)
if known package-uses-old-debhelper-compat-version && [ -n "$recommended" ] && [ "$recommended" -gt "$compat" ]; then
  tags+=(package-uses-old-debhelper-compat-version)
fi
if grep -qx 'version=4' "$root/debian/watch" &&
  grep -Eq 'STANDARDS => \([0-9, ]*5' "$data/lib/Lintian/Check/Debian/Watch/Standard.pm" 2>/dev/null; then
  tags+=(older-debian-watch-file-standard)
fi
if [ "$(field Priority)" = optional ] && known redundant-priority-optional-field; then
  tags+=(redundant-priority-optional-field)
fi
if [ "$(field Rules-Requires-Root)" = no ] && known redundant-rules-requires-root-no-field; then
  tags+=(redundant-rules-requires-root-no-field)
fi
(IFS=,; echo "${tags[*]}")
