#include "format/NumberFormat.h"

#include "format/NumberSettings.h"

#include <array>
#include <charconv>
#include <cmath>

CNumberFormat::CNumberFormat(bool colorNegatives)
    : CNumberFormat(CNumberSettings::User(), colorNegatives)
{
}

CNumberFormat::CNumberFormat(const CNumberSettings& settings, bool colorNegatives)
    : CFormat(settings), m_numberFmt(settings.Number()), m_bColorNegatives(colorNegatives)
{
}

void CNumberFormat::SetSettings(const CNumberSettings& settings)
{
    CFormat::SetSettings(settings);
    m_numberFmt = settings.Number();
}

void CNumberFormat::SetDigits(int n)
{
    m_numberFmt.numDigits = n < 0 ? GetSettings().Number().numDigits : n;
}

std::string CNumberFormat::FormatInt(int value) const
{
    std::array<char, 16> plain{};
    const auto end = std::to_chars(plain.data(), plain.data() + plain.size(), value).ptr;
    return Pad(FormatNumberText(std::string_view(plain.data(), end - plain.data()), m_numberFmt));
}

std::string CNumberFormat::FormatDouble(double value) const
{
    if (!std::isfinite(value))
        return {};
    // Twenty fraction digits, so that rounding to the wanted digits happens on the text.
    std::array<char, 512> plain{};
    const auto result = std::to_chars(plain.data(), plain.data() + plain.size(), value,
                                      std::chars_format::fixed, 20);
    if (result.ec != std::errc())
        return {};
    return Pad(
        FormatNumberText(std::string_view(plain.data(), result.ptr - plain.data()), m_numberFmt));
}
