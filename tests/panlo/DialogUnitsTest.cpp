#include "panlo/DialogUnits.h"

#include "net/LibraryVersions.h"

#include <QFont>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(DialogUnitsTest, ConvertsEdgesSoAdjacentControlsStayAdjacentAndFollowTheFont)
{
    // Base units 7 x 13: x * 7 / 4 and y * 13 / 8, rounded half away from zero.
    const CDialogUnits units(7, 13);
    EXPECT_EQ(units.X(4), 7);
    EXPECT_EQ(units.X(2), 4);   // 3.5
    EXPECT_EQ(units.X(-2), -4); // -3.5
    EXPECT_EQ(units.Y(8), 13);
    EXPECT_EQ(units.Y(3), 5); // 4.875
    // Two controls that touch in dialog units touch in pixels, whatever the rounding.
    const QRect left = units.ToPixels(7, 7, 51, 14);
    const QRect right = units.ToPixels(58, 7, 50, 14);
    EXPECT_EQ(left.x() + left.width(), right.x());
    EXPECT_EQ(left, QRect(12, 11, 90, 23));

    // Units measured from a font grow with it.
    QFont small;
    small.setPixelSize(10);
    QFont large;
    large.setPixelSize(20);
    const CDialogUnits a(small);
    const CDialogUnits b(large);
    EXPECT_GT(a.BaseWidth(), 0);
    EXPECT_GT(b.BaseWidth(), a.BaseWidth());
    EXPECT_GT(b.BaseHeight(), a.BaseHeight());

    const auto& libraries = RegisteredLibraries();
    EXPECT_EQ(std::count_if(libraries.begin(), libraries.end(),
                            [](const auto& lib) { return lib.name == "Farsighter Dialog Layout"; }),
              1);
}

} // namespace
