#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/ beside this folder.
# Sourced by start.sh and test.sh; safe to run again and again.
set -euo pipefail

KORV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KORV_BUILD="$KORV_ROOT/build"

source "$KORV_ROOT/scripts/packages.sh"
install_missing "${KORV_PACKAGES[@]}"

# CI (CI=true) treats compiler warnings as errors.
cmake -S "$KORV_ROOT" -B "$KORV_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DKORV_WERROR="$([[ "${CI:-}" == true ]] && echo ON || echo OFF)"
cmake --build "$KORV_BUILD"
