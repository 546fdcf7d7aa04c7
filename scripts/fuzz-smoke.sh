#!/usr/bin/env bash
# Builds every libFuzzer target with clang and runs each briefly from its seed corpus.
#   scripts/fuzz-smoke.sh [seconds per target, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
seconds=${1:-20}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DFARSIGHTER_FUZZ=ON -DFARSIGHTER_ENGINE_ONLY=ON \
    -DFARSIGHTER_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target fuzz_all
for target in build-fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    work=$(mktemp -d)
    cp -r "fuzz/corpus/${name#fuzz_}/." "$work/" 2>/dev/null || true
    echo "== $name (${seconds}s)"
    "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=0 "$work" 2>&1 | tail -n 3
    rm -rf "$work"
done
