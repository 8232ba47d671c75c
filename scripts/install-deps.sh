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
  x11-utils
  x11-apps
  # the style checks: formatting and static analysis
  clang-format
  clang-tidy
  # installing and packaging: the package's dependencies, its checks, the desktop files' checks
  dpkg-dev
  file
  lintian
  desktop-file-utils
  appstream
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

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps.sh: cannot install ${missing[*]}: you are not root and sudo is not installed; run this script as root, e.g. su -c 'bash scripts/install-deps.sh'" >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
