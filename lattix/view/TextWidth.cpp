#include "lattix/view/TextWidth.h"

#include <QString>

namespace Lattix {

CTextWidth::CTextWidth(const QFont& font) : m_metrics(font), m_metricsF(font) {}

int CTextWidth::Exact(std::string_view text) const
{
    return m_metrics.horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

double CTextWidth::Estimate(std::string_view text)
{
    double sum = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        char32_t ch = 0;
        if (lead < 0x80) {
            ch = lead;
            i += 1;
        } else if ((lead & 0xE0) == 0xC0 && i + 1 < text.size()) {
            ch = (char32_t{lead & 0x1Fu} << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F);
            i += 2;
        } else {
            return -1; // three-byte and longer sequences, or broken ones: measure exactly
        }
        if (ch < 0x20 || ch >= kCachedEnd)
            return -1;
        if (!m_known[ch]) {
            m_advance[ch] = m_metricsF.horizontalAdvance(QChar(static_cast<char16_t>(ch)));
            m_known[ch] = true;
        }
        sum += m_advance[ch];
    }
    return sum;
}

} // namespace Lattix
