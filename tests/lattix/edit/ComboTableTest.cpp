#include "lattix/edit/ComboTable.h"
#include "lattix/view/StringCol.h"
#include "lattix/view/TableAccessible.h"
#include "lattix/view/TextFlags.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using Lattix::CComboTable;

constexpr int kComboId = 700;
// The commands of a list opened and closed choosing a row, or cancelled.
const std::vector<int> kChosen = {CComboTable::CBN_DROPDOWN, CComboTable::CBN_ROWSET,
                                  CComboTable::CBN_SELENDOK, CComboTable::CBN_CLOSEUP,
                                  CComboTable::CBN_SELCHANGE};
const std::vector<int> kCancelled = {CComboTable::CBN_DROPDOWN, CComboTable::CBN_SELENDCANCEL,
                                     CComboTable::CBN_CLOSEUP};

// A dialog with a combo table and a button beside it; records the combo's commands.
class ComboTableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dialog.resize(400, 300);
        combo.setGeometry(10, 10, 80, 22);
        combo.SetClock([this] { return now; });
        combo.SetBeeper([this] { ++beeps; });
        button.setGeometry(200, 200, 80, 24);
        QObject::connect(&combo, &CComboTable::Command, [this](int id, int code) {
            EXPECT_EQ(id, kComboId);
            codes.push_back(code);
        });
        QObject::connect(&button, &QPushButton::pressed, [this] { ++buttonPresses; });
        combo.AddColumn(Lattix::CStringCol(Lattix::TextFlags::kLeft), "Name", 60);
        combo.CreateRowLayout();
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        combo.setFocus();
    }
    void Fill(const std::vector<std::string>& names)
    {
        for (const std::string& name : names)
            combo.AddRow()->GetCell(0)->Set(name);
        combo.Update(true);
    }
    void FillNumbered(int n)
    {
        std::vector<std::string> names;
        for (int i = 0; i < n; ++i)
            names.push_back("a rather long entry " + std::to_string(i));
        Fill(names);
    }
    std::vector<int> Take() { return std::exchange(codes, {}); }
    // A key as the window system delivers it: to the open list, or to the focused face.
    void Key(Qt::Key key) { QTest::keyClick(dialog.windowHandle(), key); }
    // A click as the window system delivers it, at a point of a widget of the dialog.
    void ClickAt(QWidget& widget, QPoint pos)
    {
        QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          widget.mapTo(&dialog, pos));
    }
    Lattix::CComboTableDrop& Drop() { return combo.GetDropDown(); }
    QWidget& DropWindow() { return Drop().Widget(); }
    QScrollBar& DropBar(Qt::Orientation orientation)
    {
        for (QScrollBar* bar : DropWindow().findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly))
            if (bar->orientation() == orientation)
                return *bar;
        throw std::logic_error("the list has no such scroll bar");
    }
    int BarExtent() const { return dialog.style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

    QWidget dialog;
    CComboTable combo{kComboId, &dialog};
    QPushButton button{"Other", &dialog};
    std::vector<int> codes;
    int beeps = 0;
    int buttonPresses = 0;
    std::int64_t now = 100000;
};

