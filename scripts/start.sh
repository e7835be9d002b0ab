#!/usr/bin/env bash
# Builds the wizard and starts it, passing on its arguments: bash scripts/start.sh [DISC-FOLDER].
# Without a folder it writes KORV.ini beside the program: build/KORV.ini.
set -euo pipefail

# Said first, so that nobody waits for a build that cannot be shown.
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "No display to show the wizard on: run it under a virtual display with" \
         "xvfb-run -a bash $(realpath "${BASH_SOURCE[0]}")" >&2
    exit 1
fi

source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
exec "$KORV_BUILD/korvane-wizard" "$@"
