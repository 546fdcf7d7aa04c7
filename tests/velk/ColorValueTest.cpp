#include "velk/ColorValue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TextCase
{
    std::string text;
    int red, green, blue;
};

TEST(ColorValueTest, ReadsThreeHexNumbersOfAtMostTwoDigits)
{
    const std::vector<TextCase> cases = {
        {"F0FFF0", 240, 255, 240},
        {"f0fff0", 240, 255, 240},
        {"a0B1c2", 0xA0, 0xB1, 0xC2},
        {"F0FFF", 0xF0, 0xFF, 0xF},         // the fifth digit alone is blue
        {" F0 FF\tF0", 240, 255, 240},      // white space before each number
        {"1 2 3", 1, 2, 3},                 // a number may have one digit
        {"F0FFF0 trailing", 240, 255, 240}, // text after the third number is ignored
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const CColorValue color = CColorValue::FromText(c.text);
        EXPECT_TRUE(color.IsValid());
        EXPECT_EQ(color.Red(), c.red);
        EXPECT_EQ(color.Green(), c.green);
        EXPECT_EQ(color.Blue(), c.blue);
    }
}

TEST(ColorValueTest, MalformedTextGivesValidBlackButNoParse)
{
    const std::vector<std::string> malformed = {
        "",                         // nothing to read
        "#F0FFF0",                  // an HTML colour: the number sign stops the first number
        "FFF",                      // three digits make only two numbers
        "GG0000",                   // no hexadecimal digit
        "F0 FF #0",                 // the third number is missing
        std::string("F0\0FFF0", 7), // a zero byte ends the text
    };
    for (const auto& text : malformed) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(CColorValue::Parse(text).has_value());
        const CColorValue color = CColorValue::FromText(text);
        EXPECT_TRUE(color.IsValid());
        EXPECT_EQ(color.ColorWord(), 0u);
    }
}

TEST(ColorValueTest, ColorWordHasRedInTheLowestByteAndAnEmptyHighestByte)
{
    EXPECT_EQ(CColorValue::FromText("123456").ColorWord(), 0x00563412u);
    // Formatted input accepts a sign; a negative number keeps only its low byte.
    EXPECT_EQ(CColorValue::FromText("-1-1-1").ColorWord(), 0x00FFFFFFu);
    EXPECT_EQ(CColorValue::FromText("80A080").ToQColor(), QColor(128, 160, 128));

    const CColorValue none;
    EXPECT_FALSE(none.IsValid());
    EXPECT_EQ(none.ColorWord(), 0u);
    EXPECT_NE(none, CColorValue(0, 0, 0)); // black that was set is valid
}

} // namespace
