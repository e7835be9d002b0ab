#!/usr/bin/env bash
# As root: installs what is missing, builds Qt for Windows when its cache is missing (about a
# quarter of an hour on two cores, once), cross-builds the wizard and its tests into build-windows/
# beside this folder, and runs the tests under Wine. The product is
# build-windows/korvane-wizard.exe, one file that needs no DLL beside it.
# KORV_QT_CACHE names another folder for the Qt build (default /var/cache/korvane-wizard).
set -euo pipefail

KORV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$KORV_ROOT/build-windows"

source "$KORV_ROOT/scripts/packages.sh"
# dpkg-dev unpacks Qt's source; imagemagick makes the file icon and looks at the smoke test's
# screenshot; openbox, xdotool and xclip let the smoke test work the program as a user would.
install_missing "${KORV_PACKAGES[@]}" g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev \
    imagemagick openbox xdotool xclip x11-utils
source "$KORV_ROOT/scripts/windows-qt.sh"
build_windows_qt

# One Wine prefix for the build and its tests, made once; no prompts for Mono or Gecko, which
# nothing here needs.
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine 8 now and then fails to start a program ("failed to map the shared user data": it dies
# before its first line) when the kernel's address-space randomisation lays the loader's heap
# over the page that Windows keeps at one address in every process. Whatever runs under Wine
# here, and every program it starts, runs without that randomisation.
without_aslr=(setarch --addr-no-randomize)
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    mkdir -p "$WINEPREFIX"
    "${without_aslr[@]}" wineboot -i
    wineserver -w
fi

cmake -S "$KORV_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$KORV_ROOT/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_PREFIX_PATH="$KORV_QT_WINDOWS" -DCMAKE_FIND_ROOT_PATH="$KORV_QT_WINDOWS" \
      -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
      -DCMAKE_CROSSCOMPILING_EMULATOR=wine \
      -DKORV_WERROR="$([[ "${CI:-}" == true ]] && echo ON || echo OFF)"
cmake --build "$build" --parallel 2

# Every DLL the program needs is one of Windows' own: an API set (api-ms-win-*), which the
# system's loader serves itself, or one that Wine has in its system folder.
echo "DLLs korvane-wizard.exe needs:"
for dll in $(x86_64-w64-mingw32-objdump -p "$build/korvane-wizard.exe" | sed -n 's/^\tDLL Name: //p'); do
    if [[ ! ${dll,,} =~ ^api-ms-win- &&
          -z $(find "$WINEPREFIX/drive_c/windows/system32" -maxdepth 1 -iname "$dll") ]]; then
        echo "  $dll: not a system DLL" >&2
        exit 1
    fi
    echo "  $dll"
done

# One Wine server for all the tests, rather than one started and stopped by each; one left
# running by an earlier run may have started Wine's desktop without a screen.
wineserver -k 2>/dev/null || true
wineserver -w
wineserver -p
trap 'wineserver -k || true' EXIT
# Wine's services start with the first program; started by a test they would hold ctest's
# output open, and ctest would wait for them forever.
"${without_aslr[@]}" wine cmd /c exit >/dev/null 2>&1 </dev/null
"${without_aslr[@]}" ctest --test-dir "$build" --output-on-failure
ran=$(ctest --test-dir "$build" -N | sed -n 's/^Total Tests: //p')
left_out="$build/tests/left-out-under-wine.txt"
echo "Under Wine: $ran suites run, $(wc -l <"$left_out") left out:"
sed 's/^/  /' "$left_out"
