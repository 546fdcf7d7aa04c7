#include "lattix/model/Table.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace Lattix;

// A cell kind that needs destruction and counts its live instances, so that tests see
// every cell constructed and destroyed exactly once. It can be told to fail its next
// copies.
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

// Columns: 0 integer, 1 text, 2 integer.
void MakeIntTextInt(CTable& table)
{
    AddColumnOf<CDInt>(table);
    AddColumnOf<CDString>(table);
    AddColumnOf<CDInt>(table);
    table.CreateRowLayout();
}

CRowData* AddRow(CTableInterface& table, int a, const char* text, int c)
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

TEST(TableTest, LayoutWithoutColumnsMakesHeaderOnlyRows)
{
    CTable table;
    table.CreateRowLayout();
    CRowData* row = table.AddRow();
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->GetCellCount(), 0);
    EXPECT_EQ(row->GetTable(), &table);
    EXPECT_EQ(table.GetRowCount(), 1);
    EXPECT_EQ(table.GetRowSize(), sizeof(CRowData));
    table.DeleteRow(0);
    EXPECT_EQ(table.GetRowCount(), 0);
}

TEST(TableTest, NewRowsAreCopiesOfThePrototypesTakenAtLayout)
{
    CTable table;
    auto factory = std::make_unique<CFAny<CDInt>>();
    factory->GetPrototype()->Set(5);
    CFAny<CDInt>* kept = factory.get();
    table.AddColumn(std::move(factory), std::make_unique<CCellCompare>());
    AddColumnOf<CDString>(table);
    table.CreateRowLayout();
    kept->GetPrototype()->Set(9); // too late for this layout

    CRowData* row = table.AddRow();
    EXPECT_EQ(row->GetCell(0)->GetInt(), 5);
    EXPECT_STREQ(row->GetCell(1)->GetCharPtr(), "");
    EXPECT_FALSE(row->IsMarked());

    table.CreateRowLayout(); // a new layout takes the prototype as it is now
    EXPECT_EQ(table.GetRowCount(), 0);
    EXPECT_EQ(table.AddRow()->GetCell(0)->GetInt(), 9);
}

TEST(TableTest, DeletedRowRecordsAreReusedLastFreedFirstAndFresh)
{
    CTable table;
    MakeIntTextInt(table);
    CRowData* r0 = AddRow(table, 10, "a", 1);
    CRowData* r1 = AddRow(table, 11, "b", 2);
    AddRow(table, 12, "c", 3);
    table.MarkRow(1, true);

    table.DeleteRow(1); // r1 freed first
    table.DeleteRow(0); // r0 freed last
    EXPECT_EQ(Column0(table), (std::vector<int>{12}));

    CRowData* again = table.AddRow();
    EXPECT_EQ(again, r0);
    EXPECT_EQ(again->GetCell(0)->GetInt(), 0);
    EXPECT_STREQ(again->GetCell(1)->GetCharPtr(), "");
    CRowData* next = table.AddRow();
    EXPECT_EQ(next, r1);
    EXPECT_FALSE(next->IsMarked());
}

TEST(TableTest, RowsComeInChunksOf127AndDeleteAllRowsFreesThem)
{
    CTable table;
    MakeIntTextInt(table);
    EXPECT_EQ(table.GetChunkCount(), 0u);
    std::vector<CRowData*> rows;
    for (int i = 0; i < 127; ++i)
        rows.push_back(AddRow(table, i, "row", i));
    EXPECT_EQ(table.GetChunkCount(), 1u);
    EXPECT_EQ(table.GetFreeRowCount(), 0u);
    // Records of one chunk lie one row size apart, in the order they were taken.
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_EQ(reinterpret_cast<std::byte*>(rows[i]) - reinterpret_cast<std::byte*>(rows[i - 1]),
                  static_cast<std::ptrdiff_t>(table.GetRowSize()));
    }

    AddRow(table, 127, "row", 127);
    EXPECT_EQ(table.GetChunkCount(), 2u);
    EXPECT_EQ(table.GetFreeRowCount(), 126u);
    EXPECT_EQ(table.GetRowCount(), 128);

    table.DeleteAllRows();
    EXPECT_EQ(table.GetChunkCount(), 0u);
    EXPECT_EQ(table.GetFreeRowCount(), 0u);
    EXPECT_EQ(table.GetRowCount(), 0);
    EXPECT_EQ(table.GetColumnCount(), 3); // the structure stays
    AddRow(table, 1, "again", 1);
    EXPECT_EQ(table.GetChunkCount(), 1u);
}

