#!/usr/bin/env bash
# The second build: the whole project again with clang's AddressSanitizer and
# UndefinedBehaviorSanitizer, in build-sanitize/ beside this folder, every test run there,
# then the settings file's fuzz target for KORV_FUZZ_SECONDS seconds (60 unless set).
# Called by test.sh; safe to run again and again.
set -euo pipefail

KORV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$KORV_ROOT/build-sanitize"
fuzz_seconds=${KORV_FUZZ_SECONDS:-60}

source "$KORV_ROOT/scripts/packages.sh"
install_missing "${KORV_PACKAGES[@]}" clang-14 libclang-rt-14-dev llvm-14 strace

# Debug keeps our assertions on; -O1 keeps the instrumented tests quick.
cmake -S "$KORV_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 \
      -DCMAKE_CXX_COMPILER=clang++-14 -DKORV_SANITIZE=address,undefined -DKORV_FUZZ=ON \
      -DKORV_WERROR="$([[ "${CI:-}" == true ]] && echo ON || echo OFF)"
cmake --build "$build"

export ASAN_OPTIONS=strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1
export UBSAN_OPTIONS=print_stacktrace=1
export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
ctest --test-dir "$build" --output-on-failure

echo "Fuzzing the settings file for $fuzz_seconds s"
bash "$KORV_ROOT/scripts/fuzz.sh" "$build" "$fuzz_seconds"
