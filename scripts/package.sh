#!/usr/bin/env bash
# As root: installs what is missing, builds as setup.sh does, checks the desktop entry and the
# AppStream file, and makes the Debian package build/korvane-wizard_<version>_<arch>.deb.
# Install it with: apt install ./build/korvane-wizard_*.deb
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/packages.sh"
# dpkg-shlibdeps (dpkg-dev) and file work out the package's dependencies from the program.
install_missing "${KORV_PACKAGES[@]}" dpkg-dev file desktop-file-utils appstream
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

app_id=org.korvane.wizard
desktop-file-validate "$KORV_ROOT/packaging/$app_id.desktop"
appstreamcli validate --no-net "$KORV_ROOT/packaging/$app_id.metainfo.xml"
# Software centres show the newest release of the AppStream file as the version.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$KORV_BUILD/CMakeCache.txt")
if ! grep -q "<release version=\"$version\"" "$KORV_ROOT/packaging/$app_id.metainfo.xml"; then
    echo "packaging/$app_id.metainfo.xml has no release $version: add it" >&2
    exit 1
fi

(cd "$KORV_BUILD" && cpack -G DEB)
package=$(ls "$KORV_BUILD"/korvane-wizard_"$version"_*.deb)
dpkg-deb --info "$package"
dpkg-deb --contents "$package"
