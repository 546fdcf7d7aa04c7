#include "format/IntFormat.h"

#include <array>
#include <charconv>
#include <string_view>

CIntFormat::CIntFormat(bool colorNegatives) : CNumberFormat(colorNegatives)
{
    SetDigits(0);
}

CIntFormat::CIntFormat(const CNumberSettings& settings, bool colorNegatives)
    : CNumberFormat(settings, colorNegatives)
{
    SetDigits(0);
}

void CIntFormat::SetSettings(const CNumberSettings& settings)
{
    CNumberFormat::SetSettings(settings);
    SetDigits(0);
}

std::string CIntFormat::Format(int value) const
{
    if (IsSpecialValue(value))
        return GetSpecialText();
    return FormatInt(value);
}

std::size_t CIntFormat::FormatTo(std::span<char> buffer, int value) const
{
    if (buffer.empty())
        return 0;
    if (IsSpecialValue(value)) {
        const std::string& text = GetSpecialText();
        std::size_t n = text.size() < buffer.size() ? text.size() : buffer.size() - 1;
        // Never cut inside a character.
        while (n < text.size() && n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
        text.copy(buffer.data(), n);
        buffer[n] = '\0';
        return n;
    }
    std::array<char, 16> plain{};
    const auto end = std::to_chars(plain.data(), plain.data() + plain.size(), value).ptr;
    return FormatNumberText(std::string_view(plain.data(), end - plain.data()), GetNumberFmt(),
                            buffer);
}

ColorWord CIntFormat::GetColor(int value) const
{
    if (IsSpecialValue(value))
        return GetSpecialColor();
    if (!ColorsNegatives() || value >= 0)
        return kNormalColor;
    return GetNegativeColor();
}
