#!/usr/bin/env bash
# Builds as start.sh and test.sh do, then runs every benchmark in bench/ and prints its
# figures beside their floors, measured in the same run; nothing is asserted. Without a
# display, the start-up benchmark runs under a virtual one.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)," \
     "$(free -h | awk '/^Mem:/ {print $2}') memory"
"$KORV_BUILD/bench/bench-settings-file"
if [[ -z "${DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    xvfb-run -a "$KORV_BUILD/bench/bench-startup"
else
    "$KORV_BUILD/bench/bench-startup"
fi
