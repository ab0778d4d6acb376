#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, then configures and builds.
#   [MARTOOL_TARGETS="target ..."] scripts/setup.sh [build-dir] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

# lintian checks the Debian package; socat, agetty (util-linux) and login are the serial console at
# the far end of a virtual port in the tests.
PACKAGES=(cmake g++ make pkg-config qt6-base-dev libgtest-dev libgmock-dev
          xvfb xauth xdotool imagemagick fonts-dejavu-core
          dpkg-dev file desktop-file-utils appstream man-db lintian
          socat util-linux login)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

build_dir=${1:-build}
shift || true
jobs=$(nproc 2>/dev/null || echo 2)
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
# MARTOOL_TARGETS limits the build to the targets it names (all of them when unset).
targets=()
for t in ${MARTOOL_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build_dir" -j "$jobs" "${targets[@]}"
