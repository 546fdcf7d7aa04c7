#include "lattix/model/CellData.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

using namespace Lattix;

// Doubles are truncated toward zero and saturate; setters and getters that do not apply
// leave the value alone and answer nothing, also when called on the kind.
TEST(CellDataTest, IntegerCellTakesIntegersAndTruncatedDoublesOnly)
{
    CDInt cell;
    CCellData& c = cell;
    for (const auto& [value, stored] :
         std::vector<std::pair<double, int>>{{7.99, 7},
                                             {-0.5, 0},
                                             {-2.9, -2},
                                             {1e12, INT_MAX},
                                             {-1e12, INT_MIN},
                                             {std::numeric_limits<double>::infinity(), INT_MAX},
                                             {std::nan(""), 0},
                                             {2147483647.9, INT_MAX},
                                             {-2147483648.9, INT_MIN}}) {
        c.Set(value);
        EXPECT_EQ(cell.m_nValue, stored) << value;
    }
    c.Set(42);
    cell.Set(true);
    cell.Set('x');
    cell.Set(std::int64_t{1} << 40);
    cell.Set("17");
    cell.Set(std::string("17"));
    cell.Set(CDateTime{3.0, CDateTime::Valid});
    EXPECT_EQ(cell.m_nValue, 42);
    EXPECT_EQ(c.GetDouble(), 0.0);
    EXPECT_EQ(c.GetString(), "");
    EXPECT_EQ(c.GetCharPtr(), nullptr);
    EXPECT_FALSE(c.GetBool());
    EXPECT_EQ(c.GetInt64(), 0);
    EXPECT_EQ(c.GetChar(), 0);
    EXPECT_EQ(c.GetDateTime().m_status, CDateTime::Null);
    EXPECT_FALSE(c.NeedsDestruction());
}

TEST(CellDataTest, BooleanAndStringCellsTheOrderOfTextsAndAssigningAcrossKinds)
{
    CDBool flag;
    flag.Set(5);
    EXPECT_EQ(flag.GetInt(), 1);
    flag.Set(0.0); // not a boolean setter
    EXPECT_TRUE(flag.m_bValue);
    EXPECT_TRUE(CDBool(false) < flag);
    EXPECT_FALSE(flag < flag);

    CDString text;
    EXPECT_STREQ(text.GetCharPtr(), "");
    text.Set("12");
    text.Set(99);
    text.Set(1.5);
    EXPECT_EQ(text.GetInt(), 0);
    EXPECT_EQ(text.GetString(), "12");
    text.Set(static_cast<const char*>(nullptr));
    EXPECT_EQ(text.Text(), "");
    EXPECT_TRUE(text.NeedsDestruction());
    text.Set(std::string("Gr\u00fc\u00dfe"));
    EXPECT_STREQ(text.GetCharPtr(), "Gr\u00fc\u00dfe");

    // Texts compare by collation, ignoring case.
    const CDString apple("apple");
    EXPECT_TRUE(CDString("Map") == CDString("map"));
    EXPECT_TRUE(apple < CDString("Banana")); // a byte compare would say otherwise
    // A changed text gets a new key.
    CDString cell("zebra");
    cell.Set("Aardvark");
    EXPECT_TRUE(cell < apple);
    cell.Set(std::string("zulu"));
    EXPECT_TRUE(apple < cell);

    // The same kind is copied (a text with its sort key); other kinds are read through their
    // getters, also when compared.
    CDString map("Map");
    const std::string key = map.SortKey();
    CDString copy;
    copy.Assign(map);
    EXPECT_EQ(copy.Text(), "Map");
    EXPECT_EQ(copy.SortKey(), key);
    copy.Assign(copy);
    EXPECT_EQ(copy.Text(), "Map");

    CDInt number(5);
    number.Assign(CDInt(9));
    EXPECT_EQ(number.m_nValue, 9);
    number.Assign(CDBool(true));
    EXPECT_EQ(number.m_nValue, 1);
    number.Assign(map);
    EXPECT_EQ(number.m_nValue, 0);
    CDBool fromInt;
    fromInt.Assign(CDInt(3));
    EXPECT_TRUE(fromInt.m_bValue);
    map.Assign(CDInt(4)); // an integer has no text
    EXPECT_EQ(map.Text(), "");

    EXPECT_TRUE(CDInt(1) == CDBool(true));
    EXPECT_TRUE(CDInt(0) == CDString("word")); // a string cell reads as integer 0
    EXPECT_TRUE(CDString() == CDInt(0));       // an integer reads as the empty text
}

} // namespace
