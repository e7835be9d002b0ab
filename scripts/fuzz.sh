#!/usr/bin/env bash
# Runs the settings file's fuzz target of a sanitizer build for a while:
#   bash scripts/fuzz.sh [build folder, build-sanitize/ by default] [seconds, 60 by default]
# Inputs that reach new code are kept in <build>/fuzz-corpus, so the next run goes on from
# there; an input that breaks a property is saved in <build>/fuzz-artifacts and shown.
set -euo pipefail

KORV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$KORV_ROOT/build-sanitize}
seconds=${2:-60}
target="$build/tests/fuzz/fuzz-profile"

if [[ ! -x "$target" ]]; then
    echo "No fuzz target in $build: build it with bash $KORV_ROOT/scripts/hardening.sh" >&2
    exit 1
fi
mkdir -p "$build/fuzz-corpus" "$build/fuzz-artifacts"
# Every save syncs the file to disk; in memory the target runs about twice as many inputs.
if [[ -d /dev/shm && -w /dev/shm ]]; then
    export TMPDIR=/dev/shm
fi

log="$build/fuzz.log"
# The sanitizers' own records grow over a long run (the program's memory stays flat without
# them), past libFuzzer's default limit of 2 GiB after some hours.
# Inputs may grow past a megabyte, where a file is read in pieces rather than whole.
if "$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 -max_len=1049600 \
        -print_final_stats=0 \
        -dict="$KORV_ROOT/tests/fuzz/profile.dict" -artifact_prefix="$build/fuzz-artifacts/" \
        "$build/fuzz-corpus" "$KORV_ROOT/tests/fuzz/corpus" >"$log" 2>&1; then
    grep -E '^#[0-9]+[[:space:]]+DONE|^Done' "$log"
else
    tail -n 60 "$log" >&2
    echo "The fuzz target found a fault (whole log: $log)" >&2
    exit 1
fi
