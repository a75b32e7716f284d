#!/usr/bin/env bash
# Builds PAYSUM with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and runs
# every test there; any report, leaks included, fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAYSUM_SANITIZE=ON
cmake --build build-asan --parallel
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"
