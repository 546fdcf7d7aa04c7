#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>

#include <array>
#include <string_view>

namespace Lattix {

// Measures many texts in one font quickly enough to size a column of tens of thousands
// of rows. Exact measuring shapes every text; Estimate instead adds up cached advances of
// single characters, which for the Latin texts of a grid is never more than a few pixels
// off (kerning and ligatures only narrow such texts). Texts with other characters get no
// estimate and are measured exactly.
class CTextWidth
{
public:
    explicit CTextWidth(const QFont& font);

    // The width that drawing the UTF-8 text takes.
    int Exact(std::string_view text) const;
    // The sum of the characters' advances, or a negative value when the text holds
    // characters outside the cached range.
    double Estimate(std::string_view text);
    // How far an exact width may exceed its estimate: rounding of the total, and the rare
    // positive kerning pair.
    static double Slack(double estimate) { return 1.0 + estimate * 0.01; }

private:
    // Characters of one or two UTF-8 bytes below the combining marks: Latin-1 and the
    // Latin extensions.
    static constexpr char32_t kCachedEnd = 0x0250;

    QFontMetrics m_metrics;
    QFontMetricsF m_metricsF;
    std::array<double, kCachedEnd> m_advance{};
    std::array<bool, kCachedEnd> m_known{};
};

} // namespace Lattix
