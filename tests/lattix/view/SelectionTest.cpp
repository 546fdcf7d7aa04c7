// Selection, focus cursor, keyboard navigation and type-ahead of the grid, driven by real
// mouse and key events.
#include "tests/lattix/GridFixture.h"

namespace LattixTest {
namespace {

using Codes = std::vector<int>;

class SelectionTest : public GridTest
{
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        AddStandardColumns();
        FillRows(10);
        parent.log.clear();
    }
};

TEST_F(SelectionTest, ClickShiftClickAndControlClickWithTheirNotifications)
{
    grid.clearFocus();
    EXPECT_EQ(parent.log.back().code, NM_KILLFOCUS);
    parent.log.clear();
    Click(2);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{2}));
    EXPECT_EQ(parent.log.front().code, NM_SETFOCUS);
    EXPECT_EQ(parent.Codes(), (Codes{LXN_ROWCHANGING, LXN_ROWCHANGED, NM_CLICK}));
    EXPECT_EQ(parent.last.nRow, 2);

    parent.log.clear();
    Click(5, 1, Qt::ShiftModifier);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(parent.Codes(), (Codes{LXN_ROWCHANGING, LXN_ROWCHANGED, NM_CLICK}));
    EXPECT_EQ(parent.log[0].row, 5);

    // The same range again changes nothing and tells nothing.
    parent.log.clear();
    Click(5, 1, Qt::ShiftModifier);
    EXPECT_EQ(parent.Codes(), (Codes{NM_CLICK}));

    // Control toggles one row and moves the anchor there.
    Click(3, 0, Qt::ControlModifier);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{2, 4, 5}));
    Click(7, 0, Qt::ShiftModifier);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{3, 4, 5, 6, 7}));
    // Control+shift gives the range the anchor's state, keeping other marks.
    Click(1, 0, Qt::ControlModifier);
    Click(0, 0, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{0, 1, 3, 4, 5, 6, 7}));

    // A plain click on the only marked row is no change.
    Click(4);
    parent.log.clear();
    Click(4);
    EXPECT_EQ(parent.Codes(), (Codes{NM_CLICK}));
    // The release that ends a double click sends no click of its own.
    parent.log.clear();
    QTest::mouseDClick(&grid.Body(), Qt::LeftButton, {}, CellCenter(4, 1));
    EXPECT_EQ(parent.Codes(), (Codes{NM_CLICK, NM_DBLCLK}));
    EXPECT_EQ(parent.last.nColumn, 1);
    EXPECT_EQ(parent.last.nY, CTableCtrl::kHeaderHeight + CellCenter(4, 1).y());

    // A cancelled change keeps the selection, for clicks and keys alike.
    parent.results[LXN_ROWCHANGING] = 1;
    Click(6);
    Click(8, 0, Qt::ShiftModifier);
    Key(Qt::Key_Down);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{4}));
    for (const Received& r : parent.log)
        EXPECT_NE(r.code, LXN_ROWCHANGED);
}

TEST_F(SelectionTest, ProgrammaticAndNestedChangesSendNothingAndRangesStartAtTheAnchorsRow)
{
    grid.SelectRow(4);
    grid.MarkRow(6, true);
    grid.Update(true);
    EXPECT_TRUE(parent.log.empty());
    EXPECT_EQ(grid.GetSelectedRow(), 4);
    // A recipient that changes the selection while told of a change causes no notification
    // of its own.
    parent.onNotify = [this](NMTABLECTRL& n) {
        if (n.hdr.code == LXN_ROWCHANGED)
            grid.SelectRow(0);
        EXPECT_FALSE(grid.AreNotificationsOn());
    };
    Click(8);
    EXPECT_EQ(parent.Codes(), (Codes{LXN_ROWCHANGING, LXN_ROWCHANGED, NM_CLICK}));
    EXPECT_EQ(grid.GetSelectedRow(), 0);
    EXPECT_FALSE(grid.AreNotificationsOn());
    parent.onNotify = nullptr;

    // A shift click's range starts at the anchor's row after a resort.
    Click(2);
    grid.Sort(std::vector<CSortKey>{{1, true}}); // "row 2" is now at index 7
    grid.Update(true);
    Click(9, 0, Qt::ShiftModifier);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{7, 8, 9}));
    // A single-selection grid marks one row.
    grid.GetSelection().SetMode(CSelection::kSingle);
    Click(3, 0, Qt::ShiftModifier);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{3}));
}

