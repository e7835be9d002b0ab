#!/usr/bin/env bash
# Sourced by the other scripts: the packages the normal build needs, and how to install only
# those that are missing, so that every script can run again and again.

KORV_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-ipafont-gothic
               qt6-translations-l10n xvfb xauth)

# Installs with apt-get those of the given packages that are not installed yet.
install_missing() {
    local package missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}
