#!/usr/bin/env bash
# Builds and runs the engine benchmarks; each prints its figures and whether its goal was
# met. Exit status 1 when a goal was missed.
#   bench/engine/run.sh [BUILD_DIR] [pacing|ping|unpaced|idle|amplify]...
# BUILD_DIR defaults to build/ (configured here as RelWithDebInfo when it does not exist
# yet); with no names all five run. The unpaced scan runs twice: with the machine's
# receive buffers, and with every buffer capped at a stock Debian 12's 212,992 bytes
# (a preload library; the machine's settings stay as they are).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
shift || true
benches=("$@")
if [ ${#benches[@]} -eq 0 ]; then
    benches=(pacing ping unpaced idle amplify)
fi

if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
targets=()
for name in "${benches[@]}"; do
    targets+=("engine_${name}_bench")
done
targets+=(fs_stock_receive_buffer)
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" >/dev/null
stock="$(pwd)/$build/bench/engine/libfs_stock_receive_buffer.so"

status=0
for name in "${benches[@]}"; do
    echo "\$ $build/bench/engine/engine_${name}_bench"
    "$build/bench/engine/engine_${name}_bench" || status=1
    echo
    if [ "$name" = unpaced ]; then
        echo "\$ LD_PRELOAD=$stock $build/bench/engine/engine_${name}_bench"
        LD_PRELOAD="$stock" "$build/bench/engine/engine_${name}_bench" || status=1
        echo
    fi
done
exit $status