// Rows freed while the grid asks for the change a click makes, or after the click: the
// selection is not written to freed records, and a new row that takes one of them gets
// neither the cursor nor the anchor.
TEST_F(SelectionTest, RowsFreedWhileAskedOrAfterAClickKeepNoSelectionCursorOrAnchor)
{
    struct Case
    {
        const char* what;
        Qt::KeyboardModifiers keys;
        int clicked;
        bool whileAsked; // else after the click
        std::function<void(CTableCtrl&)> free;
        std::vector<int> marked;
        std::string cursorText; // after the new row; "" for no cursor row
    };
    const auto dropAll = [](CTableCtrl& g) { g.DeleteAllRows(); };
    const auto dropMarked = [](CTableCtrl& g) { g.DeleteMarkedRows(); };
    const auto drop = [](int row) { return [row](CTableCtrl& g) { g.DeleteRow(row); }; };
    const auto dropFirstFive = [](CTableCtrl& g) {
        for (int i = 0; i < 5; ++i)
            g.DeleteRow(0);
    };
    CTable other;
    other.CopyStructure(grid);
    for (int i = 0; i < 10; ++i)
        other.AddRow()->GetCell(0)->Set("copy " + std::to_string(i));
    const auto none = Qt::NoModifier;
    const std::vector<Case> cases = {
        {"all rows", none, 7, true, dropAll, {}, ""},
        {"the rows above", none, 8, true, dropFirstFive, {3}, "row 8"},
        {"the anchor", Qt::ShiftModifier, 8, true, dropFirstFive, {3}, "row 8"},
        {"the clicked row", Qt::ControlModifier, 8, true, drop(8), {2}, "row 9"},
        {"DeleteRow", none, 3, false, drop(3), {}, "row 4"},
        {"DeleteMarkedRows", none, 3, false, dropMarked, {}, "row 4"},
        {"DeleteAllRows", none, 3, false, dropAll, {}, ""},
        {"CopyRows", none, 3, false, [&](CTableCtrl& g) { g.CopyRows(other); }, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AddStandardColumns();
        FillRows(10);
        Click(2);
        parent.onNotify = [&](NMTABLECTRL& n) {
            if (n.hdr.code == LXN_ROWCHANGING && c.whileAsked)
                c.free(grid);
        };
        Click(c.clicked, 0, c.keys);
        parent.onNotify = nullptr;
        if (!c.whileAsked)
            c.free(grid);
        EXPECT_EQ(MarkedRows(), c.marked);
        const int anchor = grid.GetSelection().GetAnchor();
        EXPECT_LT(anchor, grid.GetRowCount());
        EXPECT_TRUE(c.whileAsked || anchor == -1); // after: the anchor went with its row
        grid.AddRow()->GetCell(0)->Set("new");
        const int cursor = grid.GetCursor().GetRow();
        EXPECT_EQ(cursor < 0 ? "" : grid.GetCellText(cursor, 0), c.cursorText);
        EXPECT_LT(grid.GetSelection().GetAnchor(), grid.GetRowCount() - 1);
    }
}

TEST_F(SelectionTest, ArrowAndPageKeysMoveTheCursorAndTheSelection)
{
    grid.resize(600, CTableCtrl::kHeaderHeight + 4 * grid.GetRowHeight() + 3);
    grid.Update(true);
    ASSERT_EQ(grid.GetRowsPerPage(), 4);
    Click(0);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(grid.GetCursor().GetRow(), 2);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{2}));

    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{2, 3}));
    // Control moves the cursor alone; control+space toggles the cursor row.
    Key(Qt::Key_Down, Qt::ControlModifier);
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{2, 3}));
    Key(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{2, 3, 5}));

    // Page down moves by the rows of a page less one, and stops at the last row.
    Key(Qt::Key_PageDown);
    EXPECT_EQ(grid.GetCursor().GetRow(), 8);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(grid.GetCursor().GetRow(), 9);
    parent.log.clear();
    Key(Qt::Key_PageDown);
    EXPECT_EQ(grid.GetCursor().GetRow(), 9);
    EXPECT_EQ(parent.Codes(), Codes{});
    EXPECT_EQ(grid.GetScrollY(), 6 * grid.GetRowHeight());

    Key(Qt::Key_PageUp);
    EXPECT_EQ(grid.GetCursor().GetRow(), 5);
    Key(Qt::Key_PageUp);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(grid.GetCursor().GetRow(), 0);
    EXPECT_EQ(grid.GetScrollY(), 0);

    // Control+End moves the cursor only; space selects its row.
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.GetCursor().GetRow(), 9);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{0}));
    Key(Qt::Key_Space);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{9}));
    Key(Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(MarkedRows().size(), 10u);
    EXPECT_EQ(parent.keys.back(), 0x24u); // NM_KEYDOWN carries the virtual key
    parent.keyResult = 1;                 // the recipient takes the key
    Key(Qt::Key_Down);
    EXPECT_EQ(grid.GetCursor().GetRow(), 0);
}

