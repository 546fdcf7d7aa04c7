#include "lattix/model/Table.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace Lattix;

// A cell kind that needs destruction and counts its live instances, so that tests see
// every cell constructed and destroyed exactly once. It can be told to fail its next copies.
struct CellCounter
{
    int live = 0;
    int failAfter = -1; // copies left before a copy throws; -1 never
};

class CCounted : public CCellData
{
public:
    CCounted() = default;
    CCounted(const CCounted& other) : CCellData(other), m_pCounter(other.m_pCounter), m_n(other.m_n)
    {
        if (m_pCounter != nullptr) {
            if (m_pCounter->failAfter == 0)
                throw std::runtime_error("copy fails");
            if (m_pCounter->failAfter > 0)
                --m_pCounter->failAfter;
            ++m_pCounter->live;
        }
    }
    ~CCounted() override
    {
        if (m_pCounter != nullptr)
            --m_pCounter->live;
    }
    CCounted& operator=(const CCounted&) = delete;

    void Attach(CellCounter& counter)
    {
        m_pCounter = &counter;
        ++counter.live;
    }

    using CCellData::Set;
    void Set(int value) override { m_n = value; }
    int GetInt() const override { return m_n; }
    void Assign(const CCellData& source) override { m_n = source.GetInt(); }
    bool operator<(const CCellData& other) const override { return m_n < other.GetInt(); }
    bool NeedsDestruction() const override { return true; }
    CCellData* CopyConstructAt(void* storage) const override
    {
        return ::new (storage) CCounted(*this);
    }

private:
    CellCounter* m_pCounter = nullptr;
    int m_n = 0;
};

template <class T>
int AddColumnOf(CTableInterface& table)
{
    return table.AddColumn(std::make_unique<CFAny<T>>(), std::make_unique<CCellCompare>());
}

void AddCountedColumn(CTable& table, CellCounter& counter)
{
    auto factory = std::make_unique<CFAny<CCounted>>();
    factory->GetPrototype()->Attach(counter);
    table.AddColumn(std::move(factory), std::make_unique<CCellCompare>());
}

// Columns: 0 integer, 1 text, 2 integer.
void MakeIntTextInt(CTable& table)
{
    AddColumnOf<CDInt>(table);
    AddColumnOf<CDString>(table);
    AddColumnOf<CDInt>(table);
    table.CreateRowLayout();
}

CRowData* AddRow(CTableInterface& table, int a, const char* text = "", int c = 0)
{
    CRowData* row = table.AddRow();
    row->GetCell(0)->Set(a);
    row->GetCell(1)->Set(text);
    row->GetCell(2)->Set(c);
    return row;
}

std::vector<int> Column0(const CTableInterface& table)
{
    std::vector<int> values;
    for (int r = 0; r < table.GetRowCount(); ++r)
        values.push_back(table.GetCell(r, 0)->GetInt());
    return values;
}

std::vector<std::string> Texts(const CTableInterface& table, int col)
{
    std::vector<std::string> values;
    for (int r = 0; r < table.GetRowCount(); ++r)
        values.push_back(table.GetCell(r, col)->GetString());
    return values;
}

// Presents a table without implementing it, as the grid control does.
class CWrapper : public CTableInterface
{
public:
    explicit CWrapper(CTableInterface& target) : CTableInterface(&target) {}
};

// A table of the columns integer, text, integer.
class TableTest : public ::testing::Test
{
protected:
    void SetUp() override { MakeIntTextInt(table); }
    std::vector<CRowData*> Fill(int n)
    {
        std::vector<CRowData*> rows;
        for (int i = 0; i < n; ++i)
            rows.push_back(AddRow(table, i, "x"));
        return rows;
    }
    CTable table;
};

