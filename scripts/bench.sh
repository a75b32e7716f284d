#!/usr/bin/env bash
# Builds PAYSUM and runs every benchmark under bench/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
for benchmark in build/bench/paysum_*_bench; do
    [ -x "$benchmark" ] || continue
    QT_QPA_PLATFORM=offscreen "$benchmark"
done
