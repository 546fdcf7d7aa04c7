#include "format/NumberFmt.h"

#include <array>
#include <gtest/gtest.h>

namespace {

NumberFmt Fmt(int digits, int grouping, std::string thousand = ",", std::string decimal = ".",
              int leadingZero = 1)
{
    NumberFmt fmt;
    fmt.numDigits = digits;
    fmt.grouping = grouping;
    fmt.leadingZero = leadingZero;
    fmt.thousandSep = std::move(thousand);
    fmt.decimalSep = std::move(decimal);
    return fmt;
}

TEST(NumberFmtTest, GroupsRoundsAndLeadsWithZeroAsTheFormatSays)
{
    struct Case
    {
        const char* text;
        NumberFmt fmt;
        const char* formatted;
    };
    const Case cases[] = {
        {"1234567", Fmt(0, 3), "1,234,567"},
        {"123456", Fmt(0, 3), "123,456"},
        {"999", Fmt(0, 3), "999"},
        {"1234567", Fmt(0, 0), "1234567"},
        {"123456789", Fmt(0, 32), "12,34,56,789"}, // Indian: 3 next to the separator, then 2s
        {"123456789", Fmt(0, 30), "123456,789"},   // a final 0 stops after the listed groups
        {"1234567", Fmt(0, 3, "\u202f", ","), "1\u202f234\u202f567"}, // multi-byte separators
        {"-1234", Fmt(2, 3, ".", ","), "-1.234,00"},
        {"2.345", Fmt(2, 3), "2.35"},
        {"2.344", Fmt(2, 3), "2.34"},
        {"-2.345", Fmt(2, 3), "-2.35"},
        {"0.5", Fmt(0, 3), "1"},
        {"1.5", Fmt(3, 3), "1.500"},
        {"999999.996", Fmt(2, 3), "1,000,000.00"}, // carries run into a new digit and group
        {"9.96", Fmt(1, 3), "10.0"},
        {"0.996", Fmt(2, 3), "1.00"},
        {".25", Fmt(2, 3), "0.25"},
        {"7.", Fmt(2, 3), "7.00"},
        {"0.5", Fmt(2, 3), "0.50"},
        {"0.5", Fmt(2, 3, ",", ".", 0), ".50"},
        {"-0.5", Fmt(2, 3, ",", ".", 0), "-.50"},
        {"0", Fmt(0, 3, ",", ".", 0), "0"}, // without fraction digits a zero shows its digit
        {"0.2", Fmt(0, 3, ",", ".", 0), "0"},
        {"0001234", Fmt(0, 3, ",", ".", 0), "1,234"}, // leading zeros of the input are no digits
        {"-0.001", Fmt(2, 3), "0.00"},                // a value that rounds to zero loses its sign
        {"-0", Fmt(0, 3), "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatNumberText(c.text, c.fmt), c.formatted) << c.text;
    for (const char* bad : {"", "-", ".", "-.", "1e5", " 12", "12 ", "1.2.3", "+1", "0x10", "--1"})
        EXPECT_EQ(FormatNumberText(bad, Fmt(2, 3)), "") << '"' << bad << '"';
}

TEST(NumberFmtTest, EveryNegativeOrder)
{
    NumberFmt fmt = Fmt(1, 3);
    const std::array<const char*, 5> expected = {"(1,234.5)", "-1,234.5", "- 1,234.5", "1,234.5-",
                                                 "1,234.5 -"};
    for (int order = 0; order < 5; ++order) {
        fmt.negativeOrder = order;
        EXPECT_EQ(FormatNumberText("-1234.5", fmt), expected[order]) << "order " << order;
        EXPECT_EQ(FormatNumberText("1234.5", fmt), "1,234.5") << "order " << order;
    }
    fmt.negativeOrder = 17;
    EXPECT_EQ(FormatNumberText("-1", fmt), "-1.0");
}

TEST(NumberFmtTest, BufferFormattingTruncatesAtCharacterBoundaries)
{
    const NumberFmt fmt = Fmt(0, 3, "\u202f");
    std::array<char, 64> big{};
    EXPECT_EQ(FormatNumberText("1234567", fmt, big), 13u);
    EXPECT_STREQ(big.data(), "1\u202f234\u202f567");

    // Room for "1" and two bytes: the three-byte separator is left out whole.
    std::array<char, 4> small{};
    small.fill('x');
    const std::size_t n = FormatNumberText("1234567", fmt, small);
    EXPECT_EQ(n, 1u);
    EXPECT_STREQ(small.data(), "1");

    std::array<char, 1> one{'x'};
    EXPECT_EQ(FormatNumberText("5", fmt, one), 0u);
    EXPECT_EQ(one[0], '\0');
    EXPECT_EQ(FormatNumberText("5", fmt, std::span<char>()), 0u);

    std::array<char, 8> invalid{};
    invalid.fill('x');
    EXPECT_EQ(FormatNumberText("abc", fmt, invalid), 0u);
    EXPECT_EQ(invalid[0], '\0');
}

} // namespace
