#!/usr/bin/env bash
# Sets up everything and builds the release tree in build/.
#   scripts/build.sh [extra cmake arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
# Unity builds compile each folder in a few large sources: Qt's headers are parsed a few
# times per folder instead of once per file. Pass -DCMAKE_UNITY_BUILD=OFF to check that
# every file includes what it uses.
# Line tables (-g1) are enough for backtraces and profiles and build faster than -g.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_UNITY_BUILD=ON \
    -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" \
    "$@" >/dev/null
cmake --build build -j "$(nproc)"
