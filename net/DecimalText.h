#pragma once

#include <cstdint>
#include <string_view>

// The standard decimal conversion of a text (as atoi does it): leading white space
// (space, tab, line feed, vertical tab, form feed, carriage return), one optional sign,
// then digits up to the first non-digit; 0 when there are none. Values beyond the 32-bit
// range saturate at its limits. Never reads past the view.
std::int32_t ParseDecimalInt(std::string_view text);

// True for the white-space bytes of the C locale: space, \t, \n, \v, \f, \r.
constexpr bool IsAsciiSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}
