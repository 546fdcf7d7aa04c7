#!/usr/bin/env bash
# Sets up everything, builds the release tree and makes the Debian package
# build/farsighter_VERSION_amd64.deb, then checks it with lintian.
#   scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
FARSIGHTER_PACKAGING=1 bash scripts/deps.sh
bash scripts/build.sh
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/farsighter_*_*.deb)
# Errors fail the script; warnings that are accepted stand in cmake/debian/lintian-overrides
# with their reasons.
lintian --fail-on error "$deb"
echo "$deb"