TEST_F(TableTest, FreedRecordsAreReusedLastFreedFirstAndFreshAndRowsAndInsertPositionsAreFound)
{
    const std::vector<CRowData*> rows = Fill(6);
    table.MarkRow(1, true);
    table.MarkRow(3, true);
    table.DeleteMarkedRows(); // from the last to the first: row 1's record freed last
    EXPECT_EQ(Column0(table), (std::vector<int>{0, 2, 4, 5}));
    EXPECT_EQ(table.GetMarkedCount(), 0);
    table.DeleteRow(0);
    CRowData* again = table.AddRow();
    EXPECT_EQ(again, rows[0]);
    EXPECT_EQ(again->GetCell(0)->GetInt(), 0);
    EXPECT_STREQ(again->GetCell(1)->GetCharPtr(), "");
    EXPECT_EQ(table.AddRow(), rows[1]);
    CRowData* next = table.AddRow();
    EXPECT_EQ(next, rows[3]);
    EXPECT_FALSE(next->IsMarked());

    table.DeleteMarkedRows(); // nothing marked
    EXPECT_EQ(table.GetRowCount(), 6);
    table.MarkRows(0, 5, true);
    table.DeleteMarkedRows();
    EXPECT_EQ(table.GetRowCount(), 0);

    // Rows and insert positions are found, in the emptied table and among new rows.
    EXPECT_EQ(table.FindInsertPos(0, CDInt(1)), 0);
    EXPECT_EQ(table.FindRow(0, CDInt(1)), -1);
    for (int v : {10, 20, 20, 30})
        AddRow(table, v, v == 30 ? "Map" : "other");
    // (value, start, found)
    for (const auto& [value, start, found] : std::vector<std::tuple<int, int, int>>{{10, -1, 0},
                                                                                    {20, -1, 1},
                                                                                    {20, 1, 2},
                                                                                    {20, 2, -1},
                                                                                    {10, 3, -1},
                                                                                    {99, -1, -1},
                                                                                    {10, -5, 0}})
        EXPECT_EQ(table.FindRow(0, CDInt(value), start), found) << value << " after " << start;
    EXPECT_EQ(table.FindRow(1, CDString("map")), 3);
    for (const auto& [value, pos] :
         std::vector<std::pair<int, int>>{{5, 0}, {10, 0}, {15, 1}, {20, 1}, {25, 3}, {31, 4}})
        EXPECT_EQ(table.FindInsertPos(0, CDInt(value)), pos) << value;
}

TEST(TableCellsTest, EveryCellIsDestroyedExactlyOnceAndAFailingCopyLeavesTheTableAsItWas)
{
    CellCounter counter;
    {
        CTable table;
        AddCountedColumn(table, counter);
        AddColumnOf<CDString>(table);
        table.CreateRowLayout();
        const int fixed = 2; // the factory's prototype and the prototype row's copy
        EXPECT_EQ(counter.live, fixed);
        for (int i = 0; i < 300; ++i) {
            CRowData* row = table.AddRow();
            row->GetCell(0)->Set(i % 7);
            row->GetCell(1)->Set(std::string(40, static_cast<char>('a' + i % 26)));
        }
        table.DeleteRow(5);
        table.DeleteRow(0);
        table.MarkRows(10, 49, true);
        table.DeleteMarkedRows();
        EXPECT_EQ(counter.live, fixed + 258);
        // Hidden rows keep their cells until all rows go.
        table.ShowRows(0, std::vector<std::uint8_t>{1, 1, 1, 0, 1, 1, 1}); // all but key 3
        EXPECT_EQ(table.GetRowCount() + table.GetHiddenRowCount(), 258);
        EXPECT_GT(table.GetHiddenRowCount(), 30);
        EXPECT_EQ(counter.live, fixed + 258);
        const CSortKey key{0, true};
        table.Sort({&key, 1});
        table.MoveRow(0, 100);
        EXPECT_EQ(counter.live, fixed + 258);

        CTable copy;
        AddCountedColumn(copy, counter);
        AddColumnOf<CDString>(copy);
        copy.CreateRowLayout();
        copy.CopyRows(table); // the shown rows
        EXPECT_EQ(counter.live, 2 * fixed + 258 + table.GetRowCount());
        copy.Clear();
        EXPECT_EQ(counter.live, fixed + 258);
        table.DeleteAllRows();
        EXPECT_EQ(counter.live, fixed);
        table.AddRow();
        table.Clear();
        EXPECT_EQ(counter.live, 0);
    }
    EXPECT_EQ(counter.live, 0);

    // A failing cell copy leaves the table as it was.
    CTable table;
    AddColumnOf<CDString>(table);
    for (int i = 0; i < 3; ++i)
        AddCountedColumn(table, counter);
    table.CreateRowLayout();
    table.AddRow()->GetCell(0)->Set("first");
    const int live = counter.live;

    counter.failAfter = 1; // the second counted cell of the next row fails
    EXPECT_THROW(table.AddRow(), std::runtime_error);
    EXPECT_EQ(table.GetRowCount(), 1);
    EXPECT_EQ(counter.live, live);
    counter.failAfter = -1;
    CRowData* row = table.InsertRow(0);
    EXPECT_EQ(counter.live, live + 3);
    EXPECT_EQ(table.GetRow(0), row);
}

