#!/usr/bin/env bash
# As root, after scripts/package.sh: installs the package it made, starts the installed
# program as its desktop entry does, with a fresh disc folder for %f, takes it through one
# finishing save with the driver plugin built beside this script, and checks what it wrote and
# where. The package is removed again at the end.
set -euo pipefail

KORV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
KORV_BUILD="$KORV_ROOT/build"
version=$(sed -n 's/^project(korvane-wizard VERSION \([0-9.]*\).*/\1/p' "$KORV_ROOT/CMakeLists.txt")
desktop_entry=/usr/share/applications/org.korvane.wizard.desktop
stray_file=/usr/bin/KORV.ini

passed=0
failed=0
# check <what> <command...>: counts the check, and names it when the command fails.
check() {
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "check-installed: FAILED: $what" >&2
    fi
}

# The value of a key in a section of an INI file with CRLF lines; nothing if there is no file.
ini_value() {
    [[ -f $1 ]] || return 0
    awk -v section="[$2]" -v key="$3" '
        { sub(/\r$/, "") }
        /^\[/ { inside = ($0 == section); next }
        inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }' "$1"
}

# The desktop entry's command line, with its %f replaced by the given folder.
exec_line() {
    local word words argv=()
    read -ra words <<<"$(sed -n 's/^Exec=//p' "$desktop_entry")"
    for word in "${words[@]}"; do
        if [[ $word == %f ]]; then argv+=("$1"); else argv+=("$word"); fi
    done
    printf '%s\n' "${argv[@]}"
}

if [[ -e $stray_file ]]; then
    echo "check-installed: $stray_file is there already; remove it first" >&2
    exit 1
fi
disc=$(mktemp -d)
# A stray file found below is ours: it was not there before.
trap 'apt-get remove -y -qq korvane-wizard >/dev/null; rm -rf "$disc" "$stray_file"' EXIT
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq --reinstall "$KORV_BUILD"/korvane-wizard_"$version"_*.deb >/dev/null

# Without a display, Qt needs the offscreen platform even for --version.
export QT_QPA_PLATFORM=offscreen
version_text=$(timeout 10 korvane-wizard --version 2>/dev/null) || true
check "korvane-wizard --version prints $version (it printed: $version_text)" \
    grep -qF "$version" <<<"$version_text"

# The disc as its author stages it: the launcher and the program to list are already in its
# folder, so that the finish finds nothing to warn of.
mkdir "$disc/GAME"
: >"$disc/GAME/RUN.EXE"
: >"$disc/KORVANE.EXE"
check "the desktop entry is installed" test -f "$desktop_entry"
mapfile -t command < <(exec_line "$disc")
status=0
QT_PLUGIN_PATH="$KORV_BUILD/tests/package/plugins" QT_QPA_GENERIC_PLUGINS=finishdriver \
    KORV_SLOT1_NAME=Game KORV_SLOT1_PATH="$disc/GAME/RUN.EXE" \
    timeout 60 "${command[@]}" || status=$?
name=$(ini_value "$disc/KORV.ini" NAME 1)
path=$(ini_value "$disc/KORV.ini" PATH 1)
check "${command[*]} ends with status 0 (it ended with $status)" test "$status" -eq 0
check "$disc/KORV.ini is written" test -f "$disc/KORV.ini"
check "[NAME] holds 1=Game (it holds 1=$name)" test "$name" = Game
check "[PATH] holds 1=GAME\\RUN.EXE (it holds 1=$path)" test "$path" = 'GAME\RUN.EXE'
check "nothing is written beside the program: no $stray_file" test ! -e "$stray_file"

echo "check-installed: $passed passed, $failed failed"
((failed == 0))