TEST_F(SelectionTest, CellCursorWalksVisibleColumns)
{
    grid.SetColumnEditable(1, false); // switches to cell mode
    ASSERT_EQ(grid.GetCursor().GetMode(), CTableCursor::kCellMode);
    grid.SetColumnVisible(1, false);
    grid.Update(true);
    Click(3, 0);
    Key(Qt::Key_Right);
    EXPECT_EQ(grid.GetCursor().GetColumn(), 2);
    Key(Qt::Key_Right);
    EXPECT_EQ(grid.GetCursor().GetColumn(), 2);
    Key(Qt::Key_Home);
    EXPECT_EQ(grid.GetCursor().GetColumn(), 0);
    Key(Qt::Key_End);
    EXPECT_EQ(grid.GetCursor().GetColumn(), 2);
    // A hidden focus column reads as the next visible one.
    grid.GetCursor().SetColumn(1);
    EXPECT_EQ(grid.GetCursor().GetColumn(), 2);
}

TEST_F(SelectionTest, TypeAheadExtendsWithinTheExpiryAndStartsAgainAfterItAndFindTextWrapsRound)
{
    // The text is looked for in the first sorted column.
    grid.Sort(std::vector<CSortKey>{{1, true}});
    grid.setFocus();
    QTest::keyClicks(&grid, "3");
    EXPECT_EQ(grid.GetCellText(grid.GetCursor().GetRow(), 1), "3");

    now += 1200;
    grid.Clear();
    grid.CTableCtrlInterface::AddColumn(CStringCol(TextFlags::kLeft), "Name", 150);
    grid.CreateRowLayout();
    for (const char* name : {"Alpha", "Bravo", "Beta", "Charlie", "bet365", "Delta"})
        grid.AddRow()->GetCell(0)->Set(name);
    grid.Update(true);
    grid.setFocus();

    QTest::keyClicks(&grid, "b");
    EXPECT_EQ(grid.GetCursor().GetRow(), 1);
    now += 1199;
    QTest::keyClicks(&grid, "e");
    EXPECT_EQ(grid.GetTypeAheadText(), "be");
    EXPECT_EQ(grid.GetCursor().GetRow(), 2);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{2}));
    now += 1000;
    QTest::keyClicks(&grid, "T3");
    EXPECT_EQ(grid.GetCursor().GetRow(), 4); // letter case does not count

    // After 1.2 s the next key starts a new text.
    now += 1200;
    QTest::keyClicks(&grid, "d");
    EXPECT_EQ(grid.GetTypeAheadText(), "d");
    EXPECT_EQ(grid.GetCursor().GetRow(), 5);

    // A space after the pause is a key of its own, not part of the old text.
    now += 1200;
    Key(Qt::Key_Space);
    EXPECT_EQ(grid.GetTypeAheadText(), "");
    QTest::keyClicks(&grid, "d");

    // A text that matches nothing moves nothing.
    QTest::keyClicks(&grid, "x");
    EXPECT_EQ(grid.GetCursor().GetRow(), 5);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{5}));

    // Backspace drops the text.
    Key(Qt::Key_Backspace);
    EXPECT_EQ(grid.GetTypeAheadText(), "");

    // FindText wraps round and skips the start row, also in a grid that has no window.
    CTableCtrl plain;
    plain.CTableCtrlInterface::AddColumn(CStringCol(TextFlags::kLeft), "Name", 100);
    plain.CreateRowLayout();
    for (const char* name : {"map", "Mars", "mud", "MAPLE"})
        plain.AddRow()->GetCell(0)->Set(name);
    EXPECT_EQ(plain.FindText(0, "ma", -1), 0);
    EXPECT_EQ(plain.FindText(0, "ma", 0), 1);
    EXPECT_EQ(plain.FindText(0, "MAP", 0), 3);
    EXPECT_EQ(plain.FindText(0, "map", 3), 0);
    EXPECT_EQ(plain.FindText(0, "mud", 2), -1);
    EXPECT_EQ(plain.FindText(0, "", -1), 0);
}

} // namespace
} // namespace LattixTest