TEST_F(TableTest, SortsByKeysMostSignificantFirstAndSkipsUnusableKeys)
{
    for (const auto& [a, text, c] : std::vector<std::tuple<int, const char*, int>>{
             {3, "c", 1}, {1, "a", 2}, {2, "b", 1}, {0, "d", 2}, {5, "e", 3}})
        AddRow(table, a, text, c);
    table.Sort(std::vector<CSortKey>{{2, true}, {0, false}});
    EXPECT_EQ(Column0(table), (std::vector<int>{5, 0, 1, 2, 3}));

    // No key, a column that does not exist, a column without comparer: no change.
    AddRow(table, -1, "f", 9);
    const std::vector<int> before = Column0(table);
    table.Sort({});
    table.Sort(std::vector<CSortKey>{{7, false}, {-1, false}});
    table.SetCompare(0, nullptr);
    table.Sort(std::vector<CSortKey>{{0, false}});
    EXPECT_EQ(Column0(table), before);
    // An unusable key is left out; the others still count.
    table.Sort(std::vector<CSortKey>{{7, false}, {1, true}});
    EXPECT_EQ(Texts(table, 1), (std::vector<std::string>{"f", "e", "d", "c", "b", "a"}));
}

// Rows arrive in batches, as during a scan: each batch is merged among the rows in order,
// or, when the direction changed, the whole list is sorted. Now and then some rows are
// moved to the front, as the player search does, and sorted again. Every result
// must be the stable sort of the rows in the order they stood.
TEST_F(TableTest, RowsMergedOrSortedWhileTheyArriveMatchAStableSort)
{
    std::mt19937 random(7);
    std::vector<std::pair<int, int>> reference; // (key, arrival), in the table's order
    const auto arrivals = [&] {
        std::vector<int> order;
        for (const auto& entry : reference)
            order.push_back(entry.second);
        return order;
    };
    const auto sortReference = [&](bool down) {
        std::stable_sort(reference.begin(), reference.end(), [down](const auto& a, const auto& b) {
            return down ? a.first > b.first : a.first < b.first;
        });
    };
    int arrival = 0;
    bool wasDown = false;
    for (int batch = 0; batch < 60; ++batch) {
        const int first = table.GetRowCount();
        const int count = 1 + static_cast<int>(random() % 30);
        for (int i = 0; i < count; ++i, ++arrival) {
            const int key = static_cast<int>(random() % 12);
            AddRow(table, arrival, "", key);
            reference.emplace_back(key, arrival);
        }
        const bool down = batch % 5 == 4;
        const std::vector<CSortKey> keys{{2, down}};
        if (down == wasDown)
            table.MergeNewRows(first, keys);
        else
            table.Sort(keys);
        wasDown = down;
        sortReference(down);
        ASSERT_EQ(Column0(table), arrivals()) << "batch " << batch;

        if (batch % 7 != 6)
            continue;
        std::vector<int> rows;
        for (int row = table.GetRowCount(); row-- > 0;) {
            if (random() % 4 == 0)
                rows.push_back(row);
        }
        rows.push_back(rows.empty() ? 0 : rows.front()); // listed twice: left out
        table.MoveRowsToFront(rows);
        std::vector<std::pair<int, int>> arranged;
        for (std::size_t i = 0; i + 1 < rows.size(); ++i)
            arranged.push_back(reference[static_cast<std::size_t>(rows[i])]);
        for (std::size_t i = 0; i < reference.size(); ++i) {
            if (std::find(rows.begin(), rows.end(), static_cast<int>(i)) == rows.end())
                arranged.push_back(reference[i]);
        }
        reference = arranged;
        ASSERT_EQ(Column0(table), arrivals()) << "batch " << batch;
        table.Sort(keys);
        sortReference(down);
        ASSERT_EQ(Column0(table), arrivals()) << "batch " << batch;
    }
}

