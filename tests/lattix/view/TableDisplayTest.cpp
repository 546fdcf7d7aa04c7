// What the body paints and how it follows the mouse.
#include "tests/lattix/GridFixture.h"

#include <QImage>

namespace LattixTest {
namespace {

class BodyTest : public GridTest
{
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        AddFixedColumns(2, 100);
        for (int i = 0; i < 30; ++i)
            grid.AddRow()->GetCell(0)->Set(std::string()); // no text over the backgrounds
        grid.resize(300, CTableCtrl::kHeaderHeight + 10 * FixedHeightOut::kRowHeight);
        grid.Update(true);
        parent.log.clear();
    }
    // The colour at a point of the body band of visible row `band`, past the columns.
    QColor BandColor(const QImage& image, int band)
    {
        return image.pixelColor(250, band * grid.GetRowHeight() + grid.GetRowHeight() / 2);
    }
};

TEST_F(BodyTest, AlternatingColoursCountFromTheTopVisibleRow)
{
    const CDrawState& look = grid.GetDrawState();
    QImage image = grid.Body().grab().toImage();
    EXPECT_EQ(BandColor(image, 0), look.GetBackColor(0));
    EXPECT_EQ(BandColor(image, 1), look.GetBackColor(1));
    // Vertical lines end each column.
    EXPECT_EQ(image.pixelColor(99, 5), look.GetGridColor());
    EXPECT_EQ(image.pixelColor(199, 5), look.GetGridColor());
    EXPECT_NE(image.pixelColor(150, 5), look.GetGridColor());

    grid.SetScrollPos(0, grid.GetRowHeight());
    image = grid.Body().grab().toImage();
    EXPECT_EQ(BandColor(image, 0), look.GetBackColor(0)); // row 1 now has the first colour
    EXPECT_EQ(BandColor(image, 1), look.GetBackColor(1));

    grid.SelectRow(2); // band 1 now
    image = grid.Body().grab().toImage();
    EXPECT_EQ(BandColor(image, 1), look.GetSelectedBackColor(1));

    grid.SetLeparello(false);
    grid.Update(true);
    image = grid.Body().grab().toImage();
    ASSERT_EQ(grid.GetScrollY(), 0); // taller rows: the view went back to whole rows
    EXPECT_EQ(BandColor(image, 1), grid.Body().palette().color(QPalette::Base));
    EXPECT_EQ(BandColor(image, 2), grid.Body().palette().color(QPalette::Highlight));
    // Horizontal lines now end each band.
    EXPECT_EQ(image.pixelColor(250, 2 * grid.GetRowHeight() - 1), look.GetGridColor());
}

TEST_F(BodyTest, PaintingCoversOnlyTheUpdateArea)
{
    // Rows are drawn through the renderers; a renderer that counts its cells tells how
    // many were drawn for an update of one row.
    struct CountingOut : FixedHeightOut
    {
        int* drawn;
        explicit CountingOut(int* counter) : drawn(counter) {}
        void Draw(const QRect& r, const CCellData& c, bool s) override
        {
            ++*drawn;
            FixedHeightOut::Draw(r, c, s);
        }
    };
    int drawn = 0;
    grid.SetColumnView(0, std::make_unique<CountingOut>(&drawn), nullptr, "C0", 100);
    (void)grid.Body().grab(QRect(0, 0, 50, grid.GetRowHeight()));
    EXPECT_GE(drawn, 1);
    EXPECT_LE(drawn, 2);
    drawn = 0;
    (void)grid.Body().grab(QRect(150, 0, 50, grid.GetBodyHeight())); // column 1 only
    EXPECT_EQ(drawn, 0);
}

TEST_F(BodyTest, DraggingBelowTheBodyScrollsAndExtendsTheSelection)
{
    Click(2);
    const QPoint inside = CellCenter(3, 0);
    QTest::mousePress(&grid.Body(), Qt::LeftButton, {}, CellCenter(2, 0));
    ASSERT_TRUE(grid.Body().IsDragSelecting());
    const QPoint below(inside.x(), grid.GetBodyHeight() + 30);
    grid.Body().DragStep(below, now);
    EXPECT_EQ(grid.GetScrollY(), grid.GetRowHeight());
    EXPECT_EQ(MarkedRows().front(), 2);
    EXPECT_EQ(MarkedRows().back(), 10);
    // The next step waits for its interval; far outside it is the shortest one.
    grid.Body().DragStep(below, now + 10);
    EXPECT_EQ(grid.GetScrollY(), grid.GetRowHeight());
    grid.Body().DragStep(below, now + CTableDisplay::kTimerMs);
    EXPECT_EQ(grid.GetScrollY(), 2 * grid.GetRowHeight());
    // Just outside it scrolls more slowly.
    const QPoint near(inside.x(), grid.GetBodyHeight() + 2);
    grid.Body().DragStep(near, now + 2 * CTableDisplay::kTimerMs);
    grid.Body().DragStep(near, now + 3 * CTableDisplay::kTimerMs);
    EXPECT_EQ(grid.GetScrollY(), 3 * grid.GetRowHeight());
    EXPECT_EQ(MarkedRows().back(), 12);

    QTest::mouseRelease(&grid.Body(), Qt::LeftButton, {}, below);
    EXPECT_FALSE(grid.Body().IsDragSelecting());
    EXPECT_EQ(parent.log.back().code, NM_CLICK);
    EXPECT_EQ(parent.log.back().row, (below.y() + grid.GetScrollY()) / grid.GetRowHeight());
}

TEST_F(BodyTest, DoubleClickSendsClickThenDoubleClick)
{
    QTest::mouseDClick(&grid.Body(), Qt::LeftButton, {}, CellCenter(4, 1));
    std::vector<int> codes;
    for (const Received& r : parent.log) {
        if (r.code == NM_CLICK || r.code == NM_DBLCLK)
            codes.push_back(r.code);
    }
    // The release that ends the double click sends no click of its own.
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(std::vector<int>(codes.end() - 2, codes.end()),
              (std::vector<int>{NM_CLICK, NM_DBLCLK}));
    EXPECT_EQ(parent.last.nColumn, 1);
    EXPECT_EQ(parent.last.nY, CTableCtrl::kHeaderHeight + CellCenter(4, 1).y());
}

TEST_F(BodyTest, CellTipComesFromTheRendererAndTheRecipient)
{
    grid.GetCell(3, 0)->Set(std::string(80, 'W'));
    grid.GetCell(4, 0)->Set("short");
    const auto tipAt = [this](int row) { return TipAt(grid.Body(), CellCenter(row, 0)); };
    EXPECT_EQ(tipAt(3), std::string(80, 'W'));
    EXPECT_EQ(tipAt(4), "");
    parent.onNotify = [](NMTABLECTRL& n) {
        if (n.hdr.code == LXN_GETCELLTIP)
            n.strText += "!";
    };
    EXPECT_EQ(tipAt(4), "!");
    EXPECT_EQ(parent.last.nRow, 4);
}

TEST_F(GridTest, FooterShowsItsCellsUnderTheBodyWithTips)
{
    AddStandardColumns();
    FillRows(50);
    const int bodyWithout = grid.GetBodyHeight();
    grid.ShowFooter(true);
    grid.SetColumnFooter(1, true);
    grid.GetFooterTable().GetCell(0, 1)->Set(-17);
    grid.SetColumnFooterTip(0, "Servers in the list");
    grid.Update(true);
    ASSERT_TRUE(grid.Footer().isVisible());
    EXPECT_EQ(grid.Footer().height(), grid.GetRowHeight() + 2);
    EXPECT_EQ(grid.GetBodyHeight(), bodyWithout - grid.Footer().height());
    EXPECT_EQ(grid.Footer().y(), CTableCtrl::kHeaderHeight + grid.GetBodyHeight());

    const auto tipAt = [this](int col) {
        return TipAt(grid.Footer(), QPoint(grid.Geometry().GetColumnLeft(col) + 5, 5));
    };
    EXPECT_EQ(tipAt(0), "Servers in the list");
    EXPECT_EQ(tipAt(1), "-17");
    EXPECT_EQ(tipAt(2), "");
    EXPECT_EQ(parent.last.hdr.code, LXN_GETFOOTERTIP);

    // The footer cell counts when a column is fitted to its content.
    grid.GetFooterTable().GetCell(0, 1)->Set(-1234567890);
    grid.AutoSizeColumn(1, false);
    const int withFooter = grid.GetColumnWidth(1);
    grid.ShowFooter(false);
    grid.AutoSizeColumn(1, false);
    EXPECT_GT(withFooter, grid.GetColumnWidth(1));
}

} // namespace
} // namespace LattixTest
