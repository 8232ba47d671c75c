#!/usr/bin/env bash
# Installs from Debian's archive what a task needs: "play" (build and run the game), "package"
# (also make its Debian packages, whose build runs the tests), "test" (also the developer
# programs, the style checks and the package checks; the default), "suites" (also build and
# check the packages in chroots of other Debian releases), "web" (build the game for a browser)
# or "web-test" (also play it in a headless browser). Safe to run again: when every
# package is present it does nothing.
set -euo pipefail
task=${1:-test}

# Building and running the game.
packages=(
  g++
  make
  cmake
  pkg-config
  libbox2d-dev
)
if [ "$task" = package ] || [ "$task" = test ] || [ "$task" = suites ]; then
  packages+=(
    # the Debian packages' build, as debian/control lists it; the tests run during it
    dpkg-dev
    debhelper
    build-essential
    pkgconf
    libgtest-dev
    # the window tests look at the game's X window through SDL's window-manager information
    libx11-dev
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
elif [ "$task" = suites ]; then
  # chroots of each Debian release from its archive, entered in namespaces of their own
  packages+=(mmdebstrap iproute2)
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
  echo "install-deps.sh: unknown task '$task'; choose play, package, test, suites, web or web-test" >&2
  exit 2
fi

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}
missing=()
for pkg in "${packages[@]}"; do
  installed "$pkg" || missing+=("$pkg")
done
# SDL 1.2's headers: either library's will do, and a machine that has one keeps it.
sdl_missing=1
if installed libsdl1.2-dev || installed libsdl1.2-compat-dev; then
  sdl_missing=0
fi

if [ ${#missing[@]} -eq 0 ] && [ "$sdl_missing" -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
# This script's folder, for the command to run as root; found with the shell's own means only.
here=$PWD
case $0 in */*) here=$(cd "${0%/*}" && pwd) ;; esac
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    wanted=("${missing[@]}")
    [ "$sdl_missing" -eq 0 ] || wanted+=("SDL 1.2's headers")
    echo "install-deps.sh: cannot install ${wanted[*]}: you are not root and sudo is not installed; install them as root with: su -c 'bash $here/install-deps.sh $task', then run your command again" >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
if [ "$sdl_missing" -eq 1 ]; then
  # sdl12-compat (SDL 1.2 over SDL 2 or 3) under the name each release gives it: from Debian 13
  # on it is libsdl1.2-dev itself; Debian 12 calls it libsdl1.2-compat-dev and keeps
  # libsdl1.2-dev for the classic library.
  if apt-cache show --no-all-versions libsdl1.2-dev 2>/dev/null | grep -q '^Source: sdl12-compat'; then
    missing+=(libsdl1.2-dev)
  else
    missing+=(libsdl1.2-compat-dev)
  fi
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
