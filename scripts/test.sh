#!/usr/bin/env bash
# Builds the wizard and its tests, then runs every test (no display needed).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

# The crash test watches a save's system calls with strace.
install_missing strace
ctest --test-dir "$KORV_BUILD" --output-on-failure

# Then everything again under AddressSanitizer and UndefinedBehaviorSanitizer, and a minute
# of fuzzing the settings file.
bash "$KORV_ROOT/scripts/hardening.sh"