TEST(TableTest, EveryCellIsDestroyedExactlyOnce)
{
    CellCounter counter;
    {
        CTable table;
        auto factory = std::make_unique<CFAny<CCounted>>();
        factory->GetPrototype()->Attach(counter);
        table.AddColumn(std::move(factory), std::make_unique<CCellCompare>());
        AddColumnOf<CDString>(table);
        table.CreateRowLayout();
        const int fixed = 2; // the factory's prototype and the prototype row's copy
        EXPECT_EQ(counter.live, fixed);

        for (int i = 0; i < 300; ++i) {
            CRowData* row = table.AddRow();
            row->GetCell(0)->Set(i % 7);
            row->GetCell(1)->Set(std::string(40, static_cast<char>('a' + i % 26)));
        }
        EXPECT_EQ(counter.live, fixed + 300);
        table.DeleteRow(5);
        table.DeleteRow(0);
        EXPECT_EQ(counter.live, fixed + 298);
        table.MarkRows(10, 49, true);
        table.DeleteMarkedRows();
        EXPECT_EQ(counter.live, fixed + 258);
        const CSortKey key{0, true};
        table.Sort({&key, 1});
        table.MoveRow(0, 100);
        EXPECT_EQ(counter.live, fixed + 258);

        CTable copy;
        auto copyFactory = std::make_unique<CFAny<CCounted>>();
        copyFactory->GetPrototype()->Attach(counter);
        copy.AddColumn(std::move(copyFactory), std::make_unique<CCellCompare>());
        AddColumnOf<CDString>(copy);
        copy.CreateRowLayout();
        EXPECT_EQ(counter.live, 2 * fixed + 258);
        copy.CopyRows(table);
        EXPECT_EQ(counter.live, 2 * fixed + 2 * 258);
        copy.Clear();
        EXPECT_EQ(counter.live, fixed + 258);

        table.DeleteAllRows();
        EXPECT_EQ(counter.live, fixed);
        table.AddRow();
        table.Clear();
        EXPECT_EQ(counter.live, 0);
        EXPECT_EQ(table.GetColumnCount(), 0);
    }
    EXPECT_EQ(counter.live, 0);
}

TEST(TableTest, FailingCellCopyLeavesTheTableAsItWas)
{
    CellCounter counter;
    CTable table;
    AddColumnOf<CDString>(table);
    for (int i = 0; i < 3; ++i) {
        auto factory = std::make_unique<CFAny<CCounted>>();
        factory->GetPrototype()->Attach(counter);
        table.AddColumn(std::move(factory), std::make_unique<CCellCompare>());
    }
    table.CreateRowLayout();
    table.AddRow()->GetCell(0)->Set("first");
    const int live = counter.live;

    counter.failAfter = 1; // the second counted cell of the next row fails
    EXPECT_THROW(table.AddRow(), std::runtime_error);
    EXPECT_EQ(table.GetRowCount(), 1);
    EXPECT_EQ(counter.live, live);
    counter.failAfter = -1;
    CRowData* row = table.InsertRow(0);
    EXPECT_EQ(table.GetRowCount(), 2);
    EXPECT_EQ(counter.live, live + 3);
    EXPECT_EQ(table.GetRow(0), row);
}

TEST(TableTest, SortsByKeysMostSignificantFirst)
{
    CTable table;
    MakeIntTextInt(table);
    AddRow(table, 3, "c", 1);
    AddRow(table, 1, "a", 2);
    AddRow(table, 2, "b", 1);
    AddRow(table, 0, "d", 2);
    AddRow(table, 5, "e", 3);

    const std::vector<CSortKey> keys = {{2, true}, {0, false}};
    table.Sort(keys);
    EXPECT_EQ(Column0(table), (std::vector<int>{5, 0, 1, 2, 3}));

    // No key, a column that does not exist, a column without comparer: no change.
    AddRow(table, -1, "f", 9);
    const std::vector<int> before = Column0(table);
    table.Sort({});
    EXPECT_EQ(Column0(table), before);
    const std::vector<CSortKey> bad = {{7, false}, {-1, false}};
    table.Sort(bad);
    EXPECT_EQ(Column0(table), before);
    table.SetCompare(0, nullptr);
    const CSortKey byValue{0, false};
    table.Sort({&byValue, 1});
    EXPECT_EQ(Column0(table), before);
    // An unusable key is left out; the others still count.
    const std::vector<CSortKey> mixed = {{7, false}, {1, true}};
    table.Sort(mixed);
    EXPECT_EQ(Texts(table, 1), (std::vector<std::string>{"f", "e", "d", "c", "b", "a"}));
}

