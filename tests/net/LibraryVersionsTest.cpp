#include "net/LibraryVersions.h"
#include "net/Version.h"

#include <gtest/gtest.h>

TEST(LibraryVersionsTest, SocketAndSystemLibrariesAreRegistered)
{
    const std::string report = VersionReport("farsighter", FARSIGHTER_VERSION);
    EXPECT_EQ(report.rfind("farsighter " FARSIGHTER_VERSION "\n", 0), 0u);
    EXPECT_NE(report.find("\n  Farsighter Sockets " FARSIGHTER_VERSION "\n"), std::string::npos);
    EXPECT_NE(report.find("\n  Farsighter System " FARSIGHTER_VERSION "\n"), std::string::npos);
}
