#!/usr/bin/env bash
# Sourced by windows.sh: builds a static Qt for 64-bit Windows from Debian's own source of the
# Qt the Linux build uses, into a cache folder outside the clone, only when it is missing.
# Debian has no Qt for Windows; the host tools (moc, rcc, uic) come from the installed Qt.

KORV_QT_VERSION=$(dpkg-query -W -f='${Version}' qt6-base-dev | sed 's/[+-].*//')
KORV_QT_OPTIONS=(-DBUILD_SHARED_LIBS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
                 -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF
                 -DFEATURE_opengl=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF
                 -DFEATURE_xml=OFF
                 # Debian's repacked source leaves out wintab.h, which only tablet events need.
                 -DFEATURE_tabletevent=OFF)
# The cache is keyed by the version and the options, so a change of either builds anew.
KORV_QT_KEY=$(printf '%s\n' "${KORV_QT_OPTIONS[@]}" | sha1sum | cut -c1-8)
KORV_QT_WINDOWS=${KORV_QT_CACHE:-/var/cache/korvane-wizard}/qt-$KORV_QT_VERSION-x86_64-w64-mingw32-$KORV_QT_KEY

build_windows_qt() {
    [[ -f "$KORV_QT_WINDOWS/lib/cmake/Qt6/Qt6Config.cmake" ]] && return
    echo "Building Qt $KORV_QT_VERSION for Windows into $KORV_QT_WINDOWS (about a quarter of an hour on two cores)"
    local work
    work=$(mktemp -d /var/tmp/korv-qt.XXXXXX)
    # A deb-src entry of its own, so the machine's own sources stay as they are.
    local suite
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    printf 'deb-src http://deb.debian.org/debian %s main\n' "$suite" >"$work/sources.list"
    local apt_opts=(-o Dir::Etc::sourcelist="$work/sources.list" -o Dir::Etc::sourceparts=-
                    -o Dir::State::Lists="$work/lists")
    mkdir -p "$work/lists/partial"
    apt-get "${apt_opts[@]}" update -qq
    (cd "$work" && apt-get "${apt_opts[@]}" source --download-only -qq "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev)" &&
        dpkg-source -x ./*.dsc src >/dev/null)
    # Qt 6.4's Windows platform plugin asks for the OpenGL context in isSoftwareGl() whenever
    # dynamic GL is on, which it stays with OpenGL off: without OpenGL it is never software GL.
    perl -0pi -e 's/#if QT_CONFIG\(dynamicgl\)\n(    return QOpenGLStaticContext::opengl32)/#if QT_CONFIG(dynamicgl) && QT_CONFIG(opengl)\n$1/' \
        "$work/src/src/plugins/platforms/windows/qwindowswindow.cpp"
    cmake -S "$work/src" -B "$work/build" -G Ninja \
          -DCMAKE_TOOLCHAIN_FILE="$KORV_ROOT/cmake/mingw-w64-x86_64.cmake" \
          -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$KORV_QT_WINDOWS" \
          -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
          "${KORV_QT_OPTIONS[@]}"
    cmake --build "$work/build" --parallel 2
    cmake --install "$work/build"
    rm -rf "$work"
}
