#pragma once

#include "format/NumberFormat.h"

#include <cstddef>
#include <span>
#include <string>

// A format for integers: no fraction digits, an optional special value shown as the
// special text in the special colour, and negative numbers optionally in the negative
// colour.
class CIntFormat : public CNumberFormat
{
public:
    // The size of buffer that FormatTo's callers are expected to pass.
    static constexpr std::size_t kBufferSize = 512;

    // Bound to the user's shared settings.
    explicit CIntFormat(bool colorNegatives = false);
    CIntFormat(const CNumberSettings& settings, bool colorNegatives);

    // Binds other settings; integers still show no fraction digits.
    void SetSettings(const CNumberSettings& settings) override;

    void SetSpecialValue(int value) { m_nSpecialValue = value; }
    int GetSpecialValue() const { return m_nSpecialValue; }

    bool IsSpecialValue(int value) const { return HasSpecial() && value == m_nSpecialValue; }

    // The special text for the special value, else the formatted and padded value.
    std::string Format(int value) const;

    // Writes what Format writes, but without padding, into buffer and zero-terminates it;
    // returns the length. Builds no intermediate string. A text that does not fit is cut
    // at a character boundary.
    std::size_t FormatTo(std::span<char> buffer, int value) const;

    using CFormat::GetColor;
    // The special colour for the special value; the negative colour for a negative value
    // when negatives are coloured; else kNormalColor.
    ColorWord GetColor(int value) const;

private:
    int m_nSpecialValue = 0;
};
