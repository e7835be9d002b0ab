#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/ beside this folder.
# Sourced by start.sh and test.sh; safe to run again and again.
set -euo pipefail

KORV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KORV_BUILD="$KORV_ROOT/build"

packages=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev libgl-dev fonts-ipafont-gothic
          xvfb xauth)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# CI (CI=true) treats compiler warnings as errors.
cmake -S "$KORV_ROOT" -B "$KORV_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DKORV_WERROR="$([[ "${CI:-}" == true ]] && echo ON || echo OFF)"
cmake --build "$KORV_BUILD"