TEST_F(ComboTableTest, DropDownShowsUpToEightRowsWidensForItsScrollBarAndStaysOnTheScreen)
{
    struct Case
    {
        int rows;
        int shownRows;
        bool scrollBar;
    };
    for (const Case& c : {Case{3, 3, false}, Case{20, 8, true}, Case{0, 1, false}}) {
        SCOPED_TRACE(c.rows);
        combo.DeleteAllRows();
        FillNumbered(c.rows);
        Key(Qt::Key_F4);
        ASSERT_TRUE(combo.IsOpened());
        ASSERT_TRUE(DropWindow().isVisible());
        EXPECT_EQ(Take(), std::vector<int>{CComboTable::CBN_DROPDOWN});
        const int rowHeight = Drop().Host().GetRowHeight();
        const QRect drop = DropWindow().geometry();
        EXPECT_EQ(drop.height(), c.shownRows * rowHeight + Lattix::CTableCtrl::kHeaderHeight + 2);
        EXPECT_EQ(Drop().Host().GetRowsPerPage(), c.shownRows);
        EXPECT_EQ(DropBar(Qt::Vertical).isVisible(), c.scrollBar);
        EXPECT_FALSE(DropBar(Qt::Horizontal).isVisible());
        // The columns fit beside the scroll bar, wider than the face.
        const int columns = Drop().Host().Geometry().GetTotalWidth();
        EXPECT_GT(columns, combo.width());
        EXPECT_EQ(drop.width(), columns + 2 + (c.scrollBar ? BarExtent() : 0));
        EXPECT_EQ(drop.topLeft(), combo.mapToGlobal(QPoint(0, combo.height())));
        Key(Qt::Key_Escape);
        EXPECT_FALSE(DropWindow().isVisible());
        EXPECT_EQ(Take(),
                  (std::vector<int>{CComboTable::CBN_SELENDCANCEL, CComboTable::CBN_CLOSEUP}));
    }

    FillNumbered(5);
    const QRect screen = dialog.screen()->availableGeometry();
    const QRect whole = dialog.screen()->geometry();
    // Near the right edge: the list ends there and makes room for a horizontal scroll bar.
    dialog.move(screen.right() - dialog.width() + 1, screen.top() + 20);
    combo.move(dialog.width() - combo.width(), 10);
    QApplication::processEvents();
    combo.ShowDropDown(true);
    const int rowHeight = Drop().Host().GetRowHeight();
    const int listHeight = 5 * rowHeight + Lattix::CTableCtrl::kHeaderHeight + 2;
    EXPECT_EQ(DropWindow().geometry().right(), screen.right());
    EXPECT_EQ(DropWindow().geometry().height(), listHeight + BarExtent());
    EXPECT_EQ(Drop().Host().GetRowsPerPage(), 5);
    EXPECT_TRUE(DropBar(Qt::Horizontal).isVisible());
    combo.CloseDropDown(false);

    // Near the bottom: the list goes above the face.
    dialog.move(screen.left() + 20, whole.bottom() - dialog.height() + 1);
    combo.move(10, dialog.height() - combo.height());
    QApplication::processEvents();
    combo.ShowDropDown(true);
    EXPECT_EQ(DropWindow().geometry().bottom() + 1, combo.mapToGlobal(QPoint(0, 0)).y());
    EXPECT_EQ(DropWindow().geometry().height(), listHeight);
    combo.CloseDropDown(false);
}

TEST_F(ComboTableTest, TypingSelectsTheNextMatchingRowOrBeeps)
{
    Fill({"Alpha", "Beta", "Bravo", "Charlie"});
    combo.SelectRow(3);
    Take();
    struct Step
    {
        Qt::Key key;
        int row;
        std::vector<int> codes;
        int beeps;
    };
    const std::vector<int> chosen = {CComboTable::CBN_ROWSET, CComboTable::CBN_SELCHANGE,
                                     CComboTable::CBN_SELENDOK};
    const std::vector<Step> steps = {
        {Qt::Key_C, 3, {}, 1},     // only the current row starts so
        {Qt::Key_B, 1, chosen, 1}, // "Beta"
        {Qt::Key_B, 2, chosen, 1}, // the other one: "Bravo"
        {Qt::Key_B, 1, chosen, 1}, // and round again
        {Qt::Key_Z, 1, {}, 2},     // none
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.row);
        now += 3000; // each key starts a new text
        Key(s.key);
        EXPECT_EQ(combo.GetCurrentRow(), s.row);
        EXPECT_EQ(Drop().Table().GetSelectedRow(), s.row);
        EXPECT_EQ(combo.GetText().toStdString(), combo.GetCellText(s.row, 0));
        EXPECT_EQ(Take(), s.codes);
        EXPECT_EQ(beeps, s.beeps);
    }
    EXPECT_FALSE(combo.IsOpened());
}

