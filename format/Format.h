#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

class CNumberSettings;

// A colour word: red in the lowest byte, then green, then blue; the highest byte 0.
using ColorWord = std::uint32_t;

// The colour word that stands for "the control's normal colour".
inline constexpr ColorWord kNormalColor = 0x7FFFFFFF;
inline constexpr ColorWord kDefaultSpecialColor = 0xA9A9A9;  // grey
inline constexpr ColorWord kDefaultNegativeColor = 0x0000FF; // red

// The display decisions that belong with a value: padding to a width, a substitute text
// and colour for an empty text, and the colour of negative numbers. Formats are values:
// columns and renderers hold copies. The settings are not owned.
class CFormat
{
public:
    enum Alignment
    {
        Left = 0, // padding after the text
        Centred = 1,
        Right = 2, // padding before the text
    };

    // Bound to the user's shared settings.
    CFormat();
    explicit CFormat(const CNumberSettings& settings);
    virtual ~CFormat() = default;

    CFormat(const CFormat&) = default;
    CFormat& operator=(const CFormat&) = default;

    virtual void SetSettings(const CNumberSettings& settings);
    const CNumberSettings& GetSettings() const { return *m_pSettings; }

    // width: minimum length of a result in characters (0: no padding); alignment as above,
    // any other value pads after the text.
    void SetPadding(int width, char fill = ' ', int alignment = Left);
    int GetWidth() const { return m_nWidth; }
    char GetFill() const { return m_cFill; }
    int GetAlignment() const { return m_nAlignment; }

    // Pads text (UTF-8, counted in characters) to the width.
    std::string Pad(std::string_view text) const;

    // Turns the special-text feature on or off.
    void SetSpecial(bool on) { m_bSpecial = on; }
    bool HasSpecial() const { return m_bSpecial; }
    void SetSpecialText(std::string text) { m_strSpecial = std::move(text); }
    const std::string& GetSpecialText() const { return m_strSpecial; }

    void SetSpecialColor(ColorWord color) { m_specialColor = color; }
    ColorWord GetSpecialColor() const { return m_specialColor; }
    void SetNegativeColor(ColorWord color) { m_negativeColor = color; }
    ColorWord GetNegativeColor() const { return m_negativeColor; }

    // True when the special text is on and text is empty.
    bool IsSpecial(std::string_view text) const { return m_bSpecial && text.empty(); }
    // The special colour for a special text, else kNormalColor.
    ColorWord GetColor(std::string_view text) const
    {
        return IsSpecial(text) ? m_specialColor : kNormalColor;
    }

private:
    const CNumberSettings* m_pSettings;
    int m_nAlignment = Left;
    int m_nWidth = 0;
    char m_cFill = ' ';
    bool m_bSpecial = false;
    std::string m_strSpecial;
    ColorWord m_specialColor = kDefaultSpecialColor;
    ColorWord m_negativeColor = kDefaultNegativeColor;
};
