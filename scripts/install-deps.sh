#!/usr/bin/env bash
# Installs from Debian's archive what a task needs: "play" (build and run the game), "package"
# (also make its Debian packages, whose build runs the tests), "test" (also the developer
# programs, the style checks and the package checks; the default), "web" (build the game for a
# browser) or "web-test" (also play it in a headless browser). Safe to run again: when every
# package is present it does nothing.
set -euo pipefail
task=${1:-test}

# Building and running the game.
packages=(
  g++
  make
  cmake
  pkg-config
  libsdl1.2-compat-dev
  libbox2d-dev
)
if [ "$task" = package ] || [ "$task" = test ]; then
  packages+=(
    # the Debian packages' build, as debian/control lists it; the tests run during it
    dpkg-dev
    debhelper
    build-essential
    pkgconf
    libgtest-dev
    # the window tests' virtual display and their look at its windows
    xvfb
    xauth
    xdotool
    x11-utils
    x11-apps
    desktop-file-utils
    appstream
    # the artwork tool, which draws the packages' pictures during their build
    zlib1g-dev
  )
fi
if [ "$task" = test ]; then
  packages+=(
    # the style checks: formatting and static analysis
    clang-format
    clang-tidy
    # the packages' checks: lintian, the manual page's, two builds at different times compared
    lintian
    faketime
    mandoc
    # the installed packages' own tests (debian/tests), run with autopkgtest
    autopkgtest
  )
elif [ "$task" = web ] || [ "$task" = web-test ]; then
  # the compiler for the browser; Box2D's Debian source package is unpacked with dpkg-source
  packages+=(emscripten python3 dpkg-dev xz-utils)
  if [ "$task" = web-test ]; then
    packages+=(chromium nodejs)
    # npm comes with some builds of node; Debian packages it on its own
    if ! command -v npm >/dev/null 2>&1; then
      packages+=(npm)
    fi
  fi
elif [ "$task" != play ] && [ "$task" != package ]; then
  echo "install-deps.sh: unknown task '$task'; choose play, package, test, web or web-test" >&2
  exit 2
fi

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
# This script's folder, for the command to run as root; found with the shell's own means only.
here=$PWD
case $0 in */*) here=$(cd "${0%/*}" && pwd) ;; esac
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps.sh: cannot install ${missing[*]}: you are not root and sudo is not installed; install them as root with: su -c 'bash $here/install-deps.sh $task', then run your command again" >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
