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

std::vector<int> RowValues(const CTable& table)
{
    std::vector<int> values;
    for (int r = 0; r < table.GetRowCount(); ++r)
        values.push_back(table.GetCell(r, 0)->GetInt());
    return values;
}

// From eleven entries on, the first lookup sorts them by value; smaller ones keep their
// order, and of duplicate values the first one counts.
TEST(EnumTest, LargeEnumerationsSortOnFirstLookupAddEntryFillsFieldsAndReferencesKeepThemAlive)
{
    CEnum small("a");
    for (int v = 9; v >= 1; --v)
        small->AddEntry(v, std::to_string(v));
    EXPECT_EQ(small->Lookup(3).strText, "3");
    EXPECT_FALSE(small->IsSorted());
    EXPECT_EQ(Values(small), (std::vector<int>{0, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
    small->AddEntry(3, "second three");
    small->AddEntry(3, "third three");
    EXPECT_EQ(small->Lookup(3).strText, "3");

    CEnum desc("x");
    for (int v = 10; v >= 1; --v)
        desc->AddEntry(v, std::to_string(v));
    EXPECT_FALSE(desc->IsSorted());
    CTable table;
    table.AddColumn(std::make_unique<CFAny<CDInt>>(), std::make_unique<CCellCompare>());
    table.CreateRowLayout();
    desc->FillTable(table);
    EXPECT_EQ(RowValues(table), (std::vector<int>{0, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(desc->Lookup(4).strText, "4");
    EXPECT_TRUE(desc->IsSorted());
    table.DeleteAllRows();
    desc->FillTable(table);
    EXPECT_EQ(RowValues(table), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

    // A new entry unsorts; the next lookup sorts again and finds it.
    desc->AddEntry(-5, "minus five");
    EXPECT_FALSE(desc->IsSorted());
    EXPECT_EQ(desc->Lookup(-5).strText, "minus five");
    EXPECT_EQ(desc->GetEntries().front().nValue, -5);
    for (int missing : {11, INT_MIN, INT_MAX})
        EXPECT_EQ(desc->Lookup(missing).strText, "#Error#") << missing;

    CTable noColumns; // FillTable needs a column
    noColumns.CreateRowLayout();
    desc->FillTable(noColumns);
    EXPECT_EQ(noColumns.GetRowCount(), 0);

    // AddEntry fills the automatic fields from the last entry, without overflow.
    CEnum e("");
    e->AddEntry(10, "ten", "tip", 4, 100);
    e->AddEntry(-1, "next");
    const CEnumEntry& last = e->GetEntries().back();
    EXPECT_EQ(last.nValue, 11);
    EXPECT_EQ(last.item.nImage, 5);
    EXPECT_EQ(last.item.nOrder, 101);
    EXPECT_EQ(e->Lookup(10).strTip, "tip");
    e->AddEntry(INT_MAX, "top", "", INT_MAX, INT_MAX);
    e->AddEntry(-1, "beyond"); // no overflow past the largest int
    EXPECT_EQ(e->GetEntries().back().nValue, INT_MAX);

    // References keep the enumeration alive.
    auto handle = std::make_unique<CEnum>(kGameTypes);
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
    handle.reset(); // the column's comparers still hold it
    EXPECT_EQ(internal->GetRefCount(), 2);
    EXPECT_EQ(compare->Compare(CDInt(3), CDInt(7)), -4);
    compare.reset();
    EXPECT_EQ(clone->Compare(CDInt(7), CDInt(5)), 2);
    clone.reset(); // the last holder deletes it (checked by the leak sanitizer)

    EXPECT_FALSE(CEnumRef());
    CEnum owner("a");
    CEnumRef ref(owner.Get());
    CEnumRef moved(std::move(ref));
    CEnumRef assigned;
    assigned = moved;
    EXPECT_EQ(owner->GetRefCount(), 3);
    EXPECT_EQ(assigned->Lookup(0).strText, "a");
}

} // namespace
