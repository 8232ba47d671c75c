#!/usr/bin/env bash
# Fetches the classic SDL 1.2 library (Debian's libsdl1.2debian, the one a machine may have
# instead of sdl12-compat) with whatever libraries it needs that this machine lacks, unpacks them
# into a folder without installing anything, and prints the folder to put on LD_LIBRARY_PATH.
# Needs no root. Safe to run again: a folder already filled is used as it is.
# Usage: classic-sdl.sh [folder]   (default: build/classic-sdl)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
folder=$(realpath -m "${1:-$root/build/classic-sdl}")
arch=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -dumpmachine)
libs="$folder/root/usr/lib/$multiarch"

if [ ! -e "$libs/libSDL-1.2.so.0" ]; then
  rm -rf "$folder"
  mkdir -p "$folder/debs"
  # The library and, one by one, each library it needs that is not installed here.
  wanted=(libsdl1.2debian)
  fetched=" "
  while [ ${#wanted[@]} -gt 0 ]; do
    package=${wanted[0]}
    wanted=("${wanted[@]:1}")
    case $fetched in *" $package "*) continue ;; esac
    fetched="$fetched$package "
    # A fresh machine may have no package lists yet: as root they are fetched once.
    if ! (cd "$folder/debs" && apt-get download -q "$package:$arch" >/dev/null 2>&1); then
      if [ "$(id -u)" -eq 0 ]; then
        apt-get update -q >/dev/null
      fi
      (cd "$folder/debs" && apt-get download -q "$package:$arch" >/dev/null) || {
        echo "classic-sdl.sh: apt-get download $package failed; run apt-get update as root first" >&2
        exit 1
      }
    fi
    deb=$(ls "$folder/debs/${package}_"*.deb)
    dpkg -x "$deb" "$folder/root"
    # Depends: a, b (>= 1), c | d  ->  one name per line, the first of each choice
    for need in $(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/|.*//; s/(.*)//; s/:any//; s/ //g'); do
      if ! dpkg-query -W -f='${Status}' "$need" 2>/dev/null | grep -q 'install ok installed' &&
        ! dpkg-query -W -f='${Status}' "$need:$arch" 2>/dev/null | grep -q 'install ok installed'; then
        wanted+=("$need")
      fi
    done
  done
fi
[ -e "$libs/libSDL-1.2.so.0" ] || { echo "classic-sdl.sh: no libSDL-1.2.so.0 in $libs" >&2; exit 1; }
echo "$libs"
