// The grid as screen readers see it, read through Qt's accessibility interfaces while the
// user sorts, hides and moves columns, selects rows and moves the cursor.
#include "tests/lattix/GridFixture.h"

#include "lattix/view/TableAccessible.h"

#include <QAccessible>

namespace LattixTest {
namespace {

// One accessibility event as Qt delivered it.
struct Event
{
    QAccessible::Event type;
    int child = -1;
    int change = -1; // the model change type of a table model change
    int first = -1;
    int last = -1;
    friend bool operator==(const Event&, const Event&) = default;
};

std::ostream& operator<<(std::ostream& out, const Event& e)
{
    return out << "{type 0x" << std::hex << e.type << std::dec << ", child " << e.child
               << ", change " << e.change << ", rows " << e.first << ".." << e.last << "}";
}

class TableAccessibleTest : public GridTest
{
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        grid.Clear();
        grid.AddColumn(CStringCol(TextFlags::kLeft), "Name", 120);
        grid.AddColumn(CIntCol(TextFlags::kRight), "Ping", 50);
        grid.AddColumn(CBoolCol(TextFlags::kCentred, "yes", "no", false), "PB\nPunkBuster", 40);
        grid.AddColumn(CStringCol(TextFlags::kLeft), "Map", 90);
        grid.CreateRowLayout();
        for (const auto& [name, ping, pb, map] :
             std::vector<std::tuple<std::string, int, bool, std::string>>{
                 {"delta", 80, true, "mp_beach"},
                 {"alpha", 20, false, "mp_base"},
                 {"charlie", 999, true, "mp_village"},
                 {"bravo", 45, false, "mp_assault"}}) {
            CRowData* row = grid.AddRow();
            row->GetCell(0)->Set(name);
            row->GetCell(1)->Set(ping);
            row->GetCell(2)->Set(pb);
            row->GetCell(3)->Set(map);
        }
        grid.Update(true);
        table = QAccessible::queryAccessibleInterface(&grid);
        ASSERT_NE(table, nullptr);
        ASSERT_NE(table->tableInterface(), nullptr);
        // Qt passes events on only while a screen reader is active, which no test platform
        // offers; the interface shows them to its observer first.
        dynamic_cast<CTableAccessible&>(*table).SetEventObserver([this](QAccessibleEvent& event) {
            Event e{event.type(), event.child()};
            if (event.type() == QAccessible::TableModelChanged) {
                const auto& change = static_cast<QAccessibleTableModelChangeEvent&>(event);
                e.change = change.modelChangeType();
                e.first = change.firstRow();
                e.last = change.lastRow();
            }
            events.push_back(e);
        });
    }
    // The recorded events of one type.
    std::vector<Event> Events(QAccessible::Event type) const
    {
        std::vector<Event> found;
        for (const Event& e : events) {
            if (e.type == type)
                found.push_back(e);
        }
        return found;
    }

    // The table as it reads: the header names, then one line per row.
    std::vector<std::vector<std::string>> Read() const
    {
        QAccessibleTableInterface* t = table->tableInterface();
        std::vector<std::vector<std::string>> lines(1);
        for (int c = 0; c < t->columnCount(); ++c) {
            QAccessibleInterface* header =
                t->cellAt(0, c)->tableCellInterface()->columnHeaderCells().value(0);
            lines[0].push_back(header ? header->text(QAccessible::Name).toStdString() : "?");
        }
        for (int r = 0; r < t->rowCount(); ++r) {
            lines.emplace_back();
            for (int c = 0; c < t->columnCount(); ++c)
                lines.back().push_back(t->cellAt(r, c)->text(QAccessible::Name).toStdString());
        }
        return lines;
    }

    QAccessibleInterface* table = nullptr;
    std::vector<Event> events;
};

TEST_F(TableAccessibleTest, ReadsTheVisibleColumnsInDisplayOrderAsPainted)
{
    using Lines = std::vector<std::vector<std::string>>;
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(Read(), (Lines{{"Name", "Ping", "PB", "Map"},
                             {"delta", "80", "yes", "mp_beach"},
                             {"alpha", "20", "no", "mp_base"},
                             {"charlie", "999", "yes", "mp_village"},
                             {"bravo", "45", "no", "mp_assault"}}));

    // The user hides Ping, drags Map to the front and sorts by Name with a header click.
    grid.SetColumnVisible(1, false);
    grid.MoveColumn(3, 0);
    grid.Update(true);
    ClickTitle(0);
    ASSERT_EQ(grid.GetSortOrder().size(), 1u);
    const Lines sorted{{"Map", "Name", "PB"},
                       {"mp_base", "alpha", "no"},
                       {"mp_assault", "bravo", "no"},
                       {"mp_village", "charlie", "yes"},
                       {"mp_beach", "delta", "yes"}};
    EXPECT_EQ(Read(), sorted);
    // The same texts as children in reading order.
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            QAccessibleInterface* child = table->child((r + 1) * 3 + c);
            ASSERT_NE(child, nullptr);
            EXPECT_EQ(child->text(QAccessible::Name).toStdString(), sorted[r + 1][c]);
            EXPECT_EQ(table->indexOfChild(child), (r + 1) * 3 + c);
            EXPECT_EQ(child->tableCellInterface()->rowIndex(), r);
            EXPECT_EQ(child->tableCellInterface()->columnIndex(), c);
        }
    }
    EXPECT_EQ(table->childCount(), 5 * 3);
    EXPECT_EQ(table->tableInterface()->columnDescription(2), "PB");
    EXPECT_EQ(table->child(2)->text(QAccessible::Description), "PunkBuster");
    // Sorting reordered the rows: one reset.
    EXPECT_EQ(Events(QAccessible::TableModelChanged),
              (std::vector<Event>{{QAccessible::TableModelChanged, -1,
                                   QAccessibleTableModelChangeEvent::ModelReset, 0, 3}}));

    // A cell's place on the screen is where the body paints it; hit testing finds it again.
    QAccessibleInterface* cell = table->tableInterface()->cellAt(2, 1);
    const QPoint centre = grid.Body().mapToGlobal(CellCenter(2, 0));
    EXPECT_TRUE(cell->rect().contains(centre));
    EXPECT_EQ(table->childAt(centre.x(), centre.y()), cell);
}

