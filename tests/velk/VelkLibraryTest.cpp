#include "velk/ColorValue.h"

#include "net/LibraryVersions.h"
#include "net/Version.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(VelkLibraryTest, RegistersItsVersionOnce)
{
    // Linking the library is enough; the call only keeps this test's link honest.
    EXPECT_TRUE(CColorValue::FromText("000000").IsValid());
    const auto& libraries = RegisteredLibraries();
    const auto count = std::count_if(libraries.begin(), libraries.end(), [](const auto& lib) {
        return lib.name == "Farsighter Controls" && lib.version == FARSIGHTER_VERSION;
    });
    EXPECT_EQ(count, 1);
}

} // namespace