TEST(TableTest, SortsTextsCaseInsensitivelyAndKeepsRowPointers)
{
    CTable table;
    MakeIntTextInt(table);
    std::vector<CRowData*> rows;
    for (const char* name : {"Banana", "apple", "cherry", "APPLE"})
        rows.push_back(AddRow(table, static_cast<int>(rows.size()), name, 0));
    const CSortKey byName{1, false};
    table.Sort({&byName, 1});
    EXPECT_EQ(Texts(table, 1), (std::vector<std::string>{"apple", "APPLE", "Banana", "cherry"}));
    const std::vector<CRowData*> sorted = {table.GetRow(0), table.GetRow(1), table.GetRow(2),
                                           table.GetRow(3)};
    EXPECT_EQ(sorted, (std::vector<CRowData*>{rows[1], rows[3], rows[0], rows[2]}));
    EXPECT_EQ(rows[0]->GetCell(0)->GetInt(), 0);
}

TEST(TableTest, RepeatedSortsWhileRowsArriveMatchAStableSort)
{
    // Rows arrive in batches and the list is re-sorted after each, as during a scan:
    // every result must be the stable sort of all rows so far.
    std::mt19937 random(7);
    CTable table;
    MakeIntTextInt(table);
    std::vector<std::pair<int, int>> reference; // (key, arrival)
    const std::vector<CSortKey> keys = {{2, false}};
    const std::vector<CSortKey> descending = {{2, true}};
    int arrival = 0;
    for (int batch = 0; batch < 40; ++batch) {
        const int count = 1 + static_cast<int>(random() % 30);
        for (int i = 0; i < count; ++i, ++arrival) {
            const int key = static_cast<int>(random() % 12);
            AddRow(table, arrival, "", key);
            reference.emplace_back(key, arrival);
        }
        const bool down = batch % 5 == 4;
        table.Sort(down ? descending : keys);
        // The table's current order is the input of the next stable sort.
        std::stable_sort(reference.begin(), reference.end(), [down](const auto& a, const auto& b) {
            return down ? a.first > b.first : a.first < b.first;
        });
        std::vector<int> expected;
        for (const auto& entry : reference)
            expected.push_back(entry.second);
        ASSERT_EQ(Column0(table), expected) << "batch " << batch;
    }
}

TEST(TableTest, FindsRowsAndInsertPositions)
{
    CTable table;
    MakeIntTextInt(table);
    for (int v : {10, 20, 20, 30})
        AddRow(table, v, v == 30 ? "Map" : "other", 0);

    EXPECT_EQ(table.FindRow(0, CDInt(10), -1), 0);
    EXPECT_EQ(table.FindRow(0, CDInt(20)), 1);
    EXPECT_EQ(table.FindRow(0, CDInt(20), 1), 2);
    EXPECT_EQ(table.FindRow(0, CDInt(20), 2), -1);
    EXPECT_EQ(table.FindRow(0, CDInt(10), 3), -1); // after the last row
    EXPECT_EQ(table.FindRow(0, CDInt(99)), -1);
    EXPECT_EQ(table.FindRow(0, CDInt(10), -5), 0);
    EXPECT_EQ(table.FindRow(1, CDString("map")), 3);

    EXPECT_EQ(table.FindInsertPos(0, CDInt(5)), 0);
    EXPECT_EQ(table.FindInsertPos(0, CDInt(10)), 0);
    EXPECT_EQ(table.FindInsertPos(0, CDInt(15)), 1);
    EXPECT_EQ(table.FindInsertPos(0, CDInt(20)), 1);
    EXPECT_EQ(table.FindInsertPos(0, CDInt(25)), 3);
    EXPECT_EQ(table.FindInsertPos(0, CDInt(31)), 4);

    CTable empty;
    MakeIntTextInt(empty);
    EXPECT_EQ(empty.FindInsertPos(0, CDInt(1)), 0);
    EXPECT_EQ(empty.FindRow(0, CDInt(1)), -1);
}