TEST_F(ComboTableTest, ClickOutsideClosesWithCancelAndGoesNowhereAndPressDragAndReleaseChoose)
{
    Fill({"Alpha", "Beta", "Gamma"});
    combo.SelectRow(1);
    Take();
    ClickAt(combo, combo.ButtonRect().center());
    ASSERT_TRUE(combo.IsOpened());
    QTest::mouseClick(&Drop().Host().Body(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(5, 2 * Drop().Host().GetRowHeight() + 2));
    EXPECT_FALSE(combo.IsOpened());
    EXPECT_EQ(combo.GetCurrentRow(), 2);
    EXPECT_EQ(Take(), kChosen);

    ClickAt(combo, combo.ButtonRect().center());
    ASSERT_TRUE(combo.IsOpened());
    Key(Qt::Key_Up);
    ClickAt(button, QPoint(10, 10));
    EXPECT_FALSE(combo.IsOpened());
    EXPECT_FALSE(DropWindow().isVisible());
    EXPECT_EQ(buttonPresses, 0);
    EXPECT_EQ(Take(), kCancelled);
    EXPECT_EQ(combo.GetCurrentRow(), 2);
    EXPECT_EQ(combo.GetText(), "Gamma");
    // The next click is the button's again.
    ClickAt(button, QPoint(10, 10));
    EXPECT_EQ(buttonPresses, 1);

    // A press on the text, a drag into the list and a release there choose.
    combo.SelectRow(0);
    Take();
    const QPoint text = combo.mapTo(&dialog, QPoint(5, 5));
    QTest::mousePress(dialog.windowHandle(), Qt::LeftButton, Qt::NoModifier, text);
    ASSERT_TRUE(combo.IsOpened());
    const QWidget& body = Drop().Host().Body();
    const auto over = [&](int row) {
        return dialog.mapFromGlobal(body.mapToGlobal(
            QPoint(5, row * Drop().Host().GetRowHeight() + Drop().Host().GetRowHeight() / 2)));
    };
    for (int row : {1, 2}) {
        QTest::mouseMove(dialog.windowHandle(), over(row));
        EXPECT_EQ(Drop().Table().GetSelectedRow(), row);
    }
    QTest::mouseRelease(dialog.windowHandle(), Qt::LeftButton, Qt::NoModifier, over(2));
    EXPECT_FALSE(combo.IsOpened());
    EXPECT_EQ(combo.GetCurrentRow(), 2);
    EXPECT_EQ(Take(), kChosen);
}

TEST_F(ComboTableTest, ScreenReadersFollowTheOpenListAndEnterAcceptsItsHighlightedRow)
{
    QLabel label("&Game type:", &dialog);
    label.setBuddy(&combo);
    Fill({"Alpha", "Beta", "Gamma"});
    combo.SelectRow(0);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&combo);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->text(QAccessible::Name).toStdString(), "Game type:");
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&DropWindow());
    ASSERT_NE(list, nullptr);

    // The face keeps the keyboard, but while the list is open a screen reader follows its
    // highlighted row.
    std::vector<int> focused;
    dynamic_cast<Lattix::CTableAccessible&>(*list).SetEventObserver([&](QAccessibleEvent& e) {
        if (e.type() == QAccessible::Focus)
            focused.push_back(e.child());
    });
    const auto cell = [&](int row) { return list->tableInterface()->cellAt(row, 0); };
    Key(Qt::Key_F4);
    Key(Qt::Key_Down);
    EXPECT_EQ(focused,
              (std::vector<int>{list->indexOfChild(cell(0)), list->indexOfChild(cell(1))}));
    EXPECT_TRUE(cell(1)->state().focused);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(cell(0)->state().focused);
    EXPECT_TRUE(face->state().focused);

    // Enter takes the row highlighted in the open list; the row set by the key stays the only
    // change, so that later selections are not swallowed.
    Take();
    Key(Qt::Key_F4);
    Key(Qt::Key_Down);
    EXPECT_EQ(combo.GetCurrentRow(), 0);
    Key(Qt::Key_Return);
    EXPECT_FALSE(combo.IsOpened());
    EXPECT_EQ(Take(), kChosen);
    EXPECT_EQ(combo.GetText(), "Beta");
    Key(Qt::Key_F4);
    Key(Qt::Key_Return);
    combo.SelectRow(2);
    EXPECT_EQ(combo.GetText(), "Gamma");
}

} // namespace
