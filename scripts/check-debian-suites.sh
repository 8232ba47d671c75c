#!/usr/bin/env bash
# Builds and checks the Debian packages on every Debian a player may have: bookworm (12), trixie
# (13) and unstable, each in fresh chroots made with mmdebstrap from Debian's archive.
#
# For each suite:
#  1. build: a chroot with build-essential and only the Build-Depends (apt-get build-dep on the
#     source package), the binary packages built by a normal user with no network; unstable's
#     build runs the tests (SUITES_WITH_TESTS), the others' leave them out (nocheck) and
#     rely on the autopkgtest below;
#  2. lintian: that suite's own lintian, pedantic, informational and experimental, on the source
#     and binary packages: no tag but the overridden ones and those that only tell that lintian's
#     release from the packaging's (scripts/lintian-release-tags.sh); that suite's appstreamcli
#     finds nothing in the metadata;
#  3. install: a fresh minimal chroot, where `apt install ./*.deb` must bring an SDL 1.2 that is
#     no transitional package; a normal user starts the game under Xvfb, it stays up 3 s with
#     no OpenGL library loaded and nothing written in the player's home, its start screen's
#     pixels are kept, and it ends on SIGTERM with status 0; purging leaves no file of the game;
#  4. autopkgtest: the package's own tests, against the built packages, with the null runner in
#     that chroot;
#  5. reprotest (SUITES_WITH_REPROTEST, unstable by default): the source package built twice in
#     that suite's build chroot, the second time with everything reprotest varies but the file
#     order (which needs FUSE) and the host name (which needs a user namespace, and a chroot
#     may not make one), and the packages compared bit for bit;
#  6. set-up (SUITES_WITH_SETUP, unstable by default): in a fresh chroot of a bare system, the
#     README's `bash scripts/play.sh` installs what it needs, builds and opens the window, and
#     `scripts/install-deps.sh test` finds every developer tool by the names that suite has.
# Then the start screen must be the same, pixel for pixel, on every suite.
#
# Each suite's base system is made once per run and unpacked afresh for every step; nothing is
# kept between runs. Needs root (mmdebstrap, chroot, namespaces). Usage:
#   bash scripts/check-debian-suites.sh [suite...]        (default: bookworm trixie unstable)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-"$root/build"}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
suites=("$@")
[ ${#suites[@]} -gt 0 ] || suites=(bookworm trixie unstable)
with_tests=" ${SUITES_WITH_TESTS-unstable} "
with_setup=" ${SUITES_WITH_SETUP-unstable} "
with_reprotest=" ${SUITES_WITH_REPROTEST-unstable} "

say() {
  echo "check-debian-suites: $*" >&2
}
fail() {
  say "$*"
  exit 1
}
[ "$(id -u)" -eq 0 ] || fail "needs root, for mmdebstrap, chroot and namespaces; run it as root"
bash "$root/scripts/install-deps.sh" suites

work="$build_dir/suites"
rm -rf "$work"
mkdir -p "$work"
cleanup() {
  # Every mount was made in a namespace of its own and went with it; only files are left.
  rm -rf "$work"/*/ "$work"/*.tar 2>/dev/null || true
}
trap cleanup EXIT

# The source package, made from the tracked files as scripts/package.sh makes it.
BUILD_DIR="$work/source" bash "$root/scripts/package.sh" -S >"$work/source.log" 2>&1 || {
  tail -n 30 "$work/source.log"
  fail "could not make the source package"
}
dsc=$(find "$work/source/package" -maxdepth 1 -name '*.dsc')
[ -n "$dsc" ] || fail "package.sh made no .dsc"
source_files=("$dsc" "$work"/source/package/*.tar.*)

# in_chroot <folder> <net|nonet> <user> <command...>: runs the command in the chroot, in mount
# and process namespaces of its own (its mounts and every process it started end with it);
# nonet also gives it a network of its own that holds only the loopback device.
in_chroot() {
  local dir=$1 net=$2 user=$3
  shift 3
  local flags=(--mount --pid --fork --kill-child --mount-proc="$dir/proc")
  [ "$net" = net ] || flags+=(--net)
  local home=/root
  [ "$user" = root ] || home=/home/$user
  unshare "${flags[@]}" /bin/bash -c '
    set -e
    dir=$1 net=$2 user=$3 home=$4
    shift 4
    mount --rbind /dev "$dir/dev"
    mount --rbind /sys "$dir/sys"
    mount -t tmpfs -o mode=1777 tmpfs "$dir/tmp"
    mount -t tmpfs -o mode=1777 tmpfs "$dir/dev/shm"
    [ "$net" = net ] || ip link set lo up
    exec chroot --userspec="$user:$user" "$dir" /usr/bin/env -i HOME="$home" USER="$user" \
      LOGNAME="$user" PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin:/usr/games \
      LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
  ' _ "$dir" "$net" "$user" "$home" "$@"
}

# fresh <suite> <name>: a new chroot of the suite's base system; prints its folder.
fresh() {
  local dir="$work/$1-$2"
  rm -rf "$dir"
  mkdir -p "$dir"
  tar -C "$dir" -xf "$work/$1.tar"
  cp /etc/resolv.conf "$dir/etc/resolv.conf"
  in_chroot "$dir" net root apt-get -qq update >/dev/null
  echo "$dir"
}

apt_install() {
  local dir=$1
  shift
  in_chroot "$dir" net root apt-get install -y -qq --no-install-recommends "$@" >>"$dir.log" 2>&1 || {
    tail -n 30 "$dir.log"
    say "could not install $* in $(basename "$dir")"
    return 1
  }
}

add_user() {
  in_chroot "$1" net root useradd --create-home --shell /bin/bash "$2"
}

# step <suite> <name> <function>: runs one step, timed; its output goes to logs, the end of which
# is shown if it fails. A failed step is counted and the suite's other steps still run, but for
# those that need the packages it failed to build.
declare -A times
failed=()
step() {
  local suite=$1 name=$2 start=$SECONDS
  shift 2
  say "$suite: $name"
  if "$@" "$suite"; then
    times["$suite $name"]=$((SECONDS - start))
    return 0
  fi
  say "$suite: $name failed"
  failed+=("$suite $name")
  return 1
}

base() {
  local suite=$1
  # The frozen archive this machine reaches may hold Release files past their date.
  mmdebstrap --quiet --variant=minbase --aptopt='Acquire::Check-Valid-Until "false"' \
    --format=tar "$suite" "$work/$suite.tar" "$mirror" >"$work/$suite-base.log" 2>&1 || {
    tail -n 20 "$work/$suite-base.log"
    return 1
  }
}

# failed_tests_output <log>: what each failed test printed (ctest's --verbose lines "N: ..."), the
# last 40 lines of each: the summary at the log's end names the tests but not why they failed.
failed_tests_output() {
  local number
  for number in $(sed -nE 's/^[[:space:]]+([0-9]+) - .* \((Failed|Timeout|SEGFAULT|Subprocess aborted|Exception)\)$/\1/p' "$1"); do
    echo "--- test $number printed:"
    grep -E "^$number: " "$1" | tail -n 40
  done
}

build() {
  local suite=$1 dir profile=() options=nocheck
  dir=$(fresh "$suite" build) || return 1
  if [[ "$with_tests" == *" $suite "* ]]; then
    options=""
  else
    profile=(-P nocheck)
  fi
  mkdir -p "$dir/build"
  cp "${source_files[@]}" "$dir/build/"
  apt_install "$dir" build-essential || return 1
  in_chroot "$dir" net root apt-get build-dep -y -qq "${profile[@]}" "/build/$(basename "$dsc")" >>"$dir.log" 2>&1 || {
    tail -n 30 "$dir.log"
    return 1
  }
  add_user "$dir" builder
  in_chroot "$dir" net root chown -R builder:builder /build
  # Built as a normal user, with the network out of reach.
  in_chroot "$dir" nonet builder /bin/bash -c '
    cd /build && dpkg-source -x ./*.dsc src >/dev/null && cd src &&
      DEB_BUILD_OPTIONS="$1" DEB_BUILD_PROFILES="$1" dpkg-buildpackage -us -uc -b' _ "$options" >"$dir-dpkg.log" 2>&1 || {
    tail -n 60 "$dir-dpkg.log"
    failed_tests_output "$dir-dpkg.log"
    return 1
  }
  grep -E '^[0-9]+% tests passed|tests passed' "$dir-dpkg.log" >&2 || true
  warnings=$(grep -cE '\.(cpp|h):[0-9]+:[0-9]+: warning:' "$dir-dpkg.log" || true)
  say "$suite: built ($([ -n "$options" ] && echo "tests left out" || echo "tests run"), $warnings compiler warnings)"
  mkdir -p "$work/$suite-debs"
  cp "$dir"/build/*.deb "$dir"/build/*.changes "$work/$suite-debs/"
}

lint() {
  local suite=$1 dir="$work/$1-build"
  apt_install "$dir" lintian || return 1
  # The source package is checked with the binary packages, as an upload would be.
  cp "${source_files[@]}" "$dir/build/"
  # Tags that only say this lintian belongs to another Debian release than the packaging's.
  local release_tags
  release_tags=$(LINTIAN_DATA="$dir/usr/share/lintian" bash "$root/scripts/lintian-release-tags.sh")
  in_chroot "$dir" net builder /bin/bash -c 'cd /build && lintian --version &&
    lintian --pedantic -I -E --fail-on error,warning,info,pedantic,experimental \
      ${1:+--suppress-tags "$1"} ./*.dsc ./*.changes' _ "$release_tags" >"$dir-lintian.log" 2>&1 || {
    cat "$dir-lintian.log"
    return 1
  }
  say "$suite: $(head -n 1 "$dir-lintian.log"): nothing to say${release_tags:+ (left out: $release_tags)}"
  # The metadata, as that release's AppStream reads it.
  apt_install "$dir" appstream || return 1
  cp "$root/scripts/check-appstream.sh" "$dir/build/"
  in_chroot "$dir" net builder /bin/bash -c 'cd /build && rm -rf unpacked &&
    dpkg-deb -x ./farmyard-cannon_*.deb unpacked &&
    bash check-appstream.sh unpacked/usr/share/metainfo/*.metainfo.xml' >"$dir-appstream.log" 2>&1 || {
    cat "$dir-appstream.log"
    return 1
  }
  say "$suite: $(tr '\n' ' ' <"$dir-appstream.log")"
}

install_and_play() {
  local suite=$1 dir
  dir=$(fresh "$suite" install) || return 1
  # What the check needs, installed before the game so that what the game brings stands out.
  apt_install "$dir" xvfb xauth x11-utils x11-apps || return 1
  add_user "$dir" player
  mkdir -p "$dir/debs"
  local debs=() deb
  for deb in "$work/$suite-debs"/farmyard-cannon_*.deb "$work/$suite-debs"/farmyard-cannon-data_*.deb; do
    cp "$deb" "$dir/debs/"
    debs+=("/debs/$(basename "$deb")")
  done
  in_chroot "$dir" net root dpkg-query -W -f '${Package}\n' | sort >"$dir-before"
  apt_install "$dir" "${debs[@]}" || return 1
  in_chroot "$dir" net root dpkg-query -W -f '${Package}\n' | sort >"$dir-after"
  local sdl
  sdl=$(comm -13 "$dir-before" "$dir-after" | grep -i sdl | tr '\n' ' ')
  say "$suite: apt install ./*.deb brought $(comm -13 "$dir-before" "$dir-after" | wc -l) packages, for SDL: $sdl"
  local package
  for package in $sdl; do
    if in_chroot "$dir" net root dpkg-query -W -f '${Description}' "$package" | grep -qi transitional; then
      say "$suite: $package is a transitional package"
      return 1
    fi
  done
  [ -n "$sdl" ] || return 1
  in_chroot "$dir" net root dpkg-query -L farmyard-cannon farmyard-cannon-data >"$dir-files"
  find "$dir/home/player" | sort >"$dir-home-before"

  # The player's session: the window up, held 3 s, looked at, closed with SIGTERM.
  in_chroot "$dir" nonet player /bin/bash -c '
    Xvfb :5 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
    export DISPLAY=:5
    for _ in $(seq 100); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
    /usr/games/farmyard-cannon 2>/tmp/said &
    launcher=$!
    window=""
    for _ in $(seq 200); do
      window=$(xwininfo -root -tree 2>/dev/null | awk "/\"Farmyard Cannon\"/ { print \$1; exit }")
      [ -n "$window" ] && break
      sleep 0.1
    done
    [ -n "$window" ] || { echo "no window after 20 s"; cat /tmp/said; exit 1; }
    sleep 3
    kill -0 "$launcher" || { echo "the game did not stay up 3 s"; exit 1; }
    game=""
    for process in /proc/[0-9]*; do
      [ "$(readlink "$process/exe" 2>/dev/null)" = /usr/lib/games/farmyard-cannon/shooter ] && game=${process#/proc/}
    done
    [ -n "$game" ] || { echo "no game process"; exit 1; }
    if grep -Ei "lib(GL|EGL|GLX|vulkan)|mesa|dri" "/proc/$game/maps" | awk "{ print \$6 }" | sort -u | grep .; then
      echo "the game loaded OpenGL"
      exit 1
    fi
    xwd -silent -id "$window" >/tmp/start.xwd
    kill -TERM "$launcher"
    status=0
    wait "$launcher" || status=$?
    [ "$status" -eq 0 ] || { echo "the game ended with status $status on SIGTERM"; cat /tmp/said; exit 1; }
    [ ! -s /tmp/said ] || { echo "the launcher said:"; cat /tmp/said; exit 1; }
    # The start screen: 1000 x 650 pixels of 4 bytes at the end of the dump.
    tail -c 2600000 /tmp/start.xwd | sha256sum | cut -d" " -f1
  ' >"$dir-play.log" 2>&1 || {
    cat "$dir-play.log"
    return 1
  }
  tail -n 1 "$dir-play.log" >"$work/$suite-start-screen"
  find "$dir/home/player" | sort >"$dir-home-after"
  if ! cmp -s "$dir-home-before" "$dir-home-after"; then
    say "$suite: the game wrote in the player's home:"
    comm -13 "$dir-home-before" "$dir-home-after" >&2
    return 1
  fi

  in_chroot "$dir" net root apt-get purge -y -qq farmyard-cannon farmyard-cannon-data >>"$dir.log" 2>&1
  local left=0 path
  while read -r path; do
    if [ -e "$dir$path" ] && [ ! -d "$dir$path" ]; then
      say "$suite: purge left $path"
      left=1
    fi
  done <"$dir-files"
  if find "$dir" -xdev -iname '*farmyard*' -not -path "$dir/debs/*" | grep . >&2; then
    left=1
  fi
  [ "$left" -eq 0 ] || return 1
  say "$suite: installed, played 3 s as a normal user (no OpenGL, nothing written at home), quit with 0, purged without a trace"
}

autopkgtests() {
  local suite=$1 dir="$work/$1-install"
  apt_install "$dir" autopkgtest || return 1
  mkdir -p "$dir/source"
  cp "${source_files[@]}" "$dir/source/"
  in_chroot "$dir" net root /bin/bash -c 'autopkgtest --user=player /source/*.dsc /debs/*.deb -- null' \
    >"$dir-autopkgtest.log" 2>&1 || {
    tail -n 40 "$dir-autopkgtest.log"
    return 1
  }
  say "$suite: autopkgtest: $(awk '/@@@@ summary/ { on = 1; next } on && / (PASS|FAIL|SKIP|FLAKY)/ { printf "%s %s; ", $1, $2 }' "$dir-autopkgtest.log")"
}

reproducible() {
  local suite=$1 dir="$work/$1-build"
  apt_install "$dir" reprotest faketime || return 1
  in_chroot "$dir" nonet root /bin/bash -c '
    rm -rf /reprotest && mkdir /reprotest && cd /reprotest && cp /build/*.dsc /build/*.tar.* . &&
      dpkg-source -x ./*.dsc src >/dev/null && cd src &&
      reprotest --vary=-fileordering,-domain_host --no-diffoscope --min-cpus=1 \
        --build-command "DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage --no-sign -b" . "../*.deb" -- null' \
    >"$dir-reprotest.log" 2>&1 || {
    tail -n 40 "$dir-reprotest.log"
    return 1
  }
  say "$suite: reprotest: $(grep -E '^No differences|differ' "$dir-reprotest.log" | tail -n 1)"
}

setup() {
  local suite=$1 dir
  dir=$(fresh "$suite" setup) || return 1
  # A display to play on; the game's set-up installs the rest itself.
  apt_install "$dir" xvfb xauth x11-utils git || return 1
  mkdir -p "$dir/src"
  git -C "$root" archive --format=tar HEAD | tar -x -C "$dir/src"
  in_chroot "$dir" net root /bin/bash -c '
    Xvfb :6 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
    export DISPLAY=:6
    bash /src/scripts/play.sh &
    play=$!
    window=""
    for _ in $(seq 6000); do
      window=$(xwininfo -root -tree 2>/dev/null | awk "/\"Farmyard Cannon\"/ { print \$1; exit }")
      [ -n "$window" ] && break
      kill -0 "$play" 2>/dev/null || break
      sleep 0.1
    done
    [ -n "$window" ] || { echo "play.sh opened no window"; exit 1; }
    kill -TERM "$play"
    status=0
    wait "$play" || status=$?
    [ "$status" -eq 0 ] || { echo "the game ended with status $status"; exit 1; }
    echo "play.sh: the window opened, the game quit with 0"
    bash /src/scripts/install-deps.sh test
  ' >"$dir-setup.log" 2>&1 || {
    tail -n 40 "$dir-setup.log"
    return 1
  }
  say "$suite: scripts/play.sh installed, built and opened the window; install-deps.sh test found every tool"
}

for suite in "${suites[@]}"; do
  if step "$suite" base base && step "$suite" build build; then
    step "$suite" lintian lint || true
    step "$suite" install install_and_play && step "$suite" autopkgtest autopkgtests || true
    if [[ "$with_reprotest" == *" $suite "* ]]; then
      step "$suite" reprotest reproducible || true
    fi
  fi
  if [[ "$with_setup" == *" $suite "* ]] && [ -f "$work/$suite.tar" ]; then
    step "$suite" set-up setup || true
  fi
  rm -rf "${work:?}/$suite"-*/
done

for key in "${!times[@]}"; do
  printf '%s %s s\n' "$key" "${times[$key]}"
done | sort >&2
[ ${#failed[@]} -eq 0 ] || fail "failed: $(printf '%s, ' "${failed[@]}")"

# The same start screen on every suite's SDL stack.
first=$(cat "$work/${suites[0]}-start-screen")
for suite in "${suites[@]}"; do
  [ "$(cat "$work/$suite-start-screen")" = "$first" ] ||
    fail "the start screen on $suite differs from ${suites[0]}'s"
done
say "every step passed; the start screen is the same on ${suites[*]}"
