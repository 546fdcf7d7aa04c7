#pragma once

#include <QColor>

// Colour contrast as screens show it: the relative luminance of a colour and the contrast
// ratio of two (1 for equal colours up to 21 for black on white), and the readable shade of
// a fixed colour on a given background. The controls and grids use it to keep their fixed
// colours (negative numbers, links, sort arrows) readable on a dark desktop theme.
class CContrast
{
public:
    // The ratio that text keeps to its background at least.
    static constexpr double kText = 4.5;
    // The ratio that lines and marks keep at least.
    static constexpr double kLine = 3.0;

    // 0 for black to 1 for white (sRGB, weighted as the eye sees the channels).
    static double Luminance(const QColor& color);
    // (lighter + 0.05) / (darker + 0.05): 1 to 21, the same whichever colour comes first.
    static double Ratio(const QColor& a, const QColor& b);
    // True when white text reads better on background than black text.
    static bool IsDark(const QColor& background);
    // color itself when it contrasts with background by minRatio, or on a light background
    // (the fixed colours were picked for one); on a dark background its lighter shade of the
    // same hue that reaches minRatio, white at most.
    static QColor OnBackground(const QColor& color, const QColor& background, double minRatio);
    // a with share (0 to 1) of b mixed in.
    static QColor Mix(const QColor& a, const QColor& b, double share);
};