TEST_F(TableTest, MarksMovesAndInserts)
{
    Fill(8);
    table.MarkRows(5, 3, true);
    EXPECT_EQ(table.GetMarkedCount(), 0);
    table.ToggleRowMarks(0, 0);
    table.MarkRows(2, 5, true);
    EXPECT_EQ(table.GetMarkedCount(), 5);
    table.ToggleRowMarks(4, 7);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(table.IsRowMarked(i), i == 0 || i == 2 || i == 3 || i == 6 || i == 7) << i;
    table.ToggleRowMarks(3, 2);
    EXPECT_EQ(table.GetMarkedCount(), 5);
    table.MarkRows(0, 7, false);
    EXPECT_EQ(table.GetMarkedCount(), 0);

    // Marks belong to the row, through moves.
    table.MarkRow(7, true);
    table.MoveRow(7, 0);
    EXPECT_TRUE(table.IsRowMarked(0));
    table.DeleteAllRows();

    Fill(5);
    table.MoveRow(1, 3); // 3 counts without the moved row
    EXPECT_EQ(Column0(table), (std::vector<int>{0, 2, 3, 1, 4}));
    table.MoveRow(4, 0);
    table.MoveRow(2, 2);
    EXPECT_EQ(Column0(table), (std::vector<int>{4, 0, 2, 3, 1}));
    table.InsertRow(0)->GetCell(0)->Set(-1);
    table.InsertRow(3)->GetCell(0)->Set(-2);
    table.InsertRow(table.GetRowCount())->GetCell(0)->Set(-3);
    EXPECT_EQ(Column0(table), (std::vector<int>{-1, 4, 0, -2, 2, 3, 1, -3}));

    // The count follows deleted rows; unmarking every row also reaches the last mark.
    table.MarkRow(2, true);
    table.MarkRow(6, true);
    table.MarkRow(6, true);
    table.DeleteRow(2);
    EXPECT_EQ(table.GetMarkedCount(), 1);
    table.MarkRows(0, 6, false);
    EXPECT_FALSE(table.IsRowMarked(5));
    EXPECT_EQ(table.GetMarkedCount(), 0);
}

