#!/usr/bin/env bash
# Sets up everything, builds and runs every test (widget tests without a screen).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$(nproc)"
