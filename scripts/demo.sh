#!/usr/bin/env bash
# Sets up everything and runs the program's main job: the desktop browser, pointed at a
# local test network on 127.0.0.1 that this script starts and stops, with a throw-away
# settings folder, querying the master server at start-up. Without a display it prints
# the same scan with the command-line browser instead.
#   scripts/demo.sh                      local test network
#   scripts/demo.sh --master HOST[:PORT] a real master server, command-line browser
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >&2

if [ $# -gt 0 ]; then
    exec build/cli/farsighter-query "$@"
fi

# The test network prints "ready master=127.0.0.1:PORT servers=N" once every socket is
# bound; ports are chosen by the system so nothing collides with a real server.
coproc TESTNET { exec build/testnet/farsighter-testnet --master-port 0 --first-port 0 \
    --count 60 --seed 7 --silent 5 --hostile 2 --delays 8,25,45,90 --jitter 30 --run-time 3600 --quiet --exit-with-parent; }
profile=$(mktemp -d)
trap 'kill "$TESTNET_PID" 2>/dev/null || true; rm -rf "$profile"' EXIT
if ! read -r -t 20 ready <&"${TESTNET[0]}"; then
    echo "demo: the local test network did not start" >&2
    exit 1
fi
master=${ready#ready master=}
master=${master%% *}

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "demo: no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so here is the same scan from the command-line browser" >&2
    build/cli/farsighter-query --master "$master" --game-version "1.4" --empty --speed "DSL*4"
    exit 0
fi

# A profile of its own: query the master at start-up, at the fastest speed, with empty
# servers; the user's own settings and favorites stay untouched.
mkdir -p "$profile/config"
printf '[General]\nStartupQuery=2\nSpeed=5\nIncludeEmptyServers=1\n' > "$profile/config/Farsighter RTCW.conf"
build/app/farsighter --settings "$profile" --master "$master"
