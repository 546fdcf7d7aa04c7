#include "format/Format.h"
#include "format/IntFormat.h"
#include "format/NumberSettings.h"

#include <array>
#include <gtest/gtest.h>
#include <limits>

namespace {

// Conventions with grouping and separators fixed by the test, independent of the
// machine's locale.
const CNumberSettings& English()
{
    static const CNumberSettings settings("en_US", NumberFmt{2, 1, 3, ".", ",", 1}, CurrencyFmt{},
                                          ":");
    return settings;
}

TEST(FormatTest, PadsToTheWidthByAlignment)
{
    EXPECT_EQ(CFormat(English()).Pad("ab"), "ab"); // no width by default
    struct Case
    {
        int width;
        int align;
        std::string text, padded;
    };
    const Case cases[] = {
        {6, CFormat::Centred, "ab", "**ab**"},
        {5, CFormat::Centred, "ab", "*ab**"},
        {5, CFormat::Right, "ab", "***ab"},
        {5, CFormat::Left, "ab", "ab***"},
        {5, 7, "ab", "ab***"}, // unknown alignment pads after
        {2, CFormat::Right, "abc", "abc"},
        {2, CFormat::Right, "", "**"},
        {-3, CFormat::Right, "a", "a"},
        {4, CFormat::Right, "\u00e4\u00f6", "**\u00e4\u00f6"}, // width counts characters
    };
    for (const Case& c : cases) {
        CFormat format(English());
        format.SetPadding(c.width, '*', c.align);
        EXPECT_EQ(format.Pad(c.text), c.padded) << c.width << " " << c.text;
    }
}

TEST(IntFormatTest, SpecialTextValueAndNegativeColours)
{
    CIntFormat format(English(), true);
    EXPECT_EQ(format.GetColor(-1), 0x0000FFu);
    EXPECT_EQ(format.GetColor(0), kNormalColor);
    EXPECT_EQ(format.GetColor(7), kNormalColor);
    EXPECT_FALSE(format.IsSpecial(""));
    EXPECT_EQ(format.GetColor(""), kNormalColor);

    format.SetSpecial(true);
    format.SetSpecialText("none");
    format.SetSpecialValue(-1);
    EXPECT_TRUE(format.IsSpecial(std::string_view()));
    EXPECT_FALSE(format.IsSpecial("x"));
    EXPECT_EQ(format.GetColor("x"), kNormalColor);
    EXPECT_EQ(format.Format(-1), "none");
    EXPECT_EQ(format.GetColor(-1), 0xA9A9A9u);
    EXPECT_EQ(format.Format(-2), "-2");
    EXPECT_EQ(format.GetColor(-2), 0x0000FFu);

    format.SetColorNegatives(false);
    EXPECT_EQ(format.GetColor(-1), 0xA9A9A9u);
    EXPECT_EQ(format.GetColor(-2), kNormalColor);

    // The text-based colour of the base class is still there.
    EXPECT_EQ(format.GetColor(""), 0xA9A9A9u);
    format.SetSpecialColor(0x123456);
    EXPECT_EQ(format.GetColor(""), 0x123456u);
}

TEST(IntFormatTest, FormatToWritesUnpaddedTextIntoTheBuffer)
{
    CIntFormat format(English(), false);
    format.SetPadding(12, '*', CFormat::Right);
    CIntFormat copy = format; // copies are independent
    copy.SetPadding(6, '0', CFormat::Right);
    const CNumberSettings german("de_DE", NumberFmt{3, 1, 3, ",", ".", 1}, CurrencyFmt{}, ":");
    copy.SetSettings(german);
    EXPECT_EQ(copy.Format(12345), "12.345");
    EXPECT_EQ(format.Format(12345), "******12,345");
    std::array<char, CIntFormat::kBufferSize> buffer{};
    EXPECT_EQ(format.FormatTo(buffer, -1234567), 10u);
    EXPECT_STREQ(buffer.data(), "-1,234,567");

    format.SetSpecial(true);
    format.SetSpecialText("\u2014 none");
    format.SetSpecialValue(0);
    EXPECT_EQ(format.FormatTo(buffer, 0), std::string("\u2014 none").size());
    EXPECT_STREQ(buffer.data(), "\u2014 none");

    // Too small a buffer: cut whole, never inside a character.
    std::array<char, 3> tiny{};
    EXPECT_EQ(format.FormatTo(tiny, 0), 0u);
    EXPECT_STREQ(tiny.data(), "");
    EXPECT_EQ(format.FormatTo(tiny, 98765), 2u);
    EXPECT_STREQ(tiny.data(), "98");
    EXPECT_EQ(format.FormatTo(std::span<char>(), 5), 0u);
}

TEST(NumberFormatTest, DoublesRoundToTheFormatsDigits)
{
    CNumberFormat format(English(), false);
    EXPECT_EQ(format.FormatDouble(1234.5678), "1,234.57");
    EXPECT_EQ(format.FormatDouble(-0.004), "0.00");
    format.SetDigits(0);
    EXPECT_EQ(format.FormatDouble(2.5), "3");
    EXPECT_EQ(format.FormatDouble(-2.5), "-3");
    format.SetDigits(-1); // back to the locale's digits
    EXPECT_EQ(format.GetDigits(), 2);
    EXPECT_EQ(format.FormatDouble(1e21), "1,000,000,000,000,000,000,000.00");
    EXPECT_EQ(format.FormatDouble(std::numeric_limits<double>::infinity()), "");
    EXPECT_EQ(format.FormatDouble(std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(format.FormatInt(-42), "-42.00");
    const std::string huge = format.FormatDouble(std::numeric_limits<double>::max());
    EXPECT_EQ(huge.size(), 309u + 102u + 3u);
}

} // namespace
