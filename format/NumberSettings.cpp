#include "format/NumberSettings.h"

#include "format/FormatLibrary.h"

#include <climits>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h>
#include <utility>

namespace {

[[maybe_unused]] const bool kNumberSettingsRegistered = (RegisterFormatLibrary(), true);

// localeconv's grouping ("\3\2": groups of 3, then of 2 repeated; CHAR_MAX: no further
// grouping) as the decimal digits of the number-format record (32, or 30 for "\3\177").
int GroupingFromConventions(const char* grouping)
{
    if (grouping == nullptr)
        return 0;
    int value = 0;
    int digits = 0;
    for (const char* p = grouping; *p != '\0' && digits < 9; ++p, ++digits) {
        if (*p == CHAR_MAX || *p <= 0) {
            // A group list that ends the grouping right away means no grouping at all.
            return digits == 0 ? 0 : value * 10;
        }
        value = value * 10 + (*p > 9 ? 9 : *p);
    }
    return value;
}

// A numeric field of localeconv, or 0 when the locale leaves it unspecified (CHAR_MAX).
int ConventionValue(char value)
{
    return value == CHAR_MAX ? 0 : value;
}

int PositiveCurrencyOrder(char csPrecedes, char sepBySpace)
{
    const bool before = csPrecedes == 1;
    const bool space = sepBySpace == 1 || sepBySpace == 2;
    if (before)
        return space ? 2 : 0;
    return space ? 3 : 1;
}

int NegativeCurrencyOrder(char csPrecedes, char sepBySpace, char signPosn)
{
    const bool before = csPrecedes == 1;
    const bool space = sepBySpace == 1 || sepBySpace == 2;
    switch (signPosn) {
    case 0: // parentheses around quantity and symbol
        if (before)
            return space ? 14 : 0;
        return space ? 15 : 4;
    case 2: // sign after quantity and symbol
        if (before)
            return space ? 11 : 3;
        return space ? 10 : 7;
    case 3: // sign right before the symbol
        if (before)
            return space ? 9 : 1;
        return space ? 13 : 6;
    case 4: // sign right after the symbol
        if (before)
            return space ? 12 : 2;
        return space ? 10 : 7;
    default: // 1 and unspecified: sign before quantity and symbol
        if (before)
            return space ? 9 : 1;
        return space ? 8 : 5;
    }
}

// The text between the first two fields of a time format ("%H:%M:%S" gives ":").
std::string TimeSeparatorFromFormat(std::string_view format)
{
    std::size_t i = 0;
    while (i < format.size() && format[i] != '%')
        ++i;
    if (i + 1 >= format.size())
        return {};
    ++i;
    if (format[i] == 'E' || format[i] == 'O')
        ++i;
    if (i >= format.size())
        return {};
    const char field = format[i++];
    if (field == 'T' || field == 'R' || field == 'r')
        return ":";
    const std::size_t start = i;
    while (i < format.size() && format[i] != '%')
        ++i;
    return std::string(format.substr(start, i - start));
}

std::string UserLocaleName(const char* category)
{
    for (const char* name : {"LC_ALL", category, "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return "C";
}

} // namespace

CNumberSettings::CNumberSettings() : m_strLocale("C"), m_strTimeSep(":")
{
    m_number.grouping = 0;
    m_number.thousandSep.clear();
}

CNumberSettings::CNumberSettings(std::string localeName, NumberFmt number, CurrencyFmt currency,
                                 std::string timeSeparator)
    : m_strLocale(std::move(localeName)), m_number(std::move(number)),
      m_currency(std::move(currency)), m_strTimeSep(std::move(timeSeparator))
{
}

CNumberSettings CNumberSettings::FromConventions(std::string localeName, const std::lconv& conv,
                                                 std::string_view timeFormat)
{
    NumberFmt number;
    // The locale's number of fraction digits is a monetary value only; numbers use it too.
    number.numDigits = ConventionValue(conv.frac_digits);
    number.leadingZero = 1;
    number.grouping = GroupingFromConventions(conv.grouping);
    number.decimalSep = conv.decimal_point != nullptr ? conv.decimal_point : "";
    number.thousandSep = conv.thousands_sep != nullptr ? conv.thousands_sep : "";
    number.negativeOrder = 1;

    CurrencyFmt currency;
    currency.numDigits = ConventionValue(conv.frac_digits);
    currency.leadingZero = 1;
    currency.grouping = number.grouping;
    currency.decimalSep = conv.mon_decimal_point != nullptr ? conv.mon_decimal_point : "";
    currency.thousandSep = conv.mon_thousands_sep != nullptr ? conv.mon_thousands_sep : "";
    currency.negativeOrder =
        NegativeCurrencyOrder(conv.n_cs_precedes, conv.n_sep_by_space, conv.n_sign_posn);
    currency.positiveOrder = PositiveCurrencyOrder(conv.p_cs_precedes, conv.p_sep_by_space);
    currency.currencySymbol = conv.currency_symbol != nullptr ? conv.currency_symbol : "";

    return CNumberSettings(std::move(localeName), std::move(number), std::move(currency),
                           TimeSeparatorFromFormat(timeFormat));
}

CNumberSettings CNumberSettings::FromLocale(const char* localeName)
{
    std::string name = localeName != nullptr && *localeName != '\0' ? std::string(localeName)
                                                                    : UserLocaleName("LC_NUMERIC");
    const int mask = LC_NUMERIC_MASK | LC_MONETARY_MASK | LC_TIME_MASK;
    locale_t locale = newlocale(mask, name.c_str(), locale_t{});
    if (locale == locale_t{}) {
        name = "C";
        locale = newlocale(mask, "C", locale_t{});
        if (locale == locale_t{})
            return CNumberSettings();
    }
    // localeconv reads the calling thread's locale; switch to ours only for the copy.
    const locale_t previous = uselocale(locale);
    CNumberSettings settings = FromConventions(name, *localeconv(), nl_langinfo_l(T_FMT, locale));
    uselocale(previous);
    freelocale(locale);
    return settings;
}

const CNumberSettings& CNumberSettings::User()
{
    static const CNumberSettings settings = FromLocale("");
    return settings;
}
