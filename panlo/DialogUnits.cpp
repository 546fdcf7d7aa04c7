#include "panlo/DialogUnits.h"

#include "panlo/PanloLibrary.h"

#include <QFont>
#include <QFontMetrics>

#include <cstdint>
#include <cstdlib>

namespace {

[[maybe_unused]] const bool kDialogUnitsRegistered = (RegisterPanloLibrary(), true);

// value * numerator / denominator, rounded half away from zero, in 64 bits.
int MulDiv(int value, int numerator, int denominator)
{
    const std::int64_t product = std::int64_t{value} * numerator;
    const std::int64_t half = denominator / 2;
    const std::int64_t rounded =
        product >= 0 ? (product + half) / denominator : (product - half) / denominator;
    return static_cast<int>(rounded);
}

} // namespace

CDialogUnits::CDialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseWidth = std::max(1, (letters / 26 + 1) / 2);
    m_baseHeight = std::max(1, metrics.height());
}

CDialogUnits::CDialogUnits(int baseWidth, int baseHeight)
    : m_baseWidth(std::max(1, baseWidth)), m_baseHeight(std::max(1, baseHeight))
{
}

int CDialogUnits::X(int units) const
{
    return MulDiv(units, m_baseWidth, 4);
}

int CDialogUnits::Y(int units) const
{
    return MulDiv(units, m_baseHeight, 8);
}

QRect CDialogUnits::ToPixels(const QRect& units) const
{
    const int left = X(units.x());
    const int top = Y(units.y());
    const int right = X(units.x() + units.width());
    const int bottom = Y(units.y() + units.height());
    return QRect(left, top, right - left, bottom - top);
}
