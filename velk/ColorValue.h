#pragma once

#include <QColor>

#include <cstdint>
#include <optional>
#include <string_view>

// An RGB colour as the platform's 32-bit colour word (red in the lowest byte, then green,
// then blue, the highest byte 0), read from text such as "F0FFF0": three hexadecimal
// numbers of at most two digits each, white space allowed before each.
class CColorValue
{
public:
    // Black, not marked valid.
    constexpr CColorValue() = default;
    constexpr CColorValue(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
        : m_word(red | (std::uint32_t{green} << 8) | (std::uint32_t{blue} << 16)), m_valid(true)
    {
    }

    // The colour that the text names; black when fewer than three numbers can be read.
    // The result is always valid.
    static CColorValue FromText(std::string_view text);
    // The same, but nothing when fewer than three numbers can be read, so that a caller
    // can tell a malformed text from a text that names black.
    static std::optional<CColorValue> Parse(std::string_view text);

    constexpr std::uint32_t ColorWord() const { return m_word; }
    constexpr bool IsValid() const { return m_valid; }
    constexpr std::uint8_t Red() const { return m_word & 0xFF; }
    constexpr std::uint8_t Green() const { return (m_word >> 8) & 0xFF; }
    constexpr std::uint8_t Blue() const { return (m_word >> 16) & 0xFF; }
    QColor ToQColor() const { return QColor(Red(), Green(), Blue()); }

    friend constexpr bool operator==(const CColorValue&, const CColorValue&) = default;

private:
    std::uint32_t m_word = 0;
    bool m_valid = false;
};
