// In-place editing: starting, ending and moving edits with real keys and clicks, what the
// recipient of the editing notifications can do, the integer and check-box editors, and
// edits whose row is sorted away or deleted while the editor is open.
#include "tests/lattix/GridFixture.h"

#include "lattix/edit/CellInput.h"
#include "lattix/edit/IntIn.h"
#include "lattix/edit/ThreeStateIn.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

namespace LattixTest {
namespace {

bool IsEditCode(int code)
{
    return code == LVN_BEGINLABELEDIT || code == LVN_ENDLABELEDIT || code == LXN_EDITCANCELLED ||
           code == LXN_APPENDROW || code == LXN_CELLCHANGED || code == LXN_CHECKCLICKED;
}

class CellEditTest : public GridTest
{
protected:
    // The standard columns, all editable, with rows "row 0" ... and the grid focused.
    void MakeEditableGrid(int rows)
    {
        AddStandardColumns();
        grid.SetAllColumnsEditable(true);
        FillRows(rows);
        grid.setFocus();
    }
    QWidget* Editor() { return EditorOf(grid); }
    static QWidget* EditorOf(CTableCtrl& g)
    {
        CCellInput* input = g.EditController().GetEditor();
        return input ? &input->Window() : nullptr;
    }
    QLineEdit* LineEditor() { return qobject_cast<QLineEdit*>(Editor()); }
    void EditorKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        ASSERT_NE(Editor(), nullptr);
        QTest::keyClick(Editor(), key, modifiers);
    }
    void TypeIntoEditor(const QString& text)
    {
        ASSERT_NE(LineEditor(), nullptr);
        LineEditor()->selectAll();
        QTest::keyClicks(LineEditor(), text);
    }
    // Puts the cursor on row as a first click does, without starting an edit; a click on
    // (row, col) then edits that cell.
    void FocusCell(int row, int col)
    {
        if (grid.GetCursor().GetRow() != row)
            Click(row, col);
        ASSERT_FALSE(grid.IsEditing());
        ASSERT_EQ(grid.GetCursor().GetRow(), row);
    }
    std::vector<int> EditCodes() const
    {
        std::vector<int> codes;
        for (int code : parent.Codes()) {
            if (IsEditCode(code))
                codes.push_back(code);
        }
        return codes;
    }
    std::pair<int, int> EditCell()
    {
        return {grid.EditController().GetEditRow(), grid.EditController().GetEditColumn()};
    }
    void ExpectEditorOverItsCell()
    {
        ASSERT_NE(Editor(), nullptr);
        const auto [row, col] = EditCell();
        EXPECT_TRUE(Editor()->isVisible());
        EXPECT_EQ(Editor()->parentWidget(), &grid.Body());
        EXPECT_TRUE(grid.GetCellRect(row, col).contains(Editor()->geometry())) << row << "," << col;
    }
};

// ---------------------------------------------------------------- start and end

enum class Start
{
    kSpace,
    kClick,
    kF2,
    kDoubleClick, // on a cell away from the cursor
};

struct StartEndCase
{
    const char* name;
    Start start;
    Qt::Key end;
    std::intptr_t endResult; // the recipient's answer to LVN_ENDLABELEDIT
    bool changeScratch;      // the recipient rewrites the value it is given
    const char* stored;
    std::vector<int> codes;
};

class StartEndTest : public CellEditTest, public ::testing::WithParamInterface<StartEndCase>
{
};

TEST_P(StartEndTest, TypedTextReachesTheModelAsTheRecipientDecides)
{
    const StartEndCase& c = GetParam();
    MakeEditableGrid(4);
    FocusCell(1, 0);
    parent.log.clear();
    parent.results[LVN_ENDLABELEDIT] = c.endResult;
    int beginUserStart = 0;
    std::string scratchAtBegin;
    parent.onNotify = [&](NMTABLECTRL& n) {
        if (n.hdr.code == LVN_BEGINLABELEDIT) {
            beginUserStart = n.nX == 1 && n.nY == 1;
            scratchAtBegin = n.pCell->GetString();
        }
        if (n.hdr.code == LVN_ENDLABELEDIT && c.changeScratch)
            n.pCell->Set(n.pCell->GetString() + "!");
    };
    if (c.start == Start::kSpace || c.start == Start::kF2) {
        Key(c.start == Start::kSpace ? Qt::Key_Space : Qt::Key_F2);
    } else if (c.start == Start::kDoubleClick) {
        Click(0, 0); // the first click moves the cursor away and back, not into an edit
        Click(1, 0);
        QTest::mouseDClick(&grid.Body(), Qt::LeftButton, {}, CellCenter(1, 0));
    } else {
        Click(1, 0);
    }
    ASSERT_TRUE(grid.IsEditing());
    EXPECT_TRUE(beginUserStart);
    EXPECT_EQ(scratchAtBegin, "row 1");
    ExpectEditorOverItsCell();
    EXPECT_EQ(LineEditor()->selectedText(), "row 1");

    // Focus in the editor is the grid's focus.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Editor()->hasFocus(); }));
    EXPECT_TRUE(grid.HasFocus());

    TypeIntoEditor("Anna");
    EditorKey(c.end);
    EXPECT_TRUE(grid.hasFocus());
    EXPECT_TRUE(std::none_of(parent.log.begin(), parent.log.end(), [](const Received& r) {
        return r.code == NM_KILLFOCUS || r.code == NM_SETFOCUS;
    }));
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(grid.GetCell(1, 0)->GetString(), c.stored);
    EXPECT_EQ(EditCodes(), c.codes);
    EXPECT_EQ(Column(0)[0], "row 0");
}

const std::vector<int> kEditCommitted = {LVN_BEGINLABELEDIT, LVN_ENDLABELEDIT, LXN_CELLCHANGED};
const std::vector<int> kEditDiscarded = {LVN_BEGINLABELEDIT, LVN_ENDLABELEDIT};
const std::vector<int> kEditCancelled = {LVN_BEGINLABELEDIT, LXN_EDITCANCELLED};

INSTANTIATE_TEST_SUITE_P(
    CellEdit, StartEndTest,
    ::testing::Values(
        StartEndCase{"SpaceEnter", Start::kSpace, Qt::Key_Return, 0, false, "Anna", kEditCommitted},
        StartEndCase{"ClickEnter", Start::kClick, Qt::Key_Enter, 0, false, "Anna", kEditCommitted},
        StartEndCase{"F2Enter", Start::kF2, Qt::Key_Return, 0, false, "Anna", kEditCommitted},
        StartEndCase{"DoubleClickEnter", Start::kDoubleClick, Qt::Key_Return, 0, false, "Anna",
                     kEditCommitted},
        StartEndCase{"ClickEscape", Start::kClick, Qt::Key_Escape, 0, false, "row 1",
                     kEditCancelled},
        StartEndCase{"RecipientDiscards", Start::kSpace, Qt::Key_Return, 1, false, "row 1",
                     kEditDiscarded},
        StartEndCase{"RecipientChangesTheValue", Start::kSpace, Qt::Key_Return, 0, true, "Anna!",
                     kEditCommitted}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CellEditTest, EditorKeysWinOverTheDialogAroundTheGrid)
{
    QDialog dialog;
    int finished = 0;
    QObject::connect(&dialog, &QDialog::finished, [&] { ++finished; });
    auto* ok = new QPushButton("OK", &dialog); // owned by the dialog
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    CTableCtrl inDialog;
    inDialog.Create(kVisible, 0, 0, 300, 200, &dialog, 1002);
    inDialog.AddColumn(CStringCol(TextFlags::kLeft), "Name", 100);
    inDialog.AddColumn(CStringCol(TextFlags::kLeft), "Note", 100);
    inDialog.CreateRowLayout();
    inDialog.SetAllColumnsEditable(true);
    inDialog.AddRow()->GetCell(0)->Set(std::string("a"));
    inDialog.Update(true);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    inDialog.setFocus();
    inDialog.SelectRow(0);
    QTest::keyClick(&inDialog, Qt::Key_Space);
    ASSERT_TRUE(inDialog.IsEditing());
    ASSERT_TRUE(QTest::qWaitFor([&] { return EditorOf(inDialog)->hasFocus(); }));
    QTest::keyClick(EditorOf(inDialog), Qt::Key_Tab);
    EXPECT_EQ(inDialog.EditController().GetEditColumn(), 1); // not the OK button
    QTest::keyClicks(EditorOf(inDialog), "x");
    QTest::keyClick(EditorOf(inDialog), Qt::Key_Escape);
    QTest::keyClick(&inDialog, Qt::Key_Space);
    QTest::keyClicks(EditorOf(inDialog), "y");
    QTest::keyClick(EditorOf(inDialog), Qt::Key_Return);
    EXPECT_EQ(inDialog.GetCell(0, 1)->GetString(), "y");
    EXPECT_EQ(finished, 0);
    EXPECT_TRUE(dialog.isVisible());
}

// ---------------------------------------------------------------- moving with keys

struct MoveCase
{
    const char* name;
    int rows;
    std::pair<int, int> from;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    std::intptr_t appendResult; // the recipient's answer to LXN_APPENDROW
    std::pair<int, int> to;
    int appended;
};

class MoveTest : public CellEditTest, public ::testing::WithParamInterface<MoveCase>
{
};

// Column 0 (name) is read-only; ping and pb are editable.
TEST_P(MoveTest, KeysCommitAndReopenInTheNextEditableCell)
{
    const MoveCase& c = GetParam();
    MakeEditableGrid(c.rows);
    grid.SetColumnEditable(0, false);
    int appended = 0;
    parent.results[LXN_APPENDROW] = c.appendResult;
    parent.onNotify = [&](NMTABLECTRL& n) {
        if (n.hdr.code == LXN_APPENDROW && c.appendResult != 0) {
            AddRow("new", -1, false);
            ++appended;
        }
    };
    FocusCell(c.from.first, c.from.second);
    Click(c.from.first, c.from.second);
    ASSERT_TRUE(grid.IsEditing());
    if (c.from.second == 1)
        TypeIntoEditor("77");
    EditorKey(c.key, c.modifiers);
    ASSERT_TRUE(grid.IsEditing());
    EXPECT_EQ(EditCell(), c.to);
    EXPECT_EQ(appended, c.appended);
    EXPECT_EQ(grid.GetRowCount(), c.rows + c.appended);
    EXPECT_EQ(grid.GetCursor().GetRow(), c.to.first);
    EXPECT_EQ(MarkedRows(), std::vector<int>{c.to.first});
    ExpectEditorOverItsCell();
    if (c.from.second == 1) { // the value typed before the move was committed
        EXPECT_EQ(grid.GetCell(c.from.first, 1)->GetInt(), 77);
    }
}

constexpr auto kNoMod = Qt::NoModifier;
constexpr auto kShift = Qt::ShiftModifier;

INSTANTIATE_TEST_SUITE_P(
    CellEdit, MoveTest,
    ::testing::Values(
        MoveCase{"TabWithinRow", 3, {0, 1}, Qt::Key_Tab, kNoMod, 0, {0, 2}, 0},
        MoveCase{"TabSkipsReadOnlyToNextRow", 3, {0, 2}, Qt::Key_Tab, kNoMod, 0, {1, 1}, 0},
        MoveCase{"BacktabToPreviousRow", 3, {1, 1}, Qt::Key_Backtab, kShift, 0, {0, 2}, 0},
        MoveCase{"ShiftTabToPreviousRow", 3, {1, 1}, Qt::Key_Tab, kShift, 0, {0, 2}, 0},
        MoveCase{"BacktabInFirstCellStays", 3, {0, 1}, Qt::Key_Backtab, kShift, 0, {0, 1}, 0},
        MoveCase{"TabAtEndAppendsARow", 2, {1, 2}, Qt::Key_Tab, kNoMod, 1, {2, 1}, 1},
        MoveCase{"TabAtEndWrapsWithoutNewRow", 2, {1, 2}, Qt::Key_Tab, kNoMod, 0, {1, 1}, 0},
        MoveCase{"PageDownOneRow", 3, {0, 1}, Qt::Key_PageDown, kNoMod, 0, {1, 1}, 0},
        MoveCase{"PageDownInLastRowStays", 3, {2, 1}, Qt::Key_PageDown, kNoMod, 0, {2, 1}, 0},
        MoveCase{"PageUpOneRow", 3, {2, 1}, Qt::Key_PageUp, kNoMod, 0, {1, 1}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- editors

// (What the number edit reads of a text is checked in NumberEditTest.)
TEST_F(CellEditTest, IntegerEditorTruncatesTowardZeroAndAHeldSpinButtonCountsNoFurther)
{
    MakeEditableGrid(3);
    for (const auto& [typed, stored] : std::vector<std::pair<QString, int>>{
             {"12.7", 12}, {"-12.7", -12}, {"1e400", 2147483647}, {"-1e400", -2147483647 - 1}}) {
        FocusCell(1, 1);
        Click(1, 1);
        auto* edit = dynamic_cast<CIntIn*>(grid.EditController().GetEditor());
        ASSERT_NE(edit, nullptr);
        EXPECT_TRUE(edit->ButtonsShown());
        TypeIntoEditor(typed);
        EditorKey(Qt::Key_Return);
        EXPECT_EQ(grid.GetCell(1, 1)->GetInt(), stored) << typed.toStdString();
    }

    // A spin button held while the edit ends counts no further.
    FocusCell(0, 1);
    Click(0, 1);
    auto* edit = dynamic_cast<CIntIn*>(grid.EditController().GetEditor());
    ASSERT_NE(edit, nullptr);
    QTest::mousePress(edit, Qt::LeftButton, {}, edit->ButtonRect(CSpinEdit::kUp).center());
    EXPECT_EQ(edit->GetValue(), 1);
    EditorKey(Qt::Key_Return); // the mouse button is still down
    EXPECT_EQ(grid.GetCell(0, 1)->GetInt(), 1);
    EXPECT_EQ(edit->GetCaptured(), 0);

    // The next integer edit shows and stores its own cell's value.
    FocusCell(2, 1);
    Click(2, 1);
    ASSERT_EQ(grid.EditController().GetEditor(), edit);
    if (edit->RepeatTimer().isActive()) // as the timer would fire
        edit->OnRepeatTimer();
    EditorKey(Qt::Key_Return);
    EXPECT_EQ(grid.GetCell(2, 1)->GetInt(), 2);
}

TEST_F(CellEditTest, CheckBoxesToggleAtOnceAndRefusedOrReadOnlyCellsOpenNoEditor)
{
    MakeEditableGrid(3); // row 1 holds false
    FocusCell(1, 2);
    parent.log.clear();
    std::vector<bool> clickedValues;
    parent.onNotify = [&](NMTABLECTRL& n) {
        if (n.hdr.code == LXN_CHECKCLICKED)
            clickedValues.push_back(n.pCell->GetBool());
    };
    Click(1, 2);
    auto* box = qobject_cast<QCheckBox*>(Editor());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->checkState(), Qt::Checked);
    ExpectEditorOverItsCell();
    EXPECT_EQ(box->geometry().center().x(), grid.GetCellRect(1, 2).center().x()); // centred
    EXPECT_FALSE(grid.GetCell(1, 2)->GetBool());
    EditorKey(Qt::Key_Escape);
    EXPECT_FALSE(grid.GetCell(1, 2)->GetBool());
    EXPECT_EQ(EditCodes(),
              (std::vector<int>{LVN_BEGINLABELEDIT, LXN_CHECKCLICKED, LXN_EDITCANCELLED}));

    // A click on the open box toggles it back; Enter stores what it shows.
    Click(1, 2);
    ASSERT_TRUE(grid.IsEditing());
    box = qobject_cast<QCheckBox*>(Editor());
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, box->rect().center());
    EXPECT_EQ(box->checkState(), Qt::Unchecked);
    EditorKey(Qt::Key_Return);
    EXPECT_FALSE(grid.GetCell(1, 2)->GetBool());
    EXPECT_EQ(clickedValues, (std::vector<bool>{true, true, false}));

    // A refused edit or a read-only cell opens no editor.
    parent.log.clear();
    FocusCell(0, 0);
    parent.results[LVN_BEGINLABELEDIT] = 1;
    Key(Qt::Key_Space);
    EXPECT_FALSE(grid.IsEditing());
    Click(0, 0);
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_EQ(EditCodes(), (std::vector<int>{LVN_BEGINLABELEDIT, LVN_BEGINLABELEDIT}));

    parent.results.clear();
    grid.SetColumnEditable(0, false);
    Click(0, 0);
    EXPECT_FALSE(grid.IsEditing());
    for (QWidget* child : grid.Body().findChildren<QWidget*>())
        EXPECT_FALSE(child->isVisible());
}

// ---------------------------------------------------------------- scrolled, sorted, deleted

TEST_F(CellEditTest, EditsOfASortedGridReachTheRowsShown)
{
    MakeEditableGrid(5);
    ClickTitle(1); // ping ascending
    ClickTitle(1); // descending: row 4 on top
    ASSERT_EQ(Column(0)[0], "row 4");
    FocusCell(0, 0);
    Key(Qt::Key_Space);
    ASSERT_TRUE(grid.IsEditing());
    EXPECT_EQ(LineEditor()->text(), "row 4");
    TypeIntoEditor("top");
    EditorKey(Qt::Key_PageDown);
    EXPECT_EQ(LineEditor()->text(), "row 3");
    EditorKey(Qt::Key_Escape);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"top", "row 3", "row 2", "row 1", "row 0"}));

