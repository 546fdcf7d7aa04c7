#include "net/DecimalText.h"

#include <gtest/gtest.h>

#include <limits>
#include <string_view>

using namespace std::string_view_literals;

TEST(DecimalTextTest, ConvertsLikeTheStandardConversion)
{
    EXPECT_EQ(ParseDecimalInt("27960"), 27960);
    EXPECT_EQ(ParseDecimalInt(" \t\n\v\f\r42"), 42);
    EXPECT_EQ(ParseDecimalInt("-17abc"), -17);
    EXPECT_EQ(ParseDecimalInt("+8"), 8);
    EXPECT_EQ(ParseDecimalInt("abc"), 0);
    EXPECT_EQ(ParseDecimalInt(""), 0);
    EXPECT_EQ(ParseDecimalInt("-"), 0);
    EXPECT_EQ(ParseDecimalInt("--5"), 0);
    EXPECT_EQ(ParseDecimalInt("1 2"), 1);
}

TEST(DecimalTextTest, SaturatesOutsideTheRange)
{
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(ParseDecimalInt("2147483647"), kMax);
    EXPECT_EQ(ParseDecimalInt("2147483648"), kMax);
    EXPECT_EQ(ParseDecimalInt("-2147483648"), kMin);
    EXPECT_EQ(ParseDecimalInt("-2147483649"), kMin);
    EXPECT_EQ(ParseDecimalInt("99999999999999999999999999999"), kMax);
}

TEST(DecimalTextTest, StopsAtTheEndOfTheView)
{
    // The digits after the view's end must not be read.
    constexpr auto text = "12345"sv;
    EXPECT_EQ(ParseDecimalInt(text.substr(0, 2)), 12);
}
