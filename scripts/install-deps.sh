#!/usr/bin/env bash
# Installs whatever the game, its tools and its tests need from Debian's archive.
# Safe to run again: when every package is present it does nothing.
set -euo pipefail

packages=(
  build-essential
  cmake
  pkg-config
  zlib1g-dev
  libsdl1.2-compat-dev
  libbox2d-dev
  libgtest-dev
  xvfb
  xauth
  xdotool
  x11-apps
)

missing=()
for pkg in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
