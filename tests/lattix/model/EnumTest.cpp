#include "lattix/model/Enum.h"
#include "lattix/model/EnumCompare.h"
#include "lattix/model/Table.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace Lattix;

constexpr const char* kGameTypes =
    "0?\n1?\n2?\n3?\n4?\nMP - Objective\nSW - Stopwatch\nCP - Checkpoint\n8?\n9?\n";

std::vector<int> Values(const CEnum& e)
{
    std::vector<int> values;
    for (const CEnumEntry& entry : e->GetEntries())
        values.push_back(entry.nValue);
    return values;
}

TEST(EnumTest, GameTypesFromText)
{
    CEnum types(kGameTypes);
    ASSERT_EQ(types->GetEntries().size(), 11u);
    EXPECT_EQ(types->Lookup(0).strText, "0?");
    EXPECT_EQ(types->Lookup(6).strText, "SW - Stopwatch");
    EXPECT_EQ(types->Lookup(10).strText, "");
    const CEnumItem& unknown = types->Lookup(11);
    EXPECT_EQ(unknown.strText, "#Error#");
    EXPECT_EQ(unknown.strTip, "#Error#");
    EXPECT_EQ(unknown.nImage, -1);
    EXPECT_EQ(unknown.nOrder, 0);
    EXPECT_EQ(types->Lookup(-1).strText, "#Error#");
    // Automatic fields count up from 0 with the lines.
    EXPECT_EQ(types->Lookup(7).nOrder, 7);
    EXPECT_EQ(types->Lookup(7).nImage, 7);
    EXPECT_TRUE(types->GetImageList().IsEmpty());
}

TEST(EnumTest, TextSplitsAtEveryLineFeed)
{
    CEnum empty("");
    ASSERT_EQ(empty->GetEntries().size(), 1u);
    EXPECT_EQ(empty->GetEntries()[0].nValue, 0);
    EXPECT_EQ(empty->Lookup(0).strText, "");

    EXPECT_EQ(CEnum("a\nb\nc")->GetEntries().size(), 3u);
    CEnum final("a\nb\nc\n");
    EXPECT_EQ(final->GetEntries().size(), 4u);

    CEnum crlf("one\r\ntwo");
    EXPECT_EQ(crlf->Lookup(0).strText, "one\r");
    EXPECT_EQ(crlf->Lookup(1).strText, "two");
}

TEST(EnumTest, AddEntryFillsAutomaticFieldsFromTheLastEntry)
{
    CEnum e("");
    e->AddEntry(10, "ten", "tip", 4, 100);
    e->AddEntry(-1, "next");
    const CEnumEntry& last = e->GetEntries().back();
    EXPECT_EQ(last.nValue, 11);
    EXPECT_EQ(last.item.nImage, 5);
    EXPECT_EQ(last.item.nOrder, 101);
    EXPECT_EQ(last.item.strTip, "");
    EXPECT_EQ(e->Lookup(10).strTip, "tip");

    e->AddEntry(INT_MAX, "top", "", INT_MAX, INT_MAX);
    e->AddEntry(-1, "beyond"); // no overflow past the largest int
    EXPECT_EQ(e->GetEntries().back().nValue, INT_MAX);
}

TEST(EnumTest, ComparesBySortKeys)
{
    CEnum types(kGameTypes);
    EXPECT_EQ(types->Compare(3, 7), -4);
    EXPECT_EQ(types->Compare(7, 3), 4);
    EXPECT_EQ(types->Compare(42, 0), 0); // unknown values sort with key 0

    CEnum e("");
    e->AddEntry(1, "low", "", -1, INT_MIN);
    e->AddEntry(2, "high", "", -1, INT_MAX);
    EXPECT_EQ(e->Compare(1, 2), INT_MIN); // held within int, sign kept
    EXPECT_EQ(e->Compare(2, 1), INT_MAX);
}

