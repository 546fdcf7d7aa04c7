#include "format/NumberSettings.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

// A locale's conventions as localeconv reports them, for a locale that need not be
// installed on the test machine.
struct Conventions
{
    std::lconv conv{};
    Conventions()
    {
        conv.decimal_point = const_cast<char*>(",");
        conv.thousands_sep = const_cast<char*>(".");
        conv.grouping = const_cast<char*>("\3\3");
        conv.mon_decimal_point = const_cast<char*>(",");
        conv.mon_thousands_sep = const_cast<char*>(".");
        conv.mon_grouping = const_cast<char*>("\3\3");
        conv.currency_symbol = const_cast<char*>("\u20ac");
        conv.frac_digits = 2;
        conv.p_cs_precedes = 0;
        conv.p_sep_by_space = 1;
        conv.n_cs_precedes = 0;
        conv.n_sep_by_space = 1;
        conv.n_sign_posn = 1;
    }
};

TEST(NumberSettingsTest, ReadsConventionsAndGroupingListsBecomeGroupingDigits)
{
    Conventions c;
    const CNumberSettings de = CNumberSettings::FromConventions("de_DE.UTF-8", c.conv, "%H:%M:%S");
    EXPECT_EQ(de.LocaleName(), "de_DE.UTF-8");
    EXPECT_EQ(de.Number(), (NumberFmt{2, 1, 33, ",", ".", 1}));
    EXPECT_EQ(FormatNumberText("-1234567.891", de.Number()), "-1.234.567,89");
    EXPECT_EQ(de.Currency().numDigits, 2);
    EXPECT_EQ(de.Currency().grouping, 33);
    EXPECT_EQ(de.Currency().currencySymbol, "\u20ac");
    const auto grouping = [&](const char* list) {
        c.conv.grouping = const_cast<char*>(list);
        return CNumberSettings::FromConventions("x", c.conv, "").Number().grouping;
    };
    EXPECT_EQ(grouping(""), 0);
    EXPECT_EQ(grouping("\3"), 3);
    EXPECT_EQ(grouping("\3\2"), 32);
    const char stop[] = {3, CHAR_MAX, 0};
    EXPECT_EQ(grouping(stop), 30);
    const char none[] = {CHAR_MAX, 0};
    EXPECT_EQ(grouping(none), 0);
    c.conv.grouping = nullptr;
    EXPECT_EQ(CNumberSettings::FromConventions("x", c.conv, "").Number().grouping, 0);
}

TEST(NumberSettingsTest, CurrencyOrdersFollowSymbolAndSignPlacement)
{
    Conventions c;
    struct Case
    {
        char precedes, space, posn;
        int expected;
    };
    const Case cases[] = {
        {1, 0, 0, 0},  {1, 0, 1, 1},  {1, 0, 4, 2},  {1, 0, 2, 3},  {0, 0, 0, 4},  {0, 0, 1, 5},
        {0, 0, 3, 6},  {0, 0, 2, 7},  {0, 1, 1, 8},  {1, 1, 1, 9},  {0, 1, 2, 10}, {1, 1, 2, 11},
        {1, 1, 4, 12}, {0, 1, 3, 13}, {1, 1, 0, 14}, {0, 1, 0, 15},
    };
    for (const Case& k : cases) {
        c.conv.n_cs_precedes = k.precedes;
        c.conv.n_sep_by_space = k.space;
        c.conv.n_sign_posn = k.posn;
        EXPECT_EQ(CNumberSettings::FromConventions("x", c.conv, "").Currency().negativeOrder,
                  k.expected)
            << int(k.precedes) << int(k.space) << int(k.posn);
    }
    for (const Case& k : {Case{1, 0, 0, 0}, Case{0, 0, 0, 1}, Case{1, 1, 0, 2}, Case{0, 1, 0, 3}}) {
        c.conv.p_cs_precedes = k.precedes;
        c.conv.p_sep_by_space = k.space;
        EXPECT_EQ(CNumberSettings::FromConventions("x", c.conv, "").Currency().positiveOrder,
                  k.expected);
    }
}

TEST(NumberSettingsTest, TimeSeparatorComesFromTheTimeFormat)
{
    std::lconv conv{};
    const auto sep = [&](const char* format) {
        return CNumberSettings::FromConventions("x", conv, format).TimeSeparator();
    };
    EXPECT_EQ(sep("%H:%M:%S"), ":");
    EXPECT_EQ(sep("%H.%M.%S"), ".");
    EXPECT_EQ(sep("%OH h %OM"), " h ");
    EXPECT_EQ(sep("%T"), ":");
    EXPECT_EQ(sep("%H"), "");
    EXPECT_EQ(sep("%"), "");
    // Texts the conventions leave out (null pointers) read as empty.
    const CNumberSettings none = CNumberSettings::FromConventions("x", conv, "");
    EXPECT_EQ(none.Number().thousandSep, "");
    EXPECT_EQ(none.Currency().currencySymbol, "");
}

TEST(NumberSettingsTest, ReadsInstalledLocalesAndFallsBackToC)
{
    // The C locale leaves digits, grouping and currency unspecified: they read as 0 or empty.
    const CNumberSettings c = CNumberSettings::FromLocale("C");
    EXPECT_EQ(c.LocaleName(), "C");
    EXPECT_EQ(c.Number().numDigits, 0);
    EXPECT_EQ(c.Number().grouping, 0);
    EXPECT_EQ(c.Number().decimalSep, ".");
    EXPECT_EQ(c.Number().thousandSep, "");
    EXPECT_EQ(c.Currency().currencySymbol, "");
    EXPECT_EQ(FormatNumberText("1234567", c.Number()), "1234567");
    EXPECT_EQ(c.TimeSeparator(), ":");

    const CNumberSettings unknown = CNumberSettings::FromLocale("xx_NOWHERE.UTF-8");
    EXPECT_EQ(unknown.LocaleName(), "C");
    EXPECT_EQ(unknown.Number(), c.Number());

    // The shared instance is read once.
    EXPECT_EQ(&CNumberSettings::User(), &CNumberSettings::User());
    EXPECT_FALSE(CNumberSettings::User().Number().decimalSep.empty());
}

} // namespace