TEST_F(TableAccessibleTest, SelectionAndCursorReadBackAndAreAnnounced)
{
    QAccessibleTableInterface* t = table->tableInterface();
    Click(1);
    EXPECT_EQ(Events(QAccessible::SelectionWithin).size(), 1u);
    Click(3, 0, Qt::ControlModifier);
    EXPECT_EQ(Events(QAccessible::SelectionWithin).size(), 2u);
    EXPECT_EQ(t->selectedRows(), (QList<int>{1, 3}));
    EXPECT_EQ(t->selectedCellCount(), 8);
    EXPECT_TRUE(t->cellAt(3, 2)->tableCellInterface()->isSelected());
    EXPECT_TRUE(t->cellAt(3, 2)->state().selected);
    EXPECT_FALSE(t->cellAt(2, 2)->state().selected);

    // Row cursor: the focus is the first cell of the cursor row.
    ASSERT_EQ(table->focusChild(), t->cellAt(3, 0));
    EXPECT_TRUE(t->cellAt(3, 0)->state().focused);
    events.clear();
    Key(Qt::Key_Up);
    EXPECT_EQ(t->selectedRows(), (QList<int>{2}));
    EXPECT_EQ(table->focusChild(), t->cellAt(2, 0));
    EXPECT_EQ(Events(QAccessible::Focus),
              (std::vector<Event>{{QAccessible::Focus, table->indexOfChild(t->cellAt(2, 0))}}));
    EXPECT_EQ(Events(QAccessible::SelectionWithin).size(), 1u);

    // Cell cursor: Right moves the focus cell, control+Down moves it without selecting.
    grid.GetCursor().SetMode(CTableCursor::kCellMode);
    events.clear();
    Key(Qt::Key_Right);
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(table->focusChild(), t->cellAt(3, 1));
    EXPECT_EQ(table->focusChild()->text(QAccessible::Name), "45");
    EXPECT_EQ(Events(QAccessible::Focus),
              (std::vector<Event>{{QAccessible::Focus, table->indexOfChild(t->cellAt(2, 1))},
                                  {QAccessible::Focus, table->indexOfChild(t->cellAt(3, 1))}}));
    EXPECT_TRUE(Events(QAccessible::SelectionWithin).empty());
    EXPECT_EQ(t->selectedRows(), (QList<int>{2}));

    // A screen reader may select rows itself.
    EXPECT_TRUE(t->selectRow(0));
    EXPECT_TRUE(t->unselectRow(2));
    EXPECT_EQ(MarkedRows(), (std::vector<int>{0}));
    EXPECT_EQ(Events(QAccessible::SelectionWithin).size(), 2u);
}

TEST_F(TableAccessibleTest, AddedAndDeletedRowsAreAnnouncedAndTheirCellsReleased)
{
    using Change = QAccessibleTableModelChangeEvent;
    QAccessibleTableInterface* t = table->tableInterface();
    const QAccessible::Id first = QAccessible::uniqueId(t->cellAt(0, 0));
    const QAccessible::Id third = QAccessible::uniqueId(t->cellAt(2, 3));
    const QAccessible::Id fourth = QAccessible::uniqueId(t->cellAt(3, 1));

    for (const char* name : {"echo", "foxtrot"}) {
        CRowData* row = grid.AddRow();
        row->GetCell(0)->Set(std::string(name));
    }
    grid.Update(true);
    EXPECT_EQ(t->rowCount(), 6);
    EXPECT_EQ(t->cellAt(5, 0)->text(QAccessible::Name), "foxtrot");
    // Appending moved no cell.
    EXPECT_EQ(QAccessible::accessibleInterface(third), t->cellAt(2, 3));

    grid.DeleteRow(2);
    grid.Update(true); // nothing more to tell
    // The cells from the deleted row on are given back; the ones before it stay.
    EXPECT_EQ(QAccessible::accessibleInterface(first), t->cellAt(0, 0));
    EXPECT_EQ(QAccessible::accessibleInterface(third), nullptr);
    EXPECT_EQ(QAccessible::accessibleInterface(fourth), nullptr);
    EXPECT_EQ(t->cellAt(2, 0)->text(QAccessible::Name), "bravo");

    grid.DeleteAllRows();
    EXPECT_EQ(
        Events(QAccessible::TableModelChanged),
        (std::vector<Event>{{QAccessible::TableModelChanged, -1, Change::RowsInserted, 4, 5},
                            {QAccessible::TableModelChanged, -1, Change::RowsRemoved, 2, 2},
                            {QAccessible::TableModelChanged, -1, Change::ModelReset, 0, -1}}));
    EXPECT_EQ(t->rowCount(), 0);
    EXPECT_EQ(t->cellAt(0, 0), nullptr);
    EXPECT_EQ(table->childCount(), 4); // the headers
    EXPECT_EQ(dynamic_cast<CTableAccessible*>(table)->CachedCellCount(), 0u);
}

} // namespace
} // namespace LattixTest
