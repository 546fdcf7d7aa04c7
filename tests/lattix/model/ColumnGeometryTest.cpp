// Column geometry without a widget: widths within limits, display order, x to column,
// visible neighbours. (Layouts are checked through the grid in TableCtrlTest.)
#include "lattix/model/ColumnGeometry.h"

#include <gtest/gtest.h>

namespace {

using namespace Lattix;

// Columns of widths 100, 40, 60, 80, shown in the order 2, 0, 3, 1 with column 3 hidden:
// content x 0-59 is column 2, 60-159 column 0, 160-199 column 1.
CColumnGeometry FourColumns()
{
    CColumnGeometry g;
    for (int width : {100, 40, 60, 80}) {
        const int col = g.AddColumn();
        g.SetWidth(col, width);
        g.SetVisible(col, true);
    }
    g.MoveColumn(2, 0);
    g.MoveColumn(3, 2);
    g.SetVisible(3, false);
    return g;
}

TEST(ColumnGeometryTest, OrderPositionsAndFittingToAWidth)
{
    const CColumnGeometry g = FourColumns();
    EXPECT_EQ(g.GetDisplayOrder(), (std::vector<int>{2, 0, 3, 1}));
    EXPECT_EQ(g.GetColumnPos(3), 2);
    EXPECT_EQ(g.GetColumnPos(7), -1);
    EXPECT_EQ(g.GetTotalWidth(), 200);

    struct Case
    {
        int x, column, border;
    };
    for (const Case& c : {Case{-1, -1, -1}, Case{0, 2, -1}, Case{59, 2, 2}, Case{60, 0, 2},
                          Case{64, 0, 2}, Case{65, 0, 2}, Case{66, 0, -1}, Case{159, 0, 0},
                          Case{199, 1, 1}, Case{205, -1, 1}, Case{206, -1, -1}}) {
        EXPECT_EQ(g.ColumnFromX(c.x), c.column) << c.x;
        EXPECT_EQ(g.BorderHitTest(c.x, 5, 5), c.border) << c.x;
    }
    for (auto [col, left] : {std::pair{2, 0}, {0, 60}, {3, 160}, {1, 160}})
        EXPECT_EQ(g.GetColumnLeft(col), left) << col;

    // Visible neighbours skip the hidden column at position 2.
    for (auto [pos, next, prev] :
         {std::tuple{-1, 0, -1}, {1, 3, 0}, {2, 3, 1}, {3, 4, 1}, {9, 4, 3}}) {
        EXPECT_EQ(g.GetNextVisiblePos(pos), next) << pos;
        EXPECT_EQ(g.GetPrevVisiblePos(pos), prev) << pos;
    }

    // Fitting fills the target exactly; hidden columns keep their width.
    CColumnGeometry fitted = FourColumns();
    fitted.FitToWidth(333);
    EXPECT_EQ(fitted.GetTotalWidth(), 333);
    EXPECT_EQ(fitted.GetWidth(3), 80);
}

} // namespace
