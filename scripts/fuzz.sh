#!/usr/bin/env bash
# Builds the libFuzzer targets under fuzz/ with clang into build-fuzz/ and runs each for a few
# seconds (PAYSUM_FUZZ_SECONDS, default 5) from the corpus in fuzz/corpus/. Skipped without
# clang++-14. New inputs go to a temporary folder, so the corpus in the tree stays as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang++-14 >/dev/null; then
    echo "clang++-14 not found: fuzzing skipped"
    exit 0
fi
cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14
cmake --build build-fuzz --parallel
seconds="${PAYSUM_FUZZ_SECONDS:-5}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
for target in build-fuzz/fuzz_*; do
    name="${target##*/fuzz_}"
    mkdir -p "$work/$name"
    echo "fuzzing $name for ${seconds}s"
    # An input that breaks a routine is kept in build-fuzz/ to reproduce it.
    if ! "$target" -max_total_time="$seconds" -artifact_prefix=build-fuzz/ \
        "$work/$name" "fuzz/corpus/$name" >"$work/$name.log" 2>&1; then
        cat "$work/$name.log"
        echo "fuzz_$name failed"
        exit 1
    fi
    tail -n 1 "$work/$name.log"
done