TEST(EnumTest, LargeEnumerationsAreSortedByValueOnFirstLookup)
{
    // Eleven entries: the text's own entry 0, then explicit values 10, 9, ..., 1.
    CEnum desc("x");
    for (int v = 10; v >= 1; --v)
        desc->AddEntry(v, std::to_string(v));
    ASSERT_EQ(desc->GetEntries().size(), 11u);
    EXPECT_EQ(Values(desc), (std::vector<int>{0, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_FALSE(desc->IsSorted());

    CTable table;
    table.AddColumn(std::make_unique<CFAny<CDInt>>(), std::make_unique<CCellCompare>());
    table.CreateRowLayout();
    desc->FillTable(table);
    ASSERT_EQ(table.GetRowCount(), 11);
    EXPECT_EQ(table.GetCell(1, 0)->GetInt(), 10);

    EXPECT_EQ(desc->Lookup(4).strText, "4");
    EXPECT_TRUE(desc->IsSorted());
    table.DeleteAllRows();
    desc->FillTable(table);
    for (int r = 0; r < 11; ++r)
        EXPECT_EQ(table.GetCell(r, 0)->GetInt(), r);

    // A new entry unsorts; the next lookup sorts again and finds it.
    desc->AddEntry(-5, "minus five");
    EXPECT_FALSE(desc->IsSorted());
    EXPECT_EQ(desc->Lookup(-5).strText, "minus five");
    EXPECT_TRUE(desc->IsSorted());
    EXPECT_EQ(desc->GetEntries().front().nValue, -5);
    EXPECT_EQ(desc->Lookup(11).strText, "#Error#");
    EXPECT_EQ(desc->Lookup(INT_MIN).strText, "#Error#");
    EXPECT_EQ(desc->Lookup(INT_MAX).strText, "#Error#");
}

TEST(EnumTest, SmallEnumerationsKeepTheirOrder)
{
    CEnum e("a");
    for (int v = 9; v >= 1; --v)
        e->AddEntry(v, std::to_string(v));
    ASSERT_EQ(e->GetEntries().size(), 10u);
    EXPECT_EQ(e->Lookup(3).strText, "3");
    EXPECT_FALSE(e->IsSorted());
    EXPECT_EQ(Values(e), (std::vector<int>{0, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
    // Of duplicate values the first one counts.
    e->AddEntry(3, "second three");
    e->AddEntry(3, "third three");
    EXPECT_EQ(e->Lookup(3).strText, "3");
}

TEST(EnumTest, FillTableNeedsAColumn)
{
    CEnum e("a\nb");
    CTable table;
    table.CreateRowLayout();
    e->FillTable(table);
    EXPECT_EQ(table.GetRowCount(), 0);
}

TEST(EnumTest, ReferencesKeepTheEnumerationAlive)
{
    auto* handle = new CEnum(kGameTypes);
    CEnum::CInternalEnum* internal = handle->Get();
    {
        CEnum copy = *handle;
        CEnum other("x");
        other = copy;
        other = other;
        EXPECT_EQ(internal->GetRefCount(), 3);
    }
    EXPECT_EQ(internal->GetRefCount(), 1);

    auto compare = std::make_unique<CEnumCompare>(internal);
    std::unique_ptr<CCellCompare> clone = compare->Clone();
    delete handle; // the column's comparers still hold it
    EXPECT_EQ(internal->GetRefCount(), 2);
    EXPECT_EQ(compare->Compare(CDInt(3), CDInt(7)), -4);
    compare.reset();
    EXPECT_EQ(clone->Compare(CDInt(7), CDInt(5)), 2);
    clone.reset(); // the last holder deletes it (checked by the leak sanitizer)

    CEnumRef empty;
    EXPECT_FALSE(empty);
    CEnum owner("a");
    CEnumRef ref(owner.Get());
    CEnumRef moved(std::move(ref));
    EXPECT_EQ(owner->GetRefCount(), 2);
    CEnumRef assigned;
    assigned = moved;
    EXPECT_EQ(owner->GetRefCount(), 3);
    EXPECT_EQ(assigned->Lookup(0).strText, "a");
}

TEST(EnumTest, EnumerationColumnsSortByEntryOrder)
{
    // Later lines sort later, whatever their values; unknown values sort with value 0.
    CEnum e("");
    e->AddEntry(5, "five", "", -1, 2);
    e->AddEntry(1, "one", "", -1, 3);
    e->AddEntry(9, "nine", "", -1, 1);
    CTable table;
    table.AddColumn(std::make_unique<CFAny<CDInt>>(), std::make_unique<CEnumCompare>(e.Get()));
    table.AddColumn(std::make_unique<CFAny<CDInt>>(), std::make_unique<CCellCompare>());
    table.CreateRowLayout();
    const int values[][2] = {{1, 0}, {5, 1}, {42, 2}, {9, 3}, {0, 4}};
    for (const auto& v : values) {
        CRowData* row = table.AddRow();
        row->GetCell(0)->Set(v[0]);
        row->GetCell(1)->Set(v[1]);
    }
    const CSortKey key{0, false};
    table.Sort({&key, 1});
    std::vector<int> order;
    for (int r = 0; r < table.GetRowCount(); ++r)
        order.push_back(table.GetCell(r, 0)->GetInt());
    EXPECT_EQ(order, (std::vector<int>{42, 0, 9, 5, 1}));

    // Copying the table's structure shares the enumeration with its own reference.
    const int refs = e->GetRefCount();
    CTable copy;
    copy.CopyStructure(table);
    EXPECT_EQ(e->GetRefCount(), refs + 1);
    copy.Clear();
    EXPECT_EQ(e->GetRefCount(), refs);
}

} // namespace
