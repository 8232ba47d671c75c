#!/usr/bin/env bash
# check-appstream.sh <metainfo.xml>: validates the game's AppStream metadata with the installed
# appstreamcli, pedantically and without network, and passes only metadata with no note at all.
# AppStream before 1.0 (Debian 12's 0.16) does not know the <developer> element, which 1.0 asks
# for, and notes it as unknown: that note, and no other, is let through there. Prints the
# appstreamcli version and its verdict.
set -euo pipefail
version=$(appstreamcli --version | grep -o '[0-9][0-9.]*' | head -n 1)
verdict=$(appstreamcli validate --pedantic --no-net "$1" 2>&1) || {
  echo "appstreamcli $version: $verdict"
  exit 1
}
if dpkg --compare-versions "$version" lt 1.0; then
  verdict=$(grep -v '^I: [a-z_.]*:[0-9]*: unknown-tag developer$' <<<"$verdict" | grep -v '^$' |
    sed 's/^✔ Validation was successful: infos: 1$/✔ Validation was successful./')
fi
echo "appstreamcli $version: $verdict"
[ "$(wc -l <<<"$verdict")" -eq 1 ] && [[ "$verdict" == *"Validation was successful." ]]
