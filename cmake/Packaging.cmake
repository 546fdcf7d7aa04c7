# The Debian package: `cpack -G DEB` in the build tree (scripts/package.sh does it all).
# Its dependencies come from dpkg-shlibdeps, its documents from cmake/debian/. lintian
# reports neither errors nor warnings for it, so it needs no overrides file.
set(FARSIGHTER_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/farsighter")
install(FILES README.md cmake/debian/copyright DESTINATION "${FARSIGHTER_DOC_DIR}")
farsighter_install_gzipped(cmake/debian/changelog "${FARSIGHTER_DOC_DIR}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME farsighter)
set(CPACK_PACKAGE_VENDOR "The Farsighter team")
set(CPACK_PACKAGE_CONTACT "The Farsighter team <team@farsighter.invalid>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so no linker dependency shows them: the SVG image plug-in draws the
# window icon, Qt's translations put its standard buttons in the user's language, Debian's
# country database and flag set fill the Country column (without them it stays empty, and
# a user's MaxMind DB file still works), and Wine starts a Windows copy of the game.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "libqt6svg6, qt6-translations-l10n, geoip-database, famfamfam-flag-png")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "server browser for Return to Castle Wolfenstein multiplayer
Farsighter asks a master server for every game server of one game version,
queries each server's status over UDP, and shows pings, maps, mods and players
in fast grids. It finds a player by name, keeps favorite servers with their
passwords, and joins a server with a double click.
.
The package holds the desktop browser farsighter, the command-line browser
farsighter-query (table, JSON and CSV output) and farsighter-testnet, a local
test network of game servers on 127.0.0.1.")
include(CPack)
