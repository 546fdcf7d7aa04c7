// What the body paints and how it follows the mouse.
#include "tests/lattix/GridFixture.h"

#include "velk/Contrast.h"

#include <QImage>
#include <QPainter>

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

TEST_F(BodyTest,
       AlternatingColoursCountFromTheTopVisibleRowAndTipsComeFromTheRendererAndTheRecipient)
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

    // A cell's tip comes from its renderer and the recipient.
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

// The colour in area that contrasts most with back: the ink of what is drawn there.
QColor Ink(const QImage& image, const QRect& area, const QColor& back)
{
    QColor ink = back;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (CContrast::Ratio(image.pixelColor(x, y), back) > CContrast::Ratio(ink, back))
                ink = image.pixelColor(x, y);
    return ink;
}

// The desktop turns dark and light again under a grid sorted by name with negative pings:
// the bands, grid lines, negative numbers and the sort arrow read in either theme, and the
// light theme keeps its green bands, grid lines and red as they always were.
TEST_F(GridTest, BandsLinesNegativesAndArrowsReadAsTheDesktopTurnsDarkAndLight)
{
    AddStandardColumns();
    for (int i = 0; i < 6; ++i)
        AddRow("", -888, false);
    grid.Sort(std::vector<CSortKey>{{0, false}});
    QPalette dark(QColor(53, 53, 53), QColor(53, 53, 53));
    dark.setColor(QPalette::Base, QColor(42, 42, 42));
    dark.setColor(QPalette::Text, Qt::white);
    for (const QPalette& theme : {dark, QApplication::palette()}) {
        const bool isDark = CContrast::IsDark(theme.color(QPalette::Base));
        SCOPED_TRACE(isDark ? "dark" : "light");
        QApplication::setPalette(theme);
        QApplication::processEvents(); // widgets take a new application palette when posted
        const int h = grid.GetRowHeight();
        const QImage body = grid.Body().grab().toImage();
        const QColor band[2] = {body.pixelColor(300, h / 2), body.pixelColor(300, h + h / 2)};
        const QColor line = body.pixelColor(149, h / 2);
        const QColor negative = Ink(body, QRect(152, 1, 55, h - 2), band[0]);
        for (const QColor& back : band) {
            EXPECT_GE(CContrast::Ratio(theme.color(QPalette::Text), back), CContrast::kText);
            EXPECT_GE(CContrast::Ratio(line, back), 2.0);
            EXPECT_GE(CContrast::Ratio(negative, back), isDark ? CContrast::kText : 3.0);
        }
        EXPECT_GT(CContrast::Ratio(band[0], band[1]), 1.03); // the bands tell apart
        EXPECT_GT(band[1].green(), band[1].red() + 10);      // in green
        EXPECT_GT(negative.red(), negative.green() + 60);    // and negatives stay red
        const QImage header = grid.Header().grab().toImage();
        const QColor face = header.pixelColor(60, CTableCtrl::kHeaderHeight / 2);
        const QRect arrow(137, 2, 10, CTableCtrl::kHeaderHeight - 4); // right of "Name"
        EXPECT_GE(CContrast::Ratio(Ink(header, arrow, face), face), 3.0);
        if (!isDark) {
            EXPECT_EQ((std::vector<QColor>{band[0], band[1], line, negative}),
                      (std::vector<QColor>{QColor(240, 255, 240), QColor(224, 255, 224),
                                           QColor(128, 160, 128), QColor(255, 0, 0)}));
        }
    }

    // Rendered at double density the header draws at that density: the arrow's slopes shade
    // single device pixels, where a 1x drawing scaled up repeats each pixel in 2 x 2 blocks.
    QImage picture(grid.Header().size() * 2, QImage::Format_RGB32);
    picture.setDevicePixelRatio(2);
    grid.Header().render(&picture);
    int mixedBlocks = 0; // around the arrow right of the title "Name"
    for (int y = 0; y < 2 * CTableCtrl::kHeaderHeight; y += 2)
        for (int x = 2 * 130; x < 2 * 148; x += 2)
            mixedBlocks += picture.pixel(x + 1, y) != picture.pixel(x, y) ||
                           picture.pixel(x, y + 1) != picture.pixel(x + 1, y + 1);
    EXPECT_GT(mixedBlocks, 4);
}

} // namespace
} // namespace LattixTest
