#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Farsighter need,
# but only when something is missing, so a second run costs nothing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev libgl-dev libqt6svg6
    qt6-l10n-tools qt6-translations-l10n
    clang libclang-rt-14-dev
    qstat nlohmann-json3-dev libicu-dev
    libmaxminddb-dev libgeoip-dev geoip-database famfamfam-flag-png
    dbus-daemon
)
# Making and checking the Debian package (scripts/package.sh).
if [ "${FARSIGHTER_PACKAGING:-0}" = 1 ]; then
    packages+=(dpkg-dev lintian librsvg2-bin desktop-file-utils appstream bash-completion)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}" >&2
    sudo=""
    if [ "$(id -u)" != 0 ]; then sudo=sudo; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
fi
