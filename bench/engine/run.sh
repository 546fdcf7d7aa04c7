#!/usr/bin/env bash
# Builds and runs the engine benchmarks; each prints its figures and whether its goal was
# met. Exit status 1 when a goal was missed.
#   bench/engine/run.sh [BUILD_DIR] [pacing|ping|unpaced|idle]...
# BUILD_DIR defaults to build/ (configured here as RelWithDebInfo when it does not exist
# yet); with no names all four run.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
shift || true
benches=("$@")
if [ ${#benches[@]} -eq 0 ]; then
    benches=(pacing ping unpaced idle)
fi

if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
targets=()
for name in "${benches[@]}"; do
    targets+=("engine_${name}_bench")
done
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" >/dev/null

status=0
for name in "${benches[@]}"; do
    echo "\$ $build/bench/engine/engine_${name}_bench"
    "$build/bench/engine/engine_${name}_bench" || status=1
    echo
done
exit $status