    // Long texts pass the text editor whole.
    const std::string longText(40000, 'x');
    grid.GetCell(1, 0)->Set(longText);
    FocusCell(1, 0);
    Key(Qt::Key_Space);
    ASSERT_NE(LineEditor(), nullptr);
    QTest::keyClick(LineEditor(), Qt::Key_End);
    QTest::keyClicks(LineEditor(), "y");
    EditorKey(Qt::Key_Return);
    EXPECT_TRUE(grid.GetCell(1, 0)->GetString() == longText + "y"); // without printing it
}

TEST_F(CellEditTest, DeletingRowsUnderAnOpenEditor)
{
    MakeEditableGrid(4);
    // Deleting another row: the edit stays on its row and commits there.
    FocusCell(2, 0);
    Click(2, 0);
    TypeIntoEditor("kept");
    parent.onNotify = [&](NMTABLECTRL& n) {
        if (n.hdr.code == LVN_ENDLABELEDIT)
            grid.DeleteRow(0); // a recipient that changes the rows during the commit
    };
    EditorKey(Qt::Key_Return);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"row 1", "kept", "row 3"}));
    parent.onNotify = nullptr;

    // Deleting the edited row (a dialog's Delete while the editor is open) drops the edit;
    // the record handed to the next new row is not written.
    FocusCell(1, 0);
    Click(1, 0);
    ASSERT_TRUE(grid.IsEditing());
    TypeIntoEditor("lost");
    parent.log.clear();
    std::string cancelled;
    parent.onNotify = [&](NMTABLECTRL& n) {
        if (n.hdr.code == LXN_EDITCANCELLED)
            cancelled = n.pCell->GetString() + " at " + std::to_string(n.nRow);
    };
    {
        // Reported only while notifications are on, as inside one of the grid's events.
        CTableCtrl::CNotifyScope userAction(grid);
        grid.DeleteRow(1);
    }
    EXPECT_EQ(cancelled, "lost at -1");
    EXPECT_EQ(Editor(), nullptr);
    AddRow("fresh", 9, false);
    grid.Update(true);
    grid.EndEdit(false);
    Key(Qt::Key_Return);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"row 1", "row 3", "fresh"}));
    for (QWidget* child : grid.Body().findChildren<QWidget*>())
        EXPECT_FALSE(child->isVisible());

    // A recipient that deletes the row as its edit begins: no editor opens, and the row
    // that moves up under the cursor keeps its value.
    parent.onNotify = [&](NMTABLECTRL& n) {
        if (n.hdr.code == LVN_BEGINLABELEDIT)
            grid.DeleteRow(n.nRow);
    };
    FocusCell(0, 0);
    Click(0, 0);
    EXPECT_FALSE(grid.IsEditing());
    grid.EndEdit(false);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"row 3", "fresh"}));
}

} // namespace
} // namespace LattixTest
