#include "velk/ColorValue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Three hex numbers of at most two digits, each after optional white space; the colour
// word has red in the lowest byte and an empty highest byte. Malformed text reads as a
// valid black but does not parse.
TEST(ColorValueTest, ReadsThreeHexNumbersOfAtMostTwoDigitsAndBlackForAnythingElse)
{
    const std::vector<std::pair<std::string, unsigned>> cases = {
        {"F0FFF0", 0xF0FFF0},
        {"a0B1c2", 0xC2B1A0},
        {"F0FFF", 0x0FFFF0},             // the fifth digit alone is blue
        {" F0 FF\tF0", 0xF0FFF0},        // white space before each number
        {"1 2 3", 0x030201},             // a number may have one digit
        {"F0FFF0 trailing", 0xF0FFF0},   // text after the third number is ignored
        {"-1-1-1", 0xFFFFFF},            // a negative number keeps only its low byte
        {"", 0},                         // nothing to read
        {"#F0FFF0", 0},                  // an HTML colour: the number sign stops the first number
        {"FFF", 0},                      // three digits make only two numbers
        {"GG0000", 0},                   // no hexadecimal digit
        {"F0 FF #0", 0},                 // the third number is missing
        {std::string("F0\0FFF0", 7), 0}, // a zero byte ends the text
    };
    for (const auto& [text, word] : cases) {
        const CColorValue color = CColorValue::FromText(text);
        EXPECT_TRUE(color.IsValid()) << text;
        EXPECT_EQ(color.ColorWord(), word) << text;
        EXPECT_EQ(CColorValue::Parse(text).has_value(), word != 0) << text;
    }
    const CColorValue green = CColorValue::FromText("80A080");
    EXPECT_EQ(green.Red(), 0x80);
    EXPECT_EQ(green.Green(), 0xA0);
    EXPECT_EQ(green.Blue(), 0x80);
    EXPECT_EQ(green.ToQColor(), QColor(128, 160, 128));
    const CColorValue none;
    EXPECT_FALSE(none.IsValid());
    EXPECT_NE(none, CColorValue(0, 0, 0)); // black that was set is valid
}

} // namespace
