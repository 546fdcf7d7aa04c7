// Header clicks, sort keys, column moves and resizing, with real mouse events.
#include "tests/lattix/GridFixture.h"

#include <QStyleFactory>

#include <memory>

namespace LattixTest {
namespace {

class HeaderTest : public GridTest
{
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        grid.Clear();
        // Four integer columns; rows (i % 3, i % 2, 9 - i, i).
        for (const char* title : {"A", "B", "C", "D"})
            grid.AddColumn(CIntCol(TextFlags::kRight), title, 70);
        grid.CreateRowLayout();
        for (int i = 0; i < 6; ++i) {
            CRowData* row = grid.AddRow();
            row->GetCell(0)->Set(i % 3);
            row->GetCell(1)->Set(i % 2);
            row->GetCell(2)->Set(9 - i);
            row->GetCell(3)->Set(i);
        }
        grid.Update(true);
        parent.log.clear();
    }
    std::vector<int> Ids() const
    {
        std::vector<int> ids;
        for (int r = 0; r < grid.GetRowCount(); ++r)
            ids.push_back(grid.GetCell(r, 3)->GetInt());
        return ids;
    }
    // Drags the title of col by dx pixels.
    void DragTitle(int col, int dx)
    {
        const QPoint from = TitleCenter(col);
        QTest::mousePress(&grid.Header(), Qt::LeftButton, {}, from);
        for (int step = 1; step <= 10; ++step) {
            QMouseEvent move(QEvent::MouseMove, from + QPoint(dx * step / 10, 0),
                             grid.Header().mapToGlobal(from + QPoint(dx * step / 10, 0)),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&grid.Header(), &move);
        }
        QTest::mouseRelease(&grid.Header(), Qt::LeftButton, {}, from + QPoint(dx, 0));
    }
};

// Clicks on a title cycle ascending, descending, ascending; a plain click replaces the order
// and a shift click adds a key.
TEST_F(HeaderTest, ClicksCycleTheOrderShiftClickAddsKeysInDisplayOrderAndAMoveResorts)
{
    for (const bool descending : {false, true, false}) {
        ClickTitle(2);
        EXPECT_EQ(grid.GetSortOrder(), (std::vector<CSortKey>{{2, descending}}));
        EXPECT_EQ(Ids().front(), descending ? 0 : 5);
    }
    EXPECT_EQ(parent.Codes(), (std::vector<int>{LXN_SORTCHANGING, LXN_SORTED, LXN_SORTCHANGING,
                                                LXN_SORTED, LXN_SORTCHANGING, LXN_SORTED}));
    ClickTitle(3);
    ClickTitle(1, Qt::ShiftModifier);
    // Column 1 stands left of column 3, so it is the first key.
    EXPECT_EQ(grid.GetSortOrder(), (std::vector<CSortKey>{{1, false}, {3, false}}));
    EXPECT_EQ(Ids(), (std::vector<int>{0, 2, 4, 1, 3, 5}));
    ClickTitle(3, Qt::ControlModifier);
    EXPECT_EQ(grid.GetSortOrder(), (std::vector<CSortKey>{{1, false}, {3, true}}));
    EXPECT_EQ(Ids(), (std::vector<int>{4, 2, 0, 5, 3, 1}));

    // Moving column 3 to the far left makes it the first key and sorts again.
    parent.log.clear();
    DragTitle(3, -3 * 70);
    EXPECT_EQ(grid.Geometry().GetDisplayOrder(), (std::vector<int>{3, 0, 1, 2}));
    EXPECT_EQ(grid.GetSortOrder(), (std::vector<CSortKey>{{3, true}, {1, false}}));
    EXPECT_EQ(Ids(), (std::vector<int>{5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(parent.Codes(), (std::vector<int>{LXN_SORTCHANGING, LXN_SORTED}));
}

TEST_F(HeaderTest, CancelledSortKeepsOrderAndArrows)
{
    ClickTitle(0);
    const std::vector<int> before = Ids();
    parent.results[LXN_SORTCHANGING] = 1;
    ClickTitle(2);
    ClickTitle(0);
    EXPECT_EQ(grid.GetSortOrder(), (std::vector<CSortKey>{{0, false}}));
    EXPECT_EQ(Ids(), before);
    // A cancelled resort after a move still moves the column.
    DragTitle(2, -2 * 70);
    EXPECT_EQ(grid.Geometry().GetDisplayOrder(), (std::vector<int>{2, 0, 1, 3}));
    EXPECT_EQ(Ids(), before);
}

TEST_F(HeaderTest, PressLeaveAndReleaseElsewhereOrClicksWithSortingOffDoNotSortAndBordersResize)
{
    grid.EnableColumnMove(false);
    const QPoint from = TitleCenter(1);
    QTest::mousePress(&grid.Header(), Qt::LeftButton, {}, from);
    QTest::mouseMove(&grid.Header(), from + QPoint(0, 40));
    QTest::mouseRelease(&grid.Header(), Qt::LeftButton, {}, from + QPoint(0, 40));
    EXPECT_TRUE(grid.GetSortOrder().empty());
    EXPECT_EQ(grid.Geometry().GetDisplayOrder(), (std::vector<int>{0, 1, 2, 3}));

    grid.EnableHeaderSort(false);
    ClickTitle(1);
    EXPECT_TRUE(grid.GetSortOrder().empty());
    EXPECT_EQ(Ids(), (std::vector<int>{0, 1, 2, 3, 4, 5}));

    // Dragging a border resizes within the limits, and does not sort.
    grid.EnableHeaderSort(true);
    grid.EnableColumnMove(true);
    const QPoint border(grid.Geometry().GetColumnLeft(1) + grid.GetColumnWidth(1) - 1, 5);
    EXPECT_EQ(grid.Header().BorderHitTest(border.x()), 1);
    QTest::mouseMove(&grid.Header(), border);
    EXPECT_EQ(grid.Header().cursor().shape(), Qt::SplitHCursor);
    QTest::mousePress(&grid.Header(), Qt::LeftButton, {}, border);
    QTest::mouseMove(&grid.Header(), border + QPoint(30, 0));
    QTest::mouseRelease(&grid.Header(), Qt::LeftButton, {}, border + QPoint(30, 0));
    EXPECT_EQ(grid.GetColumnWidth(1), 100);
    EXPECT_TRUE(grid.GetSortOrder().empty());

    const QPoint wide(grid.Geometry().GetColumnLeft(1) + grid.GetColumnWidth(1), 5);
    QTest::mousePress(&grid.Header(), Qt::LeftButton, {}, wide);
    QTest::mouseMove(&grid.Header(), wide - QPoint(95, 0));
    QTest::mouseRelease(&grid.Header(), Qt::LeftButton, {}, wide - QPoint(95, 0));
    EXPECT_EQ(grid.GetColumnWidth(1), grid.GetColumnMinWidth(1));
    EXPECT_GT(grid.GetColumnMinWidth(1), 5);

    // A double click on the border fits the content and title.
    grid.SetColumnWidth(1, 300);
    const QPoint right(grid.Geometry().GetColumnLeft(1) + grid.GetColumnWidth(1), 5);
    QTest::mouseDClick(&grid.Header(), Qt::LeftButton, {}, right);
    EXPECT_LT(grid.GetColumnWidth(1), 300);
    EXPECT_GE(grid.GetColumnWidth(1), grid.GetColumnMinWidth(1));
}

TEST_F(HeaderTest, PressedAndFlatTitlesShowUnderFusionAndTipsShowLongNamesOrTitlesThatDoNotFit)
{
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    grid.Header().setStyle(fusion.get());
    // A strip of a title's background, away from its right-aligned text.
    const auto strip = [this](int col) {
        const QImage image = grid.Header().grab().toImage();
        std::vector<QRgb> pixels;
        for (int y = 2; y < CTableCtrl::kHeaderHeight - 2; ++y)
            pixels.push_back(image.pixel(grid.Geometry().GetColumnLeft(col) + 8, y));
        return pixels;
    };
    const std::vector<QRgb> raised = strip(1);
    QTest::mousePress(&grid.Header(), Qt::LeftButton, {}, TitleCenter(1));
    EXPECT_NE(strip(1), raised);
    EXPECT_EQ(strip(0), raised);
    grid.Header().CancelTracking();
    grid.EnableHeaderSort(false);
    EXPECT_NE(strip(0), raised);
    grid.Header().setStyle(QApplication::style());

    // A title's tip is its long name or a title that does not fit.
    grid.SetColumnTitle(0, "A\nAll of A", -1);
    grid.SetColumnTitle(1, "A title far too long for seventy pixels", -1);
    const auto tipAt = [this](int col) { return TipAt(grid.Header(), TitleCenter(col)); };
    EXPECT_EQ(tipAt(0), "All of A");
    EXPECT_EQ(tipAt(1), "A title far too long for seventy pixels");
    EXPECT_EQ(tipAt(2), "");
    parent.onNotify = [](NMTABLECTRL& n) {
        if (n.hdr.code == LXN_GETHEADERTIP)
            n.strText = "mine";
    };
    EXPECT_EQ(tipAt(2), "mine");
}

} // namespace
} // namespace LattixTest
