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
        {"000000", 0, 0, 0},
        {"F0FFF", 0xF0, 0xFF, 0xF},         // the fifth digit alone is blue
        {"F0FFF0FF", 240, 255, 240},        // the rest of the text is not read
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
        "",
        "#F0FFF0", // an HTML colour: the number sign stops the first number
        "FFF",     // three digits make only two numbers
        "F0FF",    // two numbers
        "GG0000",  "F0 FF #0", "   ", std::string("F0\0FFF0", 7), // a zero byte ends the text
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
    EXPECT_EQ(CColorValue(0x12, 0x34, 0x56).ColorWord(), 0x00563412u);
    // Formatted input accepts a sign; a negative number keeps only its low byte.
    const CColorValue negative = CColorValue::FromText("-1-1-1");
    EXPECT_EQ(negative.ColorWord(), 0x00FFFFFFu);
    EXPECT_EQ(CColorValue::FromText("-1-1-1"), CColorValue(255, 255, 255));
}

TEST(ColorValueTest, DefaultIsInvalidBlackAndQtColourMatches)
{
    const CColorValue none;
    EXPECT_FALSE(none.IsValid());
    EXPECT_EQ(none.ColorWord(), 0u);
    EXPECT_NE(none, CColorValue(0, 0, 0)); // black that was set is valid

    const QColor qt = CColorValue::FromText("80A080").ToQColor();
    EXPECT_EQ(qt, QColor(128, 160, 128));
}

} // namespace
