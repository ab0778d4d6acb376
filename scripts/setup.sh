#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, then configures and builds.
#   [MARTOOL_TARGETS="target ..."] scripts/setup.sh [--trained] [build-dir] [extra cmake arguments...]
# --trained builds with profile-guided optimisation: the first time (or once build-dir/pgo-profile
# is removed) it builds the benchmark instrumented in build-dir/pgo-train and runs it receiving,
# streaming and echoing on a pseudo-terminal, and the build then follows that profile.
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

trained=0
if [ "${1:-}" = "--trained" ]; then
    trained=1
    shift
fi
build_dir=${1:-build}
shift || true
jobs=$(nproc 2>/dev/null || echo 2)
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# The profile: the benchmark, built instrumented, receiving as fast as a pty feeds it, then at a
# line's pace with frames drawn, then echoing typed keys. Each step says whether it went through (a
# function called as a condition runs without `set -e`).
train() {
    local profile=$1 tree=$2
    echo "Training the build's profile (once; remove $profile to train again)"
    rm -rf "$profile"
    cmake -S . -B "$tree" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARTOOL_PGO=GENERATE \
          -DMARTOOL_PGO_DIR="$profile" "${launcher[@]}" >/dev/null || return 1
    cmake --build "$tree" -j "$jobs" --target bench_app || return 1
    for figure in "receive 2" "paced 3" "echo"; do
        # shellcheck disable=SC2086 # the figure and its amount are two words
        QT_QPA_PLATFORM=offscreen "$tree/bench/app/bench_app" 1 $figure >/dev/null 2>&1 || return 1
    done
    compgen -G "$profile/*.gcda" >/dev/null || return 1
    touch "$profile/trained"
}
pgo=(-DMARTOOL_PGO=OFF)
if [ "$trained" = 1 ]; then
    profile=$build_dir/pgo-profile
    if [ "${profile#/}" = "$profile" ]; then
        profile=$(pwd)/$profile
    fi
    if [ ! -f "$profile/trained" ]; then
        if train "$profile" "$build_dir/pgo-train"; then
            # Objects built from an older profile would keep it: this tree starts over.
            if [ -f "$build_dir/CMakeCache.txt" ]; then
                cmake --build "$build_dir" --target clean >/dev/null
            fi
        else
            # A build without the profile is slower, not wrong: the program is still built.
            echo "warning: the profile could not be made; building without it" >&2
            rm -rf "$profile"
        fi
    fi
    if [ -f "$profile/trained" ]; then
        pgo=(-DMARTOOL_PGO=USE -DMARTOOL_PGO_DIR="$profile")
    fi
fi
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "${pgo[@]}" "$@" >/dev/null
# MARTOOL_TARGETS limits the build to the targets it names (all of them when unset).
targets=()
for t in ${MARTOOL_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build_dir" -j "$jobs" "${targets[@]}"
