#include "lattix/view/DrawState.h"

#include "velk/ColorValue.h"

#include <QApplication>
#include <QPalette>
#include <QSettings>

namespace Lattix {

namespace {

// A number value, or nothing when it is missing or no number.
std::optional<int> ReadNumber(const QSettings& settings, const char* name)
{
    const QVariant value = settings.value(QLatin1String(name));
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

// A colour text, or nothing when it is missing, too long or malformed.
std::optional<QColor> ReadColor(const QSettings& settings, const char* name)
{
    const QVariant value = settings.value(QLatin1String(name));
    if (!value.isValid())
        return std::nullopt;
    const QByteArray text = value.toString().toLatin1();
    if (text.size() > CDrawState::kMaxColorText)
        return std::nullopt;
    const std::optional<CColorValue> color = CColorValue::Parse(
        std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    if (!color)
        return std::nullopt;
    return color->ToQColor();
}

} // namespace

CDrawState::CDrawState()
{
    const QPalette palette = QApplication::palette();
    m_text = palette.color(QPalette::Active, QPalette::Text);
    m_selectedText = palette.color(QPalette::Active, QPalette::HighlightedText);
    m_back[0] = QColor(240, 255, 240);
    m_back[1] = QColor(224, 255, 224);
    m_selectedBack[0] = palette.color(QPalette::Active, QPalette::Highlight);
    m_selectedBack[1] = m_selectedBack[0];
    m_grid = QColor(128, 160, 128);
    m_font = QApplication::font();
}

void CDrawState::Load()
{
    const QSettings settings(QStringLiteral("Quenmark"), QStringLiteral("Lattix"));
    Load(settings);
}

void CDrawState::Load(const QSettings& settings)
{
    // Widths are taken as they stand when sane; a negative width or one beyond any
    // useful size would upset the row height, so it leaves the default.
    constexpr int kMaxLineWidth = 16;
    auto width = [&](const char* name, int& target) {
        if (const std::optional<int> n = ReadNumber(settings, name);
            n && *n >= 0 && *n <= kMaxLineWidth)
            target = *n;
    };
    width(kHorzGrid, m_nHorzGrid);
    width(kVertGrid, m_nVertGrid);
    width(kGridWidth, m_nGridWidth);
    if (const std::optional<int> n = ReadNumber(settings, kLeparello))
        m_bLeparello = *n != 0;
    if (const std::optional<QColor> c = ReadColor(settings, kLeparelloColor0))
        m_back[0] = *c;
    if (const std::optional<QColor> c = ReadColor(settings, kLeparelloColor1))
        m_back[1] = *c;
    if (const std::optional<QColor> c = ReadColor(settings, kGridColor))
        m_grid = *c;
}

QColor CDrawState::ResolveTextColor(ColorWord color, bool selected) const
{
    if (color == kNormalColor)
        return selected ? m_selectedText : m_text;
    return ToQColor(color);
}

QColor CDrawState::ToQColor(ColorWord color)
{
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

} // namespace Lattix
