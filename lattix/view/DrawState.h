#pragma once

#include "format/Format.h"

#include <QColor>
#include <QFont>

#include <functional>

class QPalette;
class QSettings;

namespace Lattix {

// The look that a grid control shares with its renderers: text and background colours,
// grid lines and the font. A control owns one and hands renderers a pointer to it.
//
// The defaults are the system's colours and font with alternating row colours on (light
// greens, or dark ones under a dark theme), horizontal grid lines off and vertical grid
// lines one pixel wide. Load() then takes what the user configured in the library's own
// settings ("Quenmark", "Lattix"); values that are missing or malformed leave the defaults.
class CDrawState
{
public:
    // Settings value names.
    static constexpr const char* kHorzGrid = "HorzGrid";
    static constexpr const char* kVertGrid = "VertGrid";
    static constexpr const char* kLeparello = "Leparello";
    static constexpr const char* kLeparelloColor0 = "Leparello_Color_0";
    static constexpr const char* kLeparelloColor1 = "Leparello_Color_1";
    static constexpr const char* kGridColor = "GridColor";
    static constexpr const char* kGridWidth = "GridWidth";
    // Longest colour text that is read; longer texts leave the default.
    static constexpr int kMaxColorText = 9;

    CDrawState();

    // Takes the theme's colours (a changed desktop theme), except those that were set or
    // configured: they stay.
    void TakeTheme(const QPalette& palette);

    // Reads QSettings("Quenmark", "Lattix").
    void Load();
    void Load(const QSettings& settings);

    // Colours.
    const QColor& GetTextColor() const { return m_text; }
    const QColor& GetSelectedTextColor() const { return m_selectedText; }
    // Row background of band 0 or 1 (alternating colours); band 0 when they are off.
    const QColor& GetBackColor(int band) const { return m_back[band & 1]; }
    const QColor& GetSelectedBackColor(int band) const { return m_selectedBack[band & 1]; }
    const QColor& GetGridColor() const { return m_grid; }
    void SetTextColor(const QColor& c) { Own(kOwnText, m_text, c); }
    void SetSelectedTextColor(const QColor& c) { Own(kOwnSelectedText, m_selectedText, c); }
    void SetBackColor(int band, const QColor& c)
    {
        Own((band & 1) ? kOwnBack1 : kOwnBack0, m_back[band & 1], c);
    }
    void SetSelectedBackColor(int band, const QColor& c)
    {
        Own((band & 1) ? kOwnSelectedBack1 : kOwnSelectedBack0, m_selectedBack[band & 1], c);
    }
    void SetGridColor(const QColor& c) { Own(kOwnGrid, m_grid, c); }

    // The colour a renderer draws with: color itself (under a dark theme a lighter shade of
    // it that reads on the rows), or for kNormalColor the selected text colour or the text
    // colour.
    QColor ResolveTextColor(ColorWord color, bool selected) const;

    const QFont& GetFont() const { return m_font; }
    void SetFont(const QFont& font) { m_font = font; }

    // Alternating row colours ("Leparello").
    bool GetLeparello() const { return m_bLeparello; }
    void SetLeparello(bool on) { m_bLeparello = on; }
    // Grid line widths in use, 0 = off; and the width that switching lines on uses.
    int GetHorzGrid() const { return m_nHorzGrid; }
    int GetVertGrid() const { return m_nVertGrid; }
    int GetGridWidth() const { return m_nGridWidth; }
    void SetHorzGrid(int width) { m_nHorzGrid = width; }
    void SetVertGrid(int width) { m_nVertGrid = width; }
    void SetGridWidth(int width) { m_nGridWidth = width; }

    // Rows that the owner wants to stand out (a user's friends, say): drawn in a bold font
    // with a bar in the theme's link colour at their left edge. The test is asked for the
    // rows in sight each time the body is painted; none: no row stands out.
    void SetRowEmphasis(std::function<bool(int row)> emphasis) { m_emphasis = std::move(emphasis); }
    bool IsRowEmphasized(int row) const { return m_emphasis && m_emphasis(row); }
    bool HasRowEmphasis() const { return static_cast<bool>(m_emphasis); }

    // A colour word (red in the lowest byte) as a QColor.
    static QColor ToQColor(ColorWord color);

private:
    // The colours that were set or configured, which a theme leaves as they are.
    enum : unsigned
    {
        kOwnText = 1,
        kOwnSelectedText = 2,
        kOwnBack0 = 4,
        kOwnBack1 = 8,
        kOwnSelectedBack0 = 16,
        kOwnSelectedBack1 = 32,
        kOwnGrid = 64,
    };
    void Own(unsigned colour, QColor& target, const QColor& value)
    {
        m_ownColours |= colour;
        target = value;
    }

    unsigned m_ownColours = 0;
    QColor m_text;
    QColor m_selectedText;
    QColor m_back[2];
    QColor m_selectedBack[2];
    QColor m_grid;
    QFont m_font;
    // The theme's window colour is dark: fixed text colours are lightened.
    bool m_bDarkGround = false;
    bool m_bLeparello = true;
    int m_nHorzGrid = 0;
    int m_nVertGrid = 1;
    int m_nGridWidth = 1;
    std::function<bool(int row)> m_emphasis;
};

} // namespace Lattix
