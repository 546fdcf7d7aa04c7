#include "format/Format.h"

#include "format/FormatLibrary.h"
#include "format/NumberSettings.h"

namespace {

[[maybe_unused]] const bool kFormatRegistered = (RegisterFormatLibrary(), true);

// Characters in UTF-8 text: every byte that does not continue a character.
std::size_t CharacterCount(std::string_view text)
{
    std::size_t count = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80)
            ++count;
    }
    return count;
}

} // namespace

CFormat::CFormat() : CFormat(CNumberSettings::User()) {}

CFormat::CFormat(const CNumberSettings& settings) : m_pSettings(&settings) {}

void CFormat::SetSettings(const CNumberSettings& settings)
{
    m_pSettings = &settings;
}

void CFormat::SetPadding(int width, char fill, int alignment)
{
    m_nWidth = width;
    m_cFill = fill;
    m_nAlignment = alignment;
}

std::string CFormat::Pad(std::string_view text) const
{
    const std::size_t length = CharacterCount(text);
    if (m_nWidth <= 0 || length >= static_cast<std::size_t>(m_nWidth))
        return std::string(text);
    const std::size_t missing = static_cast<std::size_t>(m_nWidth) - length;
    std::size_t before = 0;
    if (m_nAlignment == Centred)
        before = missing / 2;
    else if (m_nAlignment == Right)
        before = missing;
    std::string padded;
    padded.reserve(text.size() + missing);
    padded.append(before, m_cFill);
    padded.append(text);
    padded.append(missing - before, m_cFill);
    return padded;
}
