// The enumeration cell editor in a grid, driven by real clicks and keys.
#include "tests/lattix/GridFixture.h"

#include "lattix/edit/ComboTable.h"
#include "lattix/edit/EnumIn.h"
#include "lattix/model/Enum.h"
#include "lattix/view/EnumCol.h"
#include "lattix/view/EnumOut.h"

#include <QAccessible>
#include <QCursor>

#include <functional>

namespace LattixTest {
namespace {

class EnumInTest : public GridTest
{
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        // Listed in value order; the editor lists them in their own order.
        modes->AddEntry(5, "MP - Objective", {}, -1, 3);
        modes->AddEntry(6, "SW - Stopwatch", {}, -1, 1);
        modes->AddEntry(7, "CP - Checkpoint", {}, -1, 2);
        grid.Clear();
        grid.AddColumn(CEnumCol(modes.Get(), CEnumOut::TextOnly), "Mode", 160);
        grid.CreateRowLayout();
        grid.SetAllColumnsEditable(true);
        for (int value : {6, 42, 7})
            grid.AddRow()->GetCell(0)->Set(value);
        grid.Update(true);
        grid.setFocus();
    }
    CEnumIn* Editor()
    {
        CCellInput* input = grid.EditController().GetEditor();
        return input ? dynamic_cast<CEnumIn*>(input) : nullptr;
    }
    // A click on the cell of row, x pixels left of the cell's right edge, with the pointer
    // there as a user's would be.
    void ClickFromRight(int row, int x)
    {
        if (grid.GetCursor().GetRow() != row)
            Click(row);
        const QPoint at(grid.GetColumnWidth(0) - x, CellCenter(row, 0).y());
        QCursor::setPos(grid.Body().mapToGlobal(at));
        QTest::mouseClick(&grid.Body(), Qt::LeftButton, Qt::NoModifier, at);
    }
    std::vector<std::string> ListTexts()
    {
        std::vector<std::string> texts;
        const CTableCtrlInterface& list = Editor()->GetDropDown().Table();
        for (int r = 0; r < list.GetRowCount(); ++r)
            texts.push_back(list.GetCellText(r, 0));
        return texts;
    }

    CEnum modes{"Any"}; // value 0, order 0
};

// A click left of the drop button only edits, an unknown value with the first entry; a click
// on the button opens the list, and the choice is stored.
TEST_F(EnumInTest, ClickLeftOfTheButtonEditsAndOnItOpensTheListWhoseChoiceIsStored)
{
    ClickFromRight(1, 40);
    CEnumIn* editor = Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_FALSE(editor->IsOpened());
    EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Any", "SW - Stopwatch", "CP - Checkpoint",
                                                     "MP - Objective"}));
    EXPECT_EQ(editor->GetCurrentRow(), 0);
    // Screen readers hear it named after its column.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(editor)->text(QAccessible::Name).toStdString(),
              "Mode");
    const std::vector<int> codes = parent.Codes();
    EXPECT_NE(std::find(codes.begin(), codes.end(), LXN_ENUMEDITOPEN), codes.end());

    // Escape leaves the unknown value as it was.
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_EQ(grid.GetCell(1, 0)->GetInt(), 42);

    ClickFromRight(0, 5);
    editor = Editor();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->IsOpened());
    EXPECT_EQ(editor->GetDropDown().Table().GetSelectedRow(), 1); // "SW - Stopwatch", value 6

    parent.log.clear();
    QTest::keyClick(editor->window()->windowHandle(), Qt::Key_Down);
    QTest::keyClick(editor->window()->windowHandle(), Qt::Key_Return);
    EXPECT_FALSE(editor->IsOpened());
    EXPECT_TRUE(grid.IsEditing()); // the key closed the list, not the edit
    EXPECT_EQ(parent.Codes(), std::vector<int>{LXN_ENUMSELCHANGE});

    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_EQ(grid.GetCell(0, 0)->GetInt(), 7);
    EXPECT_EQ(grid.GetCellText(0, 0), "CP - Checkpoint");
}

// What the recipient of LXN_ENUMEDITOPEN does to the edit that is opening.
struct OpenCase
{
    const char* name;
    std::function<void(CTableCtrl&, int row, CEnumIn&)> onOpen;
    bool editing;            // after the click
    std::vector<int> values; // of the grid after Enter
};

class EnumInOpenTest : public EnumInTest, public ::testing::WithParamInterface<OpenCase>
{
};

TEST_P(EnumInOpenTest, RecipientsOfTheOpeningLeaveNoEditorAndNoValueBehind)
{
    const OpenCase& c = GetParam();
    CEnumIn* opened = nullptr;
    parent.onNotify = [&](NMTABLECTRL& n) {
        if (n.hdr.code != LXN_ENUMEDITOPEN)
            return;
        opened = dynamic_cast<CEnumIn*>(static_cast<CCellInput*>(n.pParam));
        c.onOpen(grid, n.nRow, *opened);
    };
    ClickFromRight(0, 40);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(grid.IsEditing(), c.editing);
    if (grid.IsEditing())
        QTest::keyClick(opened, Qt::Key_Return);
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_FALSE(opened->isVisible());
    EXPECT_EQ(opened->parentWidget(), nullptr); // its column alone owns it
    std::vector<int> values;
    for (int r = 0; r < grid.GetRowCount(); ++r)
        values.push_back(grid.GetCell(r, 0)->GetInt());
    EXPECT_EQ(values, c.values);
}

const auto kEndsTheEdit = [](CTableCtrl& g, int, CEnumIn&) { g.EndEdit(true); };
const auto kDeletesTheRow = [](CTableCtrl& g, int row, CEnumIn&) { g.DeleteRow(row); };
const auto kEmptiesTheList = [](CTableCtrl&, int, CEnumIn& e) {
    e.GetDropDown().Table().DeleteAllRows();
};

INSTANTIATE_TEST_SUITE_P(
    EnumIn, EnumInOpenTest,
    ::testing::Values(OpenCase{"EndsTheEdit", kEndsTheEdit, false, {6, 42, 7}},
                      OpenCase{"DeletesTheRow", kDeletesTheRow, false, {42, 7}},
                      OpenCase{"EmptiesTheList", kEmptiesTheList, true, {6, 42, 7}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace LattixTest
