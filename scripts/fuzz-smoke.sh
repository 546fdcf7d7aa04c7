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
# The targets run side by side, one per core; each prints its summary when it ends.
run_one() {
    local target=$1 name work
    name=$(basename "$target")
    work=$(mktemp -d)
    cp -r "fuzz/corpus/${name#fuzz_}/." "$work/" 2>/dev/null || true
    local status=0
    "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=0 "$work" \
        >"$work.log" 2>&1 || status=$?
    echo "== $name (${seconds}s)"
    tail -n 3 "$work.log"
    rm -rf "$work" "$work.log"
    return "$status"
}
pids=()
for target in build-fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    run_one "$target" &
    pids+=("$!")
    if [ "${#pids[@]}" -ge "$(nproc)" ]; then
        wait "${pids[0]}"
        pids=("${pids[@]:1}")
    fi
done
for pid in "${pids[@]}"; do
    wait "$pid"
done
