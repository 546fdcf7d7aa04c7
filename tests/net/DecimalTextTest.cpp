#include "net/DecimalText.h"

#include <gtest/gtest.h>

TEST(DecimalTextTest, ConvertsLikeTheStandardConversionAndSaturates)
{
    EXPECT_EQ(ParseDecimalInt(" \t\n\v\f\r42"), 42);
    EXPECT_EQ(ParseDecimalInt("-17abc"), -17);
    EXPECT_EQ(ParseDecimalInt("+8"), 8);
    for (const char* none : {"abc", "", "-", "--5"})
        EXPECT_EQ(ParseDecimalInt(none), 0) << none;
    EXPECT_EQ(ParseDecimalInt("2147483648"), 2147483647);
    EXPECT_EQ(ParseDecimalInt("-2147483649"), -2147483647 - 1);
    EXPECT_EQ(ParseDecimalInt("99999999999999999999999999999"), 2147483647);
    EXPECT_EQ(ParseDecimalInt(std::string_view("12345").substr(0, 2)), 12); // not past the view
}
