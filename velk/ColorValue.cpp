#include "velk/ColorValue.h"

#include "velk/VelkLibrary.h"

#include <cstdio>
#include <string>

namespace {

[[maybe_unused]] const bool kColorValueRegistered = (RegisterVelkLibrary(), true);

} // namespace

std::optional<CColorValue> CColorValue::Parse(std::string_view text)
{
    // The standard formatted-input rules of "%2x" apply to each number, so the C library
    // reads them. The copy gives the text its terminating zero; a zero inside the text
    // ends it, as it would in a C string.
    const std::string terminated(text);
    unsigned red = 0;
    unsigned green = 0;
    unsigned blue = 0;
    if (std::sscanf(terminated.c_str(), "%2x%2x%2x", &red, &green, &blue) != 3)
        return std::nullopt;
    // A signed number ("-1") reads as a large unsigned value: only its low byte counts.
    return CColorValue(static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                       static_cast<std::uint8_t>(blue));
}

CColorValue CColorValue::FromText(std::string_view text)
{
    return Parse(text).value_or(CColorValue(0, 0, 0));
}