TEST(TableTest, MarksOverRanges)
{
    CTable table;
    MakeIntTextInt(table);
    for (int i = 0; i < 8; ++i)
        AddRow(table, i, "", 0);
    table.MarkRows(5, 3, true);
    EXPECT_EQ(table.GetMarkedCount(), 0);
    table.ToggleRowMarks(0, 0);
    EXPECT_TRUE(table.IsRowMarked(0));
    EXPECT_EQ(table.GetMarkedCount(), 1);
    table.MarkRows(2, 5, true);
    EXPECT_EQ(table.GetMarkedCount(), 5);
    table.ToggleRowMarks(4, 7);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(table.IsRowMarked(i), i == 0 || i == 2 || i == 3 || i == 6 || i == 7) << i;
    table.ToggleRowMarks(3, 2);
    EXPECT_EQ(table.GetMarkedCount(), 5);
    table.MarkRows(0, 7, false);
    EXPECT_EQ(table.GetMarkedCount(), 0);

    // Marks belong to the row, through sorts and moves.
    table.MarkRow(7, true);
    table.MoveRow(7, 0);
    EXPECT_TRUE(table.IsRowMarked(0));
    EXPECT_EQ(table.GetCell(0, 0)->GetInt(), 7);
}

TEST(TableTest, DeleteMarkedRowsKeepsTheOthersInOrder)
{
    CTable table;
    MakeIntTextInt(table);
    std::vector<CRowData*> rows;
    for (int i = 0; i < 6; ++i)
        rows.push_back(AddRow(table, i, "x", 0));
    table.MarkRow(1, true);
    table.MarkRow(3, true);
    table.DeleteMarkedRows();
    EXPECT_EQ(Column0(table), (std::vector<int>{0, 2, 4, 5}));
    EXPECT_EQ(table.GetMarkedCount(), 0);
    // Deleted from the last to the first: row 1's record was freed last.
    EXPECT_EQ(table.AddRow(), rows[1]);
    EXPECT_EQ(table.AddRow(), rows[3]);

    table.DeleteMarkedRows(); // nothing marked
    EXPECT_EQ(table.GetRowCount(), 6);
    table.MarkRows(0, 5, true);
    table.DeleteMarkedRows();
    EXPECT_EQ(table.GetRowCount(), 0);
}

TEST(TableTest, MovesAndInsertsRows)
{
    CTable table;
    MakeIntTextInt(table);
    for (int i = 0; i < 5; ++i)
        AddRow(table, i, "", 0);
    table.MoveRow(1, 3); // 3 counts without the moved row
    EXPECT_EQ(Column0(table), (std::vector<int>{0, 2, 3, 1, 4}));
    table.MoveRow(4, 0);
    EXPECT_EQ(Column0(table), (std::vector<int>{4, 0, 2, 3, 1}));
    table.MoveRow(2, 2);
    EXPECT_EQ(Column0(table), (std::vector<int>{4, 0, 2, 3, 1}));

    table.InsertRow(0)->GetCell(0)->Set(-1);
    table.InsertRow(3)->GetCell(0)->Set(-2);
    table.InsertRow(table.GetRowCount())->GetCell(0)->Set(-3);
    EXPECT_EQ(Column0(table), (std::vector<int>{-1, 4, 0, -2, 2, 3, 1, -3}));
}

TEST(TableTest, RowCopiesCopyCellsButNotMarks)
{
    CTable table;
    MakeIntTextInt(table);
    CRowData* source = AddRow(table, 7, "seven", 70);
    source->SetMarked(true);

    CRowData* copy = table.AddRowCopy(*source);
    EXPECT_EQ(copy->GetCell(0)->GetInt(), 7);
    EXPECT_EQ(copy->GetCell(1)->GetString(), "seven");
    EXPECT_EQ(copy->GetCell(2)->GetInt(), 70);
    EXPECT_FALSE(copy->IsMarked());

    CRowData* inserted = table.InsertRowCopy(0, *source);
    EXPECT_EQ(table.GetRow(0), inserted);
    EXPECT_EQ(inserted->GetCell(1)->GetString(), "seven");

    AddRow(table, 1, "one", 10);
    EXPECT_EQ(table.SetRow(3, *source), table.GetRow(3));
    EXPECT_EQ(table.GetCell(3, 1)->GetString(), "seven");
    EXPECT_FALSE(table.IsRowMarked(3));
    table.SetRow(1, *table.GetRow(1)); // onto itself
    EXPECT_EQ(table.GetCell(1, 1)->GetString(), "seven");

    // A copy is independent of its source.
    source->GetCell(1)->Set("changed");
    EXPECT_EQ(copy->GetCell(1)->GetString(), "seven");
}

