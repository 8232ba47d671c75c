#!/usr/bin/env bash
# Builds the game for a browser into build-web/ (index.html, what it loads, its icons, its
# service worker and manifest: a static folder any web server can serve, laid out by
# scripts/web-page.py) and serves it on 127.0.0.1 with caching rules that fit it
# (scripts/web-serve.py), printing the address to open. With --no-serve it only builds.
# Installs what is missing with apt-get (emscripten), and builds Box2D for the browser from
# Debian's source package, fetched with apt-get source through a sources list of its own: the
# machine's apt configuration is left as it was.
#   bash scripts/web.sh [--no-serve] [--port N]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
serve=true
port=8000
while [ $# -gt 0 ]; do
  case $1 in
    --no-serve) serve=false ;;
    --port)
      port=${2:?--port needs a number}
      shift
      ;;
    *)
      echo "usage: bash scripts/web.sh [--no-serve] [--port N]" >&2
      exit 2
      ;;
  esac
  shift
done

bash "$root/scripts/install-deps.sh" web

# Intermediate files under build/web/, the page alone in build-web/.
work="$root/build/web"
page="$root/build-web"
mkdir -p "$work"
# emscripten's JavaScript tools need Debian's node modules, which a node from elsewhere (such
# as NodeSource's) does not look for by itself.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
jobs=$(nproc)

# Box2D, from the source of Debian's own package, built once.
box2d="$work/box2d"
if [ ! -f "$box2d/lib/cmake/box2d/box2dConfig.cmake" ]; then
  apt_dir="$work/apt"
  rm -rf "$apt_dir" "$work/box2d-source" "$work/box2d-build"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/parts" "$work/box2d-source"
  # shellcheck disable=SC1091
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  echo "deb-src http://deb.debian.org/debian $codename main" >"$apt_dir/sources.list"
  apt_options=(
    -o "Dir::Etc::SourceList=$apt_dir/sources.list"
    -o "Dir::Etc::SourceParts=$apt_dir/parts"
    -o "Dir::State::Lists=$apt_dir/lists"
    -o "Dir::Cache=$apt_dir/cache"
    # the download goes into this user's own folders
    -o "APT::Sandbox::User=$(id -un)"
  )
  echo "Fetching Box2D's source package"
  apt-get "${apt_options[@]}" -qq update
  (cd "$work/box2d-source" && apt-get "${apt_options[@]}" -qq source box2d >/dev/null)
  source_dir=$(find "$work/box2d-source" -mindepth 1 -maxdepth 1 -type d -name 'box2d-*' | head -n 1)
  echo "Building Box2D for the browser"
  emcmake cmake -S "$source_dir" -B "$work/box2d-build" -DCMAKE_BUILD_TYPE=Release \
    -DBOX2D_BUILD_UNIT_TESTS=OFF -DBOX2D_BUILD_TESTBED=OFF -DCMAKE_INSTALL_PREFIX="$box2d" >/dev/null
  cmake --build "$work/box2d-build" -j"$jobs" >/dev/null
  cmake --install "$work/box2d-build" >/dev/null
fi

echo "Building the game for the browser"
flags=(-DCMAKE_BUILD_TYPE=Release -Dbox2d_DIR="$box2d/lib/cmake/box2d" -DSHOOTER_BUILD_TESTS=OFF)
# Continuous integration treats every compiler warning as an error.
if [ "${CI:-}" = "true" ]; then
  flags+=(-DSHOOTER_WERROR=ON)
fi
emcmake cmake -S "$root" -B "$work/game" "${flags[@]}" >/dev/null
cmake --build "$work/game" -j"$jobs"
python3 "$root/scripts/web-page.py" "$work/game" "$page"
echo "The page is in $page"

if [ "$serve" = true ]; then
  echo "Serving it at http://127.0.0.1:$port/ (open that address in a browser; Ctrl+C stops)"
  exec python3 "$root/scripts/web-serve.py" "$page" "$port"
fi
