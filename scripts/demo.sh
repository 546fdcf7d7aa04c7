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

# The test network prints "ready master=127.0.0.1:PORT servers=N" once every socket is
# bound; ports are chosen by the system so nothing collides with a real server.
coproc TESTNET { exec build/testnet/farsighter-testnet --master-port 0 --first-port 0 \
    --count 60 --seed 7 --silent 5 --hostile 2 --delays 8,25,45,90 --jitter 30 --run-time 120 --quiet --exit-with-parent; }
trap 'kill "$TESTNET_PID" 2>/dev/null || true' EXIT
if ! read -r -t 20 ready <&"${TESTNET[0]}"; then
    echo "demo: the local test network did not start" >&2
    exit 1
fi
master=${ready#ready master=}
master=${master%% *}
build/cli/farsighter-query --master "$master" --game-version "1.4" --empty --speed "DSL*4"
