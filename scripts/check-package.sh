#!/usr/bin/env bash
# Checks the Debian package that scripts/package.sh made: its file list, the desktop entry
# and the AppStream metainfo, and that dpkg installs and removes it cleanly. The install
# happens only when no farsighter package is installed already, and the removal purges it
# again, so the machine is left as it was.
#   scripts/check-package.sh [build/farsighter_VERSION_amd64.deb]
set -euo pipefail
cd "$(dirname "$0")/.."
deb=${1:-$(ls build/farsighter_*_*.deb)}

expected=(
    ./usr/bin/farsighter
    ./usr/bin/farsighter-query
    ./usr/bin/farsighter-testnet
    ./usr/share/applications/farsighter.desktop
    ./usr/share/icons/hicolor/scalable/apps/farsighter.svg
    ./usr/share/icons/hicolor/16x16/apps/farsighter.png
    ./usr/share/icons/hicolor/48x48/apps/farsighter.png
    ./usr/share/icons/hicolor/256x256/apps/farsighter.png
    ./usr/share/metainfo/org.farsighter.Farsighter.metainfo.xml
    ./usr/share/man/man1/farsighter.1.gz
    ./usr/share/man/man1/farsighter-query.1.gz
    ./usr/share/man/man1/farsighter-testnet.1.gz
    ./usr/share/bash-completion/completions/farsighter-query
    ./usr/share/doc/farsighter/README.md
    ./usr/share/doc/farsighter/copyright
    ./usr/share/doc/farsighter/changelog.gz
)
files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t)
missing=0
for f in "${expected[@]}"; do
    if ! grep -qx -- "$f" <<<"$files"; then
        echo "check-package: $deb lacks $f" >&2
        missing=1
    fi
done
if grep -v -E '^\./(usr/(bin|share)/.*|usr/bin/|usr/share/|usr/|)$' <<<"$files"; then
    echo "check-package: files outside /usr/bin and /usr/share (listed above)" >&2
    missing=1
fi
[ "$missing" = 0 ]

desktop-file-validate app/resources/farsighter.desktop
appstreamcli validate --no-net app/resources/org.farsighter.Farsighter.metainfo.xml >/dev/null
depends=$(dpkg-deb -f "$deb" Depends)
case $depends in
    *libqt6widgets6*) ;;
    *) echo "check-package: Depends lacks the Qt libraries: $depends" >&2; exit 1 ;;
esac

if dpkg-query -W -f='${Status}' farsighter 2>/dev/null | grep -q installed; then
    echo "check-package: a farsighter package is installed already; install test skipped" >&2
    exit 0
fi
trap 'dpkg --purge farsighter >/dev/null 2>&1 || true' EXIT
dpkg -i "$deb" >/dev/null
/usr/bin/farsighter-query --version >/dev/null
/usr/bin/farsighter --help | grep -q -- --query
dpkg --purge farsighter >/dev/null
trap - EXIT
for f in "${expected[@]}"; do
    if [ -e "${f#.}" ]; then
        echo "check-package: ${f#.} is still there after removal" >&2
        exit 1
    fi
done
echo "check-package: $deb installs, runs and removes cleanly"
