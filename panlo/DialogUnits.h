#pragma once

#include <QRect>

class QFont;

// Converts dialog template units into pixels for one dialog font. A horizontal unit is a
// quarter of the font's average character width and a vertical unit an eighth of its
// character height, so a layout drawn in dialog units keeps its proportions at any font
// size. Results are rounded to the nearest pixel, halves away from zero.
class CDialogUnits
{
public:
    // Base units measured from the font: the average width of the 52 letters A-Z and
    // a-z, rounded, and the font's line height.
    explicit CDialogUnits(const QFont& font);
    // Base units given directly, for tests and for fixed layouts.
    CDialogUnits(int baseWidth, int baseHeight);

    int BaseWidth() const { return m_baseWidth; }
    int BaseHeight() const { return m_baseHeight; }

    int X(int units) const;
    int Y(int units) const;
    // A template rectangle (x, y, width, height in dialog units) in pixels: left and top
    // and right and bottom are each converted, so adjacent controls stay adjacent.
    QRect ToPixels(const QRect& units) const;
    QRect ToPixels(int x, int y, int width, int height) const
    {
        return ToPixels(QRect(x, y, width, height));
    }

private:
    int m_baseWidth = 1;
    int m_baseHeight = 1;
};