// Hidden rows are out of every operation's sight, but keep their place in the order of all
// rows through inserts, moves, sorts and deletes, and come back there.
TEST_F(TableTest, HiddenRowsKeepTheirPlaceAndComeBackThereAndRowCopiesCopyCellsButNotMarks)
{
    Fill(6); // 0..5
    table.MarkRows(0, 5, true);
    // Rows show by their key in column 0: here the values 0..12.
    const auto keys = [](auto shows) {
        std::vector<std::uint8_t> shown;
        for (int key = 0; key <= 12; ++key)
            shown.push_back(shows(key) ? 1 : 0);
        return shown;
    };
    table.ShowRows(0, keys([](int key) { return key % 2 == 0; }));
    EXPECT_EQ(Column0(table), (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(table.GetHiddenRowCount(), 3);
    EXPECT_EQ(table.GetMarkedCount(), 3);
    table.InsertRow(1)->GetCell(0)->Set(10);
    table.SetNewRowsHidden(true);
    AddRow(table, 11);
    table.InsertRow(0)->GetCell(0)->Set(12);
    table.SetNewRowsHidden(false);
    EXPECT_EQ(Column0(table), (std::vector<int>{0, 10, 2, 4}));
    EXPECT_EQ(table.GetHiddenRowCount(), 5);
    table.MoveRow(0, 2);      // shown rows move among the places of shown rows
    table.DeleteRow(3);       // 4
    table.DeleteMarkedRows(); // 2 and 0; the hidden rows had lost their marks
    EXPECT_EQ(Column0(table), (std::vector<int>{10}));
    table.MarkRow(0, true);
    const auto all = keys([](int) { return true; });
    table.ShowRows(0, all);
    EXPECT_EQ(Column0(table), (std::vector<int>{12, 10, 1, 3, 5, 11}));
    EXPECT_EQ(table.GetMarkedCount(), 1);
    EXPECT_EQ(table.GetHiddenRowCount(), 0);

    // A sort orders the hidden rows too.
    table.ShowRows(0, keys([](int key) { return key > 4; }));
    table.Sort(std::vector<CSortKey>{{0, true}});
    EXPECT_EQ(Column0(table), (std::vector<int>{12, 11, 10, 5}));
    table.ShowRows(0, all);
    EXPECT_EQ(Column0(table), (std::vector<int>{12, 11, 10, 5, 3, 1}));
    table.ShowRows(0, {}); // a key past the span hides its row
    EXPECT_EQ(table.GetRowCount(), 0);

    // Rows merged in while others are hidden, and rows moved to the front (a search), keep
    // the hidden rows in their places of the whole order.
    table.ShowRows(0, keys([](int key) { return key % 2 == 1; }));
    table.SetNewRowsHidden(true);
    AddRow(table, 4);
    table.SetNewRowsHidden(false);
    AddRow(table, 7);
    table.MergeNewRows(4, std::vector<CSortKey>{{0, true}});
    EXPECT_EQ(Column0(table), (std::vector<int>{11, 7, 5, 3, 1}));
    table.MoveRowsToFront(std::vector<int>{3});
    EXPECT_EQ(Column0(table), (std::vector<int>{3, 11, 7, 5, 1}));
    table.ShowRows(0, all);
    EXPECT_EQ(Column0(table), (std::vector<int>{12, 3, 10, 11, 7, 4, 5, 1}));
    table.DeleteAllRows();
    table.ShowRows(0, all);
    EXPECT_EQ(table.GetRowCount() + table.GetHiddenRowCount(), 0);

    // Row copies copy the cells but not the marks.
    CRowData* source = AddRow(table, 7, "seven", 70);
    source->SetMarked(true);
    CRowData* copy = table.AddRowCopy(*source);
    EXPECT_EQ(copy->GetCell(1)->GetString(), "seven");
    EXPECT_EQ(copy->GetCell(2)->GetInt(), 70);
    EXPECT_FALSE(copy->IsMarked());
    EXPECT_EQ(table.GetRow(0), table.InsertRowCopy(0, *source));

    AddRow(table, 1, "one", 10);
    EXPECT_EQ(table.SetRow(3, *source), table.GetRow(3));
    EXPECT_EQ(table.GetCell(3, 1)->GetString(), "seven");
    EXPECT_FALSE(table.IsRowMarked(3));
    table.SetRow(1, *table.GetRow(1)); // onto itself
    EXPECT_EQ(table.GetCell(1, 1)->GetString(), "seven");
    source->GetCell(1)->Set("changed"); // a copy is independent of its source
    EXPECT_EQ(copy->GetCell(1)->GetString(), "seven");
}

TEST_F(TableTest, CopiesStructureAndRowsAlsoThroughWrappersAndOntoItself)
{
    AddRow(table, 1, "one", 10);
    AddRow(table, 2, "two", 20);
    table.CopyStructure(table); // onto itself: nothing changes
    EXPECT_EQ(table.GetRowCount(), 2);

    CTable target;
    AddColumnOf<CDBool>(target);
    target.CreateRowLayout();
    target.AddRow();
    target.CopyStructure(table);
    EXPECT_EQ(target.GetColumnCount(), 3);
    EXPECT_EQ(target.GetRowCount(), 0);
    EXPECT_TRUE(target.HasRowLayout());
    for (int col = 0; col < 3; ++col) {
        EXPECT_NE(target.GetFactory(col), table.GetFactory(col));
        EXPECT_NE(target.GetCompare(col), table.GetCompare(col));
    }
    target.CopyRows(table);
    EXPECT_EQ(Texts(target, 1), (std::vector<std::string>{"one", "two"}));
    EXPECT_NE(target.GetRow(0), table.GetRow(0));

    target.CopyRows(target);
    CWrapper wrapped(target);
    target.CopyRows(wrapped);
    target.CopyStructure(wrapped);
    EXPECT_EQ(Column0(target), (std::vector<int>{1, 2}));
    CWrapper wrappedSource(table);
    AddRow(table, 3, "three", 30);
    target.CopyRows(wrappedSource);
    EXPECT_EQ(Column0(target), (std::vector<int>{1, 2, 3}));
}

TEST(TableColumnsTest, ColumnsAreSetReplacedAndCleared)
{
    CTable table;
    table.SetColumnCount(2);
    EXPECT_EQ(table.GetFactory(0), nullptr);
    EXPECT_EQ(table.GetCompare(1), nullptr);
    table.SetColumn(0, std::make_unique<CFAny<CDInt>>(), std::make_unique<CCellCompare>());
    table.SetColumn(1, std::make_unique<CFAny<CDString>>(), std::make_unique<CCellCompare>());
    // Replacing a column's objects frees the old ones; handing back its own keeps them.
    table.SetColumn(0, std::make_unique<CFAny<CDBool>>(), std::make_unique<CCellCompare>());
    CCellCompare* kept = table.GetCompare(1);
    table.SetCompare(1, std::unique_ptr<CCellCompare>(kept));
    EXPECT_EQ(table.GetCompare(1), kept);
    table.CreateRowLayout();
    table.AddRow()->GetCell(0)->Set(true);
    EXPECT_TRUE(table.GetCell(0, 0)->GetBool());

    table.Clear();
    EXPECT_EQ(table.GetColumnCount(), 0);
    EXPECT_EQ(table.GetRowCount(), 0);
    EXPECT_FALSE(table.HasRowLayout());
    EXPECT_EQ(AddColumnOf<CDInt>(table), 0);
}

} // namespace
