#include "lattix/model/CellData.h"
#include "lattix/model/CellCompare.h"
#include "lattix/model/CellFactory.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <memory>

namespace {

using namespace Lattix;

TEST(CellDataTest, IntegerCellTakesIntegersAndTruncatedDoublesOnly)
{
    CDInt cell;
    EXPECT_EQ(cell.GetInt(), 0);
    CCellData& c = cell;
    c.Set(7.99);
    EXPECT_EQ(c.GetInt(), 7);
    c.Set(-0.5);
    EXPECT_EQ(c.GetInt(), 0);
    c.Set(-2.9);
    EXPECT_EQ(c.GetInt(), -2);
    c.Set(42);
    // Setters that do not apply leave the value alone, also when called on the kind.
    cell.Set(true);
    cell.Set('x');
    cell.Set(std::int64_t{1} << 40);
    cell.Set("17");
    cell.Set(std::string("17"));
    cell.Set(CDateTime{3.0, CDateTime::Valid});
    EXPECT_EQ(cell.m_nValue, 42);
    // Getters that do not apply answer nothing.
    EXPECT_EQ(c.GetDouble(), 0.0);
    EXPECT_EQ(c.GetString(), "");
    EXPECT_EQ(c.GetCharPtr(), nullptr);
    EXPECT_FALSE(c.GetBool());
    EXPECT_EQ(c.GetInt64(), 0);
    EXPECT_EQ(c.GetChar(), 0);
    EXPECT_EQ(c.GetDateTime().m_status, CDateTime::Null);
    EXPECT_FALSE(c.NeedsDestruction());
}

TEST(CellDataTest, IntegerCellSaturatesDoublesBeyondItsRange)
{
    CDInt cell;
    cell.Set(1e12);
    EXPECT_EQ(cell.m_nValue, INT_MAX);
    cell.Set(-1e12);
    EXPECT_EQ(cell.m_nValue, INT_MIN);
    cell.Set(std::numeric_limits<double>::infinity());
    EXPECT_EQ(cell.m_nValue, INT_MAX);
    cell.Set(std::nan(""));
    EXPECT_EQ(cell.m_nValue, 0);
    cell.Set(2147483647.9);
    EXPECT_EQ(cell.m_nValue, INT_MAX);
    cell.Set(-2147483648.9);
    EXPECT_EQ(cell.m_nValue, INT_MIN);
}

TEST(CellDataTest, BooleanCell)
{
    CDBool cell;
    EXPECT_FALSE(cell.GetBool());
    cell.Set(5);
    EXPECT_TRUE(cell.GetBool());
    EXPECT_EQ(cell.GetInt(), 1);
    cell.Set(0);
    EXPECT_EQ(cell.GetInt(), 0);
    cell.Set(true);
    cell.Set(0.0); // not a boolean setter
    EXPECT_TRUE(cell.m_bValue);
    EXPECT_TRUE(CDBool(false) < cell);
    EXPECT_FALSE(cell < cell);
}

TEST(CellDataTest, StringCell)
{
    CDString cell;
    ASSERT_NE(cell.GetCharPtr(), nullptr);
    EXPECT_STREQ(cell.GetCharPtr(), "");
    cell.Set("12");
    EXPECT_EQ(cell.GetInt(), 0);
    EXPECT_EQ(cell.GetDouble(), 0.0);
    cell.Set(99);
    cell.Set(1.5);
    EXPECT_EQ(cell.GetString(), "12");
    cell.Set(static_cast<const char*>(nullptr));
    EXPECT_EQ(cell.Text(), "");
    EXPECT_TRUE(cell.NeedsDestruction());
    EXPECT_EQ(cell.GetDateTime().m_status, CDateTime::Null);
    cell.Set(std::string("Gr\u00fc\u00dfe"));
    EXPECT_STREQ(cell.GetCharPtr(), "Gr\u00fc\u00dfe");
}

TEST(CellDataTest, StringsCompareByCollationIgnoringCase)
{
    const CDString upper("Map"), lower("map"), apple("apple"), banana("Banana");
    EXPECT_TRUE(upper == lower);
    EXPECT_TRUE(apple < banana); // a byte compare would say otherwise
    EXPECT_FALSE(banana < apple);

    // A changed text gets a new key.
    CDString cell("zebra");
    EXPECT_TRUE(apple < cell);
    cell.Set("Aardvark");
    EXPECT_TRUE(cell < apple);
    cell.Set(std::string("zulu"));
    EXPECT_TRUE(apple < cell);
}

// A kind that defines only operator<: every other order derives from it.
class CLessOnly : public CCellData
{
public:
    explicit CLessOnly(int v = 0) : m_v(v) {}
    void Assign(const CCellData& source) override { m_v = source.GetInt(); }
    int GetInt() const override { return m_v; }
    bool operator<(const CCellData& other) const override { return m_v < other.GetInt(); }
    CCellData* CopyConstructAt(void* storage) const override
    {
        return ::new (storage) CLessOnly(*this);
    }
    int m_v;
};

TEST(CellDataTest, KindWithOnlyLessThanGetsEveryComparison)
{
    const CLessOnly one(1), two(2), other(2);
    const CCellCompare compare;
    EXPECT_EQ(compare.Compare(one, two), -1);
    EXPECT_EQ(compare.Compare(two, one), 1);
    EXPECT_EQ(compare.Compare(two, other), 0);
    EXPECT_TRUE(two == other);
    EXPECT_TRUE(one <= two);
    EXPECT_TRUE(two >= other);
    EXPECT_FALSE(one > two);
}

TEST(CellDataTest, AssignCopiesSameKindAndConvertsOtherKinds)
{
    CDString text;
    text.Set("Map");
    const std::string& keyBefore = text.SortKey();
    CDString copy;
    copy.Assign(text);
    EXPECT_EQ(copy.Text(), "Map");
    EXPECT_EQ(copy.SortKey(), keyBefore);
    copy.Assign(copy);
    EXPECT_EQ(copy.Text(), "Map");

    CDInt number(5);
    number.Assign(CDInt(9));
    EXPECT_EQ(number.m_nValue, 9);
    number.Assign(CDBool(true)); // another kind: read through its getter
    EXPECT_EQ(number.m_nValue, 1);
    number.Assign(text);
    EXPECT_EQ(number.m_nValue, 0);

    CDBool flag;
    flag.Assign(CDInt(3));
    EXPECT_TRUE(flag.m_bValue);

    text.Assign(CDInt(4)); // an integer has no text
    EXPECT_EQ(text.Text(), "");
}

TEST(CellDataTest, CellsOfDifferentKindsCompareThroughGetters)
{
    const CDInt one(1), zero(0);
    const CDBool yes(true);
    const CDString empty, word("word");
    EXPECT_TRUE(one == yes);
    EXPECT_TRUE(zero < yes);
    EXPECT_TRUE(zero == word);  // a string cell reads as integer 0
    EXPECT_TRUE(empty == zero); // an integer reads as the empty text
    EXPECT_TRUE(empty < word);
}

TEST(CellFactoryTest, ClonesHaveFreshPrototypesOfTheSameKind)
{
    CFAny<CDInt> ints;
    ints.GetPrototype()->Set(77);
    const std::unique_ptr<CCellFactory> clone = ints.Clone();
    EXPECT_EQ(clone->GetPrototype()->GetInt(), 0);
    EXPECT_EQ(ints.GetPrototype()->m_nValue, 77);
    EXPECT_NE(dynamic_cast<const CDInt*>(clone->GetPrototype()), nullptr);
    EXPECT_NE(dynamic_cast<const CDString*>(CFAny<CDString>().Clone()->GetPrototype()), nullptr);
    EXPECT_EQ(CCellCompare().Clone()->Compare(CDInt(1), CDInt(2)), -1);
}

} // namespace