TEST(TableTest, CopiesStructureAndRows)
{
    CTable source;
    MakeIntTextInt(source);
    AddRow(source, 1, "one", 10);
    AddRow(source, 2, "two", 20);

    source.CopyStructure(source); // onto itself: nothing changes
    EXPECT_EQ(source.GetRowCount(), 2);
    EXPECT_EQ(source.GetColumnCount(), 3);

    CTable target;
    AddColumnOf<CDBool>(target);
    target.CreateRowLayout();
    target.AddRow();
    target.CopyStructure(source);
    EXPECT_EQ(target.GetColumnCount(), 3);
    EXPECT_EQ(target.GetRowCount(), 0);
    EXPECT_TRUE(target.HasRowLayout());
    for (int col = 0; col < 3; ++col) {
        EXPECT_NE(target.GetFactory(col), source.GetFactory(col));
        EXPECT_NE(target.GetCompare(col), source.GetCompare(col));
        EXPECT_EQ(target.GetFactory(col)->GetCellSize(), source.GetFactory(col)->GetCellSize());
    }

    target.CopyRows(source);
    EXPECT_EQ(Column0(target), (std::vector<int>{1, 2}));
    EXPECT_EQ(Texts(target, 1), (std::vector<std::string>{"one", "two"}));
    EXPECT_NE(target.GetRow(0), source.GetRow(0));

    // Onto itself, directly or through a wrapper of itself: nothing is lost.
    target.CopyRows(target);
    CWrapper wrapped(target);
    target.CopyRows(wrapped);
    target.CopyStructure(wrapped);
    EXPECT_EQ(Column0(target), (std::vector<int>{1, 2}));

    // From a wrapper of another table.
    CWrapper wrappedSource(source);
    AddRow(source, 3, "three", 30);
    target.CopyRows(wrappedSource);
    EXPECT_EQ(Column0(target), (std::vector<int>{1, 2, 3}));
}

TEST(TableTest, ColumnsAreSetReplacedAndCleared)
{
    CTable table;
    table.SetColumnCount(2);
    EXPECT_EQ(table.GetColumnCount(), 2);
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
    CRowData* row = table.AddRow();
    row->GetCell(0)->Set(true);
    EXPECT_TRUE(row->GetCell(0)->GetBool());

    table.Clear();
    EXPECT_EQ(table.GetColumnCount(), 0);
    EXPECT_EQ(table.GetRowCount(), 0);
    EXPECT_FALSE(table.HasRowLayout());
    EXPECT_EQ(AddColumnOf<CDInt>(table), 0);
    EXPECT_EQ(AddColumnOf<CDInt>(table), 1);
}

TEST(TableTest, ColumnAccessorsReachCellsWithoutTheTable)
{
    CTable table;
    MakeIntTextInt(table);
    AddRow(table, 2, "b", 0);
    AddRow(table, 1, "a", 0);
    const CColData* numbers = table.GetColData(0);
    const CColData* texts = table.GetColData(1);
    ASSERT_NE(numbers, nullptr);
    EXPECT_EQ(numbers->CellAs<CDInt>(0).m_nValue, 2);
    const CSortKey key{0, false};
    table.Sort({&key, 1});
    // The accessor follows the row order.
    EXPECT_EQ(numbers->CellAs<CDInt>(0).m_nValue, 1);
    EXPECT_EQ(texts->CellAs<CDString>(1).Text(), "b");
    EXPECT_EQ(texts->GetCell(table.GetRow(0)), table.GetCell(0, 1));
}

#ifndef NDEBUG
TEST(TableDeathTest, DebugBuildsAssertIndices)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    CTable table;
    MakeIntTextInt(table);
    AddRow(table, 1, "a", 0);
    EXPECT_DEATH(table.GetRow(1), "IsValidRow");
    EXPECT_DEATH(table.GetCell(0, 3), "IsValidColumn");
    EXPECT_DEATH(table.DeleteRow(-1), "IsValidRow");
    EXPECT_DEATH(table.InsertRow(2), "index");
    EXPECT_DEATH(table.MarkRows(0, 1, true), "IsValidRow");
    CTable noLayout;
    EXPECT_DEATH(noLayout.AddRow(), "row layout");
}
#endif

} // namespace
