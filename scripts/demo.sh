#!/usr/bin/env bash
# Sets up everything and runs the program's main job: a master-server scan with the
# command-line browser. Without a reachable real master (the default), it starts a
# local test network on 127.0.0.1, scans it and stops it again.
#   scripts/demo.sh                      local test network
#   scripts/demo.sh --master HOST[:PORT] a real master server
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >&2

if [ $# -gt 0 ]; then
    exec build/cli/farsighter-query "$@"
fi

port=$((27950 + RANDOM % 1000))
build/testnet/farsighter-testnet --master-port "$port" --first-port $((port + 1)) \
    --count 60 --seed 7 --silent 5 --run-time 120 &
testnet=$!
trap 'kill $testnet 2>/dev/null || true' EXIT
sleep 0.3
build/cli/farsighter-query --master "127.0.0.1:$port" --game-version "1.4" --empty --speed "DSL*4"
