#include "net/LibraryVersions.h"
#include "net/Version.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(LibraryVersionsTest, SocketAndSystemLibrariesAreRegistered)
{
    const auto& libraries = RegisteredLibraries();
    for (const char* name : {"Farsighter Sockets", "Farsighter System"}) {
        const auto found =
            std::find_if(libraries.begin(), libraries.end(),
                         [&](const LibraryVersion& lib) { return lib.name == name; });
        ASSERT_NE(found, libraries.end()) << name;
        EXPECT_EQ(found->version, FARSIGHTER_VERSION);
    }
    const std::string report = VersionReport("farsighter", FARSIGHTER_VERSION);
    EXPECT_EQ(report.rfind(std::string("farsighter ") + FARSIGHTER_VERSION + "\n", 0), 0u);
    EXPECT_NE(report.find("  Farsighter Sockets " FARSIGHTER_VERSION "\n"), std::string::npos);
}
