#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// The number conventions that locale-aware number formatting follows: the six fields of
// the classic number-format record.
struct NumberFmt
{
    // Digits after the decimal separator; the value is rounded (half away from zero).
    int numDigits = 0;
    // 1: "0.5", 0: ".5".
    int leadingZero = 1;
    // Group sizes as decimal digits, the group next to the decimal separator first:
    // 0 no grouping, 3 for 123,456,789, 32 for 12,34,56,789. The last size repeats
    // unless the last digit is 0 (30 gives 123456,789).
    int grouping = 3;
    std::string decimalSep = ".";
    std::string thousandSep = ",";
    // 0 "(1.1)", 1 "-1.1", 2 "- 1.1", 3 "1.1-", 4 "1.1 -"; other values read as 1.
    int negativeOrder = 1;

    friend bool operator==(const NumberFmt&, const NumberFmt&) = default;
};

// The currency conventions of a locale, kept beside the number conventions.
struct CurrencyFmt
{
    int numDigits = 0;
    int leadingZero = 1;
    int grouping = 0;
    std::string decimalSep;
    std::string thousandSep;
    // 0 "($1.1)", 1 "-$1.1", 2 "$-1.1", 3 "$1.1-", 4 "(1.1$)", 5 "-1.1$", 6 "1.1-$",
    // 7 "1.1$-", 8 "-1.1 $", 9 "-$ 1.1", 10 "1.1 $-", 11 "$ 1.1-", 12 "$ -1.1",
    // 13 "1.1- $", 14 "($ 1.1)", 15 "(1.1 $)".
    int negativeOrder = 0;
    // 0 "$1.1", 1 "1.1$", 2 "$ 1.1", 3 "1.1 $".
    int positiveOrder = 0;
    std::string currencySymbol;

    friend bool operator==(const CurrencyFmt&, const CurrencyFmt&) = default;
};

// Formats a plain decimal number ("-1234.5678", as printf's %d or %f writes it) with the
// conventions of fmt into out and zero-terminates it. Returns the length of the text, or 0
// (and an empty text) when plain is not a decimal number. A text that does not fit in out
// is cut at a character boundary. A number that rounds to zero never gets a minus sign.
std::size_t FormatNumberText(std::string_view plain, const NumberFmt& fmt, std::span<char> out);

// The same, returning the text.
std::string FormatNumberText(std::string_view plain, const NumberFmt& fmt);
