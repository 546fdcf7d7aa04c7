#include "velk/Contrast.h"

#include <algorithm>
#include <cmath>

namespace {

double Linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

} // namespace

double CContrast::Luminance(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return 0.2126 * Linear(rgb.redF()) + 0.7152 * Linear(rgb.greenF()) +
           0.0722 * Linear(rgb.blueF());
}

double CContrast::Ratio(const QColor& a, const QColor& b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool CContrast::IsDark(const QColor& background)
{
    return Ratio(background, Qt::white) > Ratio(background, Qt::black);
}

QColor CContrast::OnBackground(const QColor& color, const QColor& background, double minRatio)
{
    if (!IsDark(background) || Ratio(color, background) >= minRatio)
        return color;
    // Raise the lightness in small steps, hue and saturation kept; white ends the search.
    const QColor hsl = color.toHsl();
    const float hue = hsl.hslHueF();
    const float saturation = hsl.hslSaturationF();
    for (float lightness = hsl.lightnessF(); lightness < 1.0F; lightness += 0.02F) {
        const QColor shade = QColor::fromHslF(hue, saturation, lightness).toRgb();
        if (Ratio(shade, background) >= minRatio)
            return shade;
    }
    return QColor(Qt::white);
}

QColor CContrast::Mix(const QColor& a, const QColor& b, double share)
{
    share = std::clamp(share, 0.0, 1.0);
    const auto channel = [share](int x, int y) {
        return static_cast<int>(std::lround(x + (y - x) * share));
    };
    const QColor ra = a.toRgb();
    const QColor rb = b.toRgb();
    return QColor(channel(ra.red(), rb.red()), channel(ra.green(), rb.green()),
                  channel(ra.blue(), rb.blue()));
}
