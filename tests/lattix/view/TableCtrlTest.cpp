// The grid control: creation, columns, layout and scrolling, layouts, menus, clipboard and
// HTML export.
#include "tests/lattix/GridFixture.h"

#include "velk/BottomTabCtrl.h"

#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>

namespace LattixTest {
namespace {

using Lines = std::vector<std::string>;

TEST_F(GridTest, CreateFromControlTakesThePlaceholdersPlaceAndStyle)
{
    auto makePlaceholder = [this](int id, unsigned style) {
        auto* placeholder = new QWidget(&parent); // owned by parent until replaced
        placeholder->setGeometry(20, 30, 200, 100);
        placeholder->setFocusPolicy(Qt::StrongFocus);
        placeholder->setProperty(CTableCtrl::kControlIdProperty, id);
        placeholder->setProperty(CTableCtrl::kStyleProperty, style);
        return placeholder;
    };
    QWidget* before = new QWidget(&parent);
    before->setFocusPolicy(Qt::StrongFocus);
    makePlaceholder(7, kVisible | CTableCtrl::kStyleSingleSel | CTableCtrl::kStyleNoSortHeader);
    makePlaceholder(8, kVisible | CTableCtrl::kStyleNoColumnHeader);

    CTableCtrl single;
    ASSERT_TRUE(single.CreateFromControl(7, &parent));
    EXPECT_EQ(single.geometry(), QRect(20, 30, 200, 100));
    EXPECT_EQ(single.GetSelection().GetMode(), CSelection::kSingle);
    EXPECT_FALSE(single.IsHeaderSortEnabled());
    EXPECT_EQ(before->nextInFocusChain(), &single);

    CTableCtrl multiple;
    ASSERT_TRUE(multiple.CreateFromControl(8, &parent));
    EXPECT_EQ(multiple.GetSelection().GetMode(), CSelection::kMultiple);
    EXPECT_TRUE(multiple.Header().isHidden());

    int placeholders = 0;
    for (QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        placeholders +=
            child->property(CTableCtrl::kControlIdProperty).toInt() == 7 && child != &single;
    EXPECT_EQ(placeholders, 0);
    CTableCtrl none;
    EXPECT_FALSE(none.CreateFromControl(99, &parent));
}

TEST_F(GridTest, AddColumnVisibilityWidthAndTitlesAndRowHeightsFollowTheTallestCellAndTheGrid)
{
    grid.AddColumn(CStringCol(TextFlags::kLeft), nullptr, 80);
    grid.AddColumn(CStringCol(TextFlags::kLeft), "Hidden", -1);
    grid.AddColumn(CIntCol(TextFlags::kRight), "Ping\nRound trip time", 0);
    grid.CreateRowLayout();
    EXPECT_FALSE(grid.IsColumnVisible(0));
    EXPECT_FALSE(grid.IsColumnVisible(1));
    EXPECT_TRUE(grid.IsColumnVisible(2));
    EXPECT_EQ(grid.GetColumnWidth(2), grid.GetColumnInfo(2).pOutput->GetDefaultWidth() + 10);
    EXPECT_EQ(grid.GetColumnTitle(2), "Ping");
    EXPECT_EQ(grid.Menus().GetColumnMenuText(2), "Round trip time");
    grid.SetColumnFormat(2, -1); // keeps the format
    EXPECT_EQ(grid.GetColumnFormat(2), static_cast<int>(TextFlags::kRight));

    grid.SetColumnWidthLimits(2, 0, 120);
    // The minimum is what the renderer needs, with the margins and the grid line.
    EXPECT_EQ(grid.GetColumnMinWidth(2), grid.GetColumnInfo(2).pOutput->GetMinWidth() +
                                             grid.GetDrawState().GetVertGrid() + 10);
    grid.SetColumnWidth(2, 500);
    EXPECT_EQ(grid.GetColumnWidth(2), 120);
    grid.SetColumnWidth(2, 1);
    EXPECT_EQ(grid.GetColumnWidth(2), grid.GetColumnMinWidth(2));

    // The row height follows the tallest cell and the grid lines.
    AddFixedColumns(2, 60);
    EXPECT_EQ(grid.GetRowHeight(), FixedHeightOut::kRowHeight);
    grid.SetHorzGrid(true);
    EXPECT_EQ(grid.GetRowHeight(), FixedHeightOut::kRowHeight + 1);
    grid.SetLeparello(true); // alternating colours come without horizontal lines
    EXPECT_FALSE(grid.HasHorzGrid());
    EXPECT_TRUE(grid.HasVertGrid());
    EXPECT_EQ(grid.GetRowHeight(), FixedHeightOut::kRowHeight);
    grid.Update(true);
    grid.FitColumnsToWindow(); // fills the body exactly, beside a scroll bar
    const int target = grid.GetBodyWidth() - grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    EXPECT_EQ(grid.Geometry().GetTotalWidth(), target);
}

TEST_F(GridTest, VerticalScrollingIsRowAlignedAndStopsAtTheLastWholePageHorizontalStepsByColumns)
{
    AddFixedColumns(2, 60);
    for (int i = 0; i < 100; ++i)
        grid.AddRow()->GetCell(0)->Set(std::to_string(i));
    // A body of 50 pixels holds three rows of 16.
    grid.resize(400, CTableCtrl::kHeaderHeight + 50);
    grid.Update(true);
    ASSERT_EQ(grid.GetBodyHeight(), 50);
    grid.SetScrollPos(0, 100000);
    EXPECT_EQ(grid.GetScrollY(), 1552);
    EXPECT_EQ(grid.VertScrollBar().maximum(), 1552);
    grid.SetScrollPos(0, 37);
    EXPECT_EQ(grid.GetScrollY(), 32);

    grid.ScrollVert(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid.GetScrollY(), 48);
    grid.ScrollVert(QAbstractSlider::SliderPageStepAdd); // body height less one row
    EXPECT_EQ(grid.GetScrollY(), 80);
    for (int i = 0; i < 3; ++i)
        grid.ScrollVert(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(grid.GetScrollY(), 0);

    // Moving the thumb lands on whole rows too.
    grid.VertScrollBar().setValue(171);
    EXPECT_EQ(grid.GetScrollY(), 160);

    // The wheel scrolls by whole rows.
    grid.SetScrollPos(0, 0);
    const QPoint at(10, 10);
    QWheelEvent wheel(at, grid.Body().mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&grid.Body(), &wheel);
    EXPECT_GT(grid.GetScrollY(), 0);
    EXPECT_EQ(grid.GetScrollY() % FixedHeightOut::kRowHeight, 0);

    grid.EnsureVisible(99, -1);
    EXPECT_EQ(grid.GetScrollY(), 1552);
    EXPECT_EQ(TipAt(grid.VertScrollBar(), QPoint(2, 2)), "98 von 100"); // the first visible row
    grid.EnsureVisible(3, -1);
    EXPECT_EQ(grid.GetScrollY(), 48);

    // Horizontal scrolling steps by columns.
    AddFixedColumns(6, 100);
    grid.resize(250, 200);
    grid.Update(true);
    ASSERT_TRUE(grid.HorzScrollBar().isVisible());
    grid.ScrollHorz(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid.GetScrollX(), 100);
    grid.SetScrollPos(150, 0);
    grid.ScrollHorz(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(grid.GetScrollX(), 100);
    grid.ScrollHorz(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(grid.GetScrollX(), 0);
    grid.ScrollHorz(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(grid.GetScrollX(), 600 - grid.GetBodyWidth());
    grid.EnsureVisible(-1, 0);
    EXPECT_EQ(grid.GetScrollX(), 0);
}

// Hidden rows are out of the grid's sight: counts, scrolling, keys and the selection.
TEST_F(GridTest, HiddenRowsAreOutOfScrollingKeysAndSelection)
{
    AddStandardColumns();
    for (int i = 0; i < 100; ++i)
        AddRow("row " + std::to_string(i), i, false);
    grid.resize(400, CTableCtrl::kHeaderHeight + 50);
    grid.SelectRow(51);
    std::vector<std::uint8_t> even(100);
    for (std::size_t i = 0; i < even.size(); i += 2)
        even[i] = 1;
    grid.ShowRows(1, even); // by ping
    grid.Update(true);
    EXPECT_EQ(grid.GetRowCount(), 50);
    EXPECT_EQ(grid.GetHiddenRowCount(), 50);
    EXPECT_EQ(grid.GetCursor().GetRow(), -1);
    grid.SetScrollPos(0, 100000);
    const int h = grid.GetRowHeight(); // the last whole page of 50 rows
    EXPECT_EQ(grid.GetScrollY(), (50 - 50 / h) * h);
    grid.SelectRow(10);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.GetCellText(grid.GetCursor().GetRow(), 0), "row 22");
    grid.ShowRows(1, std::vector<std::uint8_t>(100, 1));
    grid.Update(true);
    EXPECT_EQ(grid.GetCellText(grid.GetCursor().GetRow(), 0), "row 22");
    EXPECT_FALSE(grid.IsRowMarked(51)); // its mark went when it was hidden
}

TEST_F(GridTest, HeaderMenuSortsHidesAndGuardsTheLastColumn)
{
    AddStandardColumns();
    FillRows(4);
    HeaderMenu(1, CTableMenus::ID_SORT_DESCENDING);
    EXPECT_EQ(menus.shown.back(), (Lines{"Ascending", "Descending", "No sort (x)", "-", "Hide"}));
    EXPECT_EQ(grid.GetSortOrder(), (std::vector<CSortKey>{{1, true}}));
    EXPECT_EQ(Column(1), (Lines{"3", "2", "1", "0"}));

    HeaderMenu(0, CTableMenus::ID_SORT_ASCENDING); // keeps the other key
    EXPECT_EQ(grid.GetSortOrder(), (std::vector<CSortKey>{{0, false}, {1, true}}));
    HeaderMenu(1, CTableMenus::ID_SORT_NONE);
    EXPECT_EQ(menus.shown.back()[1], "Descending (x)");
    EXPECT_EQ(grid.GetSortOrder(), (std::vector<CSortKey>{{0, false}}));

    HeaderMenu(2, CTableMenus::ID_HIDE);
    HeaderMenu(1, CTableMenus::ID_HIDE);
    EXPECT_FALSE(grid.IsColumnVisible(2));
    EXPECT_FALSE(grid.IsColumnVisible(1));
    HeaderMenu(0, CTableMenus::ID_HIDE);
    EXPECT_EQ(menus.shown.back().back(), "Hide (off)");
    EXPECT_TRUE(grid.IsColumnVisible(0));

    // Right of the last column, and with sorting off.
    menus.choose = 0;
    grid.Menus().ShowHeaderMenu(QPoint(grid.Geometry().GetTotalWidth() + 20, 5));
    EXPECT_EQ(menus.shown.back(), (Lines{"Todo: Implementieren (off)"}));
    grid.EnableHeaderSort(false);
    HeaderMenu(0, 0);
    EXPECT_EQ(menus.shown.back(), (Lines{"Hide (off)"}));

    // The recipient may take the command, or the whole menu.
    grid.SetColumnVisible(2, true);
    parent.results[LXN_HEADERCOMMAND] = 1;
    HeaderMenu(2, CTableMenus::ID_HIDE);
    EXPECT_TRUE(grid.IsColumnVisible(2));
    EXPECT_EQ(parent.log.back(), (Received{LXN_HEADERCOMMAND, -1, 2, int(CTableMenus::ID_HIDE)}));
    parent.results[LXN_HEADERMENU] = 1;
    const std::size_t shown = menus.shown.size();
    HeaderMenu(2, CTableMenus::ID_HIDE);
    EXPECT_EQ(menus.shown.size(), shown);
}

TEST_F(GridTest, BodyMenuShowsHidesAndRestoresColumns)
{
    AddStandardColumns();
    grid.SetColumnTitle(1, "Ping\nServer ping", -1);
    FillRows(3);
    BodyMenu(0, 0, 0);
    EXPECT_EQ(menus.shown.back(),
              (Lines{"Copy cell", "Copy", "Copy all", "Select all", "-", "Show column",
                     "  (none) (off)", "Hide column", "  Name", "  Server ping", "  PB",
                     "Restore default", "-", "Save as ..."}));

    BodyMenu(0, 0, CTableMenus::ID_HIDE_FIRST + 1);
    EXPECT_FALSE(grid.IsColumnVisible(1));
    BodyMenu(0, 0, CTableMenus::ID_HIDE_FIRST + 2);
    BodyMenu(0, 0, 0);
    EXPECT_EQ(menus.shown.back()[5], "Show column");
    EXPECT_EQ(
        Lines(menus.shown.back().begin() + 6, menus.shown.back().begin() + 12),
        (Lines{"  &All columns", "  -", "  Server ping", "  PB", "Hide column", "  (none) (off)"}));

    // Showing and hiding columns leaves the rows in their order, so the arrows stay.
    grid.Sort(std::vector<CSortKey>{{0, true}});
    BodyMenu(0, 0, CTableMenus::ID_SHOW_FIRST + 2);
    EXPECT_TRUE(grid.IsColumnVisible(2));
    BodyMenu(0, 0, CTableMenus::ID_ALL_COLUMNS);
    EXPECT_TRUE(grid.IsColumnVisible(1));
    BodyMenu(0, 0, CTableMenus::ID_HIDE_FIRST + 2);
    EXPECT_EQ(grid.GetSortOrder(), (std::vector<CSortKey>{{0, true}}));
    BodyMenu(0, 0, CTableMenus::ID_ALL_COLUMNS);

    grid.MoveColumn(0, 2);
    grid.SetColumnVisible(1, false);
    BodyMenu(0, 0, CTableMenus::ID_RESTORE_DEFAULT);
    EXPECT_EQ(grid.Geometry().GetDisplayOrder(), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(grid.IsColumnVisible(1));

    // A stored default layout wins, with its widths, order and hidden columns.
    grid.SetColumnWidth(0, 77);
    grid.SetColumnVisible(2, false);
    grid.MoveColumn(1, 0);
    CWordArray layout;
    grid.GetLayout(layout);
    grid.SetDefaultLayout(layout);
    EXPECT_FALSE(grid.SetLayout(CWordArray{})); // words of no grid change nothing
    grid.SetColumnWidth(0, 200);
    grid.SetColumnVisible(2, true);
    grid.MoveColumn(0, 0);
    BodyMenu(0, 0, CTableMenus::ID_RESTORE_DEFAULT);
    EXPECT_EQ(grid.GetColumnWidth(0), 77);
    EXPECT_FALSE(grid.IsColumnVisible(2));
    EXPECT_EQ(grid.Geometry().GetDisplayOrder(), (std::vector<int>{1, 0, 2}));
}

TEST_F(GridTest, BodyMenuActsOnItsRowWhereverTheRowWentMeanwhile)
{
    AddStandardColumns();
    FillRows(6);
    // Rows re-sorted while the menu is open: "row 1" is then at index 4.
    menus.whileOpen = [this] { grid.Sort(std::vector<CSortKey>{{1, true}}); };
    BodyMenu(1, 0, CTableMenus::ID_COPY_CELL);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("row 1"));
    EXPECT_EQ(parent.log.back(), (Received{LXN_BODYCOMMAND, 4, 0, int(CTableMenus::ID_COPY_CELL)}));

    // A row deleted meanwhile leaves the command no row.
    QApplication::clipboard()->clear();
    menus.whileOpen = [this] { grid.DeleteRow(2); };
    BodyMenu(2, 1, CTableMenus::ID_COPY_CELL);
    EXPECT_EQ(parent.log.back(),
              (Received{LXN_BODYCOMMAND, -1, 1, int(CTableMenus::ID_COPY_CELL)}));
    EXPECT_EQ(QApplication::clipboard()->text(), QString());

    // Rows may also go while the menu selects its row.
    menus.whileOpen = nullptr;
    parent.onNotify = [this](NMTABLECTRL& n) {
        if (n.hdr.code == LXN_ROWCHANGING)
            grid.DeleteRow(0);
    };
    const QString third = QString::fromStdString(grid.GetCellText(3, 0));
    BodyMenu(3, 0, CTableMenus::ID_COPY_CELL);
    EXPECT_EQ(QApplication::clipboard()->text(), third);
}

TEST_F(GridTest, BodyMenuItemsFollowSelectionModeAndPlace)
{
    AddStandardColumns();
    FillRows(2);
    menus.choose = 0;
    grid.Menus().ShowBodyMenu(QPoint(5, grid.GetRowHeight() * 5)); // below the rows
    EXPECT_EQ(menus.shown.back()[0], "Copy cell (off)");
    grid.GetSelection().SetMode(CSelection::kSingle);
    BodyMenu(1, 0, 0);
    EXPECT_EQ(Lines(menus.shown.back().begin(), menus.shown.back().begin() + 4),
              (Lines{"Copy cell", "Copy", "Copy all", "-"}));
    EXPECT_EQ(MarkedRows(), (std::vector<int>{1})); // the row under the menu is selected
    grid.GetSelection().SetMode(CSelection::kNone);
    BodyMenu(1, 0, 0);
    EXPECT_EQ(Lines(menus.shown.back().begin(), menus.shown.back().begin() + 3),
              (Lines{"Copy cell", "Copy all", "-"}));

    parent.results[LXN_BODYCOMMAND] = 1;
    grid.GetSelection().SetMode(CSelection::kMultiple);
    BodyMenu(0, 0, CTableMenus::ID_SELECT_ALL);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{0})); // the recipient took the command
    parent.results.erase(LXN_BODYCOMMAND);
    BodyMenu(0, 0, CTableMenus::ID_SELECT_ALL);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{0, 1}));
}

TEST_F(GridTest, CopyTextsAreMadeWhenTheClipboardIsRead)
{
    AddStandardColumns();
    AddRow("tab\there", 5, true);
    AddRow("two\r\nlines", -3, false);
    AddRow("plain", 12, true);
    grid.SetColumnVisible(2, false);
    grid.MoveColumn(1, 0);
    grid.Update(true);
    QClipboard* clipboard = QApplication::clipboard();

    Click(0);
    Click(2, 0, Qt::ControlModifier);
    BodyMenu(2, 0, CTableMenus::ID_COPY);
    EXPECT_EQ(clipboard->text().toStdString(), "5\ttab*here\t\r\n12\tplain\t\r\n");
    // The selection at the time of pasting counts.
    Click(1);
    EXPECT_EQ(clipboard->text().toStdString(), "-3\ttwo**lines\t\r\n");

    // Sorted by a click on a title: every row, in the order shown.
    ClickTitle(1);
    BodyMenu(1, 0, CTableMenus::ID_COPY_ALL);
    EXPECT_EQ(clipboard->text().toStdString(),
              "-3\ttwo**lines\t\r\n5\ttab*here\t\r\n12\tplain\t\r\n");
    BodyMenu(0, 0, CTableMenus::ID_COPY_CELL);
    EXPECT_EQ(clipboard->text().toStdString(), "two\r\nlines");

    grid.DeleteAllRows();
    BodyMenu(0, 0, CTableMenus::ID_COPY_ALL);
    EXPECT_EQ(clipboard->text(), QString());
}

TEST_F(GridTest, SaveAsWritesTheHtmlText)
{
    AddStandardColumns();
    AddRow("Caf\xC3\xA9<b>&c", 1, true);
    AddRow("   ", -2, false);
    grid.SetColumnVisible(2, false);
    grid.Update(true);
    ClickTitle(1); // the rows as shown: sorted by ping
    grid.setWindowTitle("Server:list");
    QTemporaryDir dir;
    const QString path = dir.filePath("out.html");
    QString offered;
    grid.Clipboard().SetSavePathPrompt([&](const QString& name) {
        offered = name;
        return path;
    });
    BodyMenu(0, 0, CTableMenus::ID_SAVE_AS);
    EXPECT_EQ(offered, "Server_list.html");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // The rows as shown, the visible columns, in Windows-1252 (the export's own test has
    // the whole text).
    const QByteArray html = file.readAll();
    EXPECT_TRUE(html.startsWith("<HTML>"));
    EXPECT_LT(html.indexOf("<TD>-2</TD>"), html.indexOf("<TD>Caf\xE9&lt;b&gt;&amp;c</TD>"));
    EXPECT_EQ(html.indexOf("<TH>PB</TH>"), -1);

    // Cancelling writes nothing.
    grid.Clipboard().SetSavePathPrompt([](const QString&) { return QString(); });
    EXPECT_FALSE(grid.Clipboard().SaveAsHtml());
}

TEST_F(GridTest, EmptyGridsNeitherCrashNorAssert)
{
    const auto exercise = [this] {
        grid.Update(true);
        (void)grid.grab();
        grid.setFocus();
        Key(Qt::Key_Down);
        Key(Qt::Key_End, Qt::ControlModifier);
        Key(Qt::Key_Right);
        QTest::keyClicks(&grid, "ab");
        QTest::mouseClick(&grid.Body(), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseDClick(&grid.Body(), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseClick(&grid.Header(), Qt::LeftButton, {}, QPoint(10, 5));
        for (unsigned command : {CTableMenus::ID_SELECT_ALL, CTableMenus::ID_COPY_CELL,
                                 CTableMenus::ID_RESTORE_DEFAULT, CTableMenus::ID_ALL_COLUMNS}) {
            menus.choose = command;
            grid.Menus().ShowBodyMenu(QPoint(10, 10));
            grid.Menus().ShowBodyMenu(QPoint(-1, -1));
        }
        menus.choose = CTableMenus::ID_SORT_ASCENDING;
        grid.Menus().ShowHeaderMenu(QPoint(10, 5));
        grid.AutoSizeColumns(true);
        grid.FitColumnsToWindow();
    };
    exercise(); // no columns, no layout
    grid.CreateRowLayout();
    exercise(); // no columns
    AddStandardColumns();
    exercise(); // no rows
    FillRows(5);
    for (int c = 0; c < 3; ++c)
        grid.SetColumnVisible(c, false);
    EXPECT_EQ(grid.Clipboard().Text(true), QString("\r\n").repeated(5));
    exercise(); // every column hidden
}

// A wrapper that presents a grid as its own, as a combo box with a drop-down grid does.
class GridWrapper : public CTableCtrlInterface
{
public:
    explicit GridWrapper(CTableCtrl& grid) : CTableCtrlInterface(&grid, &grid) {}
};

TEST_F(GridTest, AWrapperReachesTheTableAndTheViewOfItsGrid)
{
    GridWrapper wrapper(grid);
    wrapper.Clear();
    EXPECT_EQ(wrapper.AddColumn(CStringCol(TextFlags::kLeft), "Name", 90), 0);
    EXPECT_EQ(wrapper.AddColumn(CIntCol(TextFlags::kRight), "Data", -1), 1);
    wrapper.CreateRowLayout(1);
    wrapper.AddRow()->GetCell(0)->Set("first");
    wrapper.AddRow()->GetCell(0)->Set("second");
    wrapper.SetItemData(1, 42);
    wrapper.Sort(std::vector<CSortKey>{{0, true}});
    wrapper.SelectRow(wrapper.FindItemData(42));

    EXPECT_EQ(grid.GetRowCount(), 2);
    EXPECT_EQ(grid.GetSortOrder(), (std::vector<CSortKey>{{0, true}}));
    EXPECT_EQ(grid.GetCellText(0, 0), "second");
    EXPECT_EQ(grid.GetSelectedRow(), 0);
    EXPECT_EQ(wrapper.GetColumnWidth(0), 90);
    EXPECT_FALSE(grid.IsColumnVisible(1));
    EXPECT_EQ(wrapper.GetDlgCtrlID(), 1001);

    // Notifications carry the item data of their row.
    grid.Update(true);
    Click(0);
    EXPECT_EQ(parent.last.nItemData, 42);
    EXPECT_EQ(parent.last.hdr.idFrom, 1001);

    // Without a data column every row reads -1.
    AddStandardColumns();
    FillRows(3);
    EXPECT_EQ(grid.GetItemData(0), -1);
    EXPECT_EQ(grid.FindItemData(0), -1);
}

TEST_F(GridTest, BottomTabsSitLeftOfTheScrollBarScrollWhenTheyOverflowAndReportClicks)
{
    grid.AddColumn(CStringCol(TextFlags::kLeft), "Name", 100);
    grid.CreateRowLayout();
    CBottomTabCtrl& tabs = grid.BottomTab();
    grid.ShowBottomTab(true);
    for (const char* name : {"Servers", "Players"})
        tabs.AddTab(name);
    grid.Update(true);
    // Narrow columns, yet the scroll bar is there, right of the tabs.
    ASSERT_TRUE(tabs.isVisible());
    ASSERT_TRUE(grid.HorzScrollBar().isVisible());
    EXPECT_EQ(tabs.geometry().bottom(), grid.HorzScrollBar().geometry().bottom());
    EXPECT_EQ(tabs.width(), tabs.GetTotalWidth() + CTableCtrl::kBottomTabGap);
    EXPECT_EQ(grid.HorzScrollBar().x(), tabs.geometry().right() + 1);
    EXPECT_FALSE(tabs.ArrowsShown());

    // Tabs wider than the grid: the strip takes two thirds, with scroll arrows.
    for (int i = 0; i < 30; ++i)
        tabs.AddTab(QString("Sheet %1").arg(i));
    grid.Update(true);
    EXPECT_EQ(tabs.width(), grid.GetBodyWidth() * 2 / 3);
    EXPECT_TRUE(tabs.ArrowsShown());
    EXPECT_EQ(grid.HorzScrollBar().x(), tabs.width());

    // A click on the second tab tells the grid's parent, as from the grid.
    const QPoint second(tabs.TabLeft(1) + tabs.GetTab(1).width / 2, tabs.StripHeight() / 2);
    QTest::mouseClick(&tabs, Qt::LeftButton, Qt::NoModifier, second);
    using Heard = std::tuple<QWidget*, int, int>;
    EXPECT_EQ(parent.tabs, (std::vector<Heard>{{&grid, 1001, CBottomTabCtrl::TCN_SELCHANGING},
                                               {&grid, 1001, CBottomTabCtrl::TCN_SELCHANGE}}));

    grid.ShowBottomTab(false);
    EXPECT_FALSE(tabs.isVisible());
    EXPECT_FALSE(grid.HorzScrollBar().isVisible());
}

} // namespace
} // namespace LattixTest
