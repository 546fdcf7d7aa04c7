#include "lattix/view/DrawState.h"

#include "velk/ColorValue.h"
#include "velk/Contrast.h"

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
    m_font = QApplication::font();
    TakeTheme(QApplication::palette());
}

void CDrawState::TakeTheme(const QPalette& palette)
{
    const auto take = [this](unsigned colour, QColor& target, const QColor& value) {
        if (!(m_ownColours & colour))
            target = value;
    };
    take(kOwnText, m_text, palette.color(QPalette::Active, QPalette::Text));
    take(kOwnSelectedText, m_selectedText,
         palette.color(QPalette::Active, QPalette::HighlightedText));
    take(kOwnSelectedBack0, m_selectedBack[0],
         palette.color(QPalette::Active, QPalette::Highlight));
    take(kOwnSelectedBack1, m_selectedBack[1],
         palette.color(QPalette::Active, QPalette::Highlight));

    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    m_bDarkGround = CContrast::IsDark(base);
    const QColor lightGrid(128, 160, 128);
    if (!m_bDarkGround) {
        take(kOwnBack0, m_back[0], QColor(240, 255, 240));
        take(kOwnBack1, m_back[1], QColor(224, 255, 224));
        take(kOwnGrid, m_grid, lightGrid);
        return;
    }
    // On a dark theme the bands are the window colour with a hint of the same green, the
    // second a little stronger, and the grid lines a muted green between them and the text.
    const QColor green(0, 255, 0);
    take(kOwnBack0, m_back[0], CContrast::Mix(base, green, 0.05));
    take(kOwnBack1, m_back[1], CContrast::Mix(base, green, 0.11));
    take(kOwnGrid, m_grid, CContrast::Mix(base, lightGrid, 0.7));
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
        SetBackColor(0, *c);
    if (const std::optional<QColor> c = ReadColor(settings, kLeparelloColor1))
        SetBackColor(1, *c);
    if (const std::optional<QColor> c = ReadColor(settings, kGridColor))
        SetGridColor(*c);
}

QColor CDrawState::ResolveTextColor(ColorWord color, bool selected) const
{
    if (color == kNormalColor)
        return selected ? m_selectedText : m_text;
    QColor shade = ToQColor(color);
    if (!m_bDarkGround)
        return shade;
    // The fixed colours (negative red, grey marks) were picked for light rows: on a dark
    // theme they take a lighter shade that reads on every row it may be drawn on.
    if (selected)
        return CContrast::OnBackground(shade, m_selectedBack[0], CContrast::kText);
    shade = CContrast::OnBackground(shade, m_back[0], CContrast::kText);
    return CContrast::OnBackground(shade, m_back[1], CContrast::kText);
}

QColor CDrawState::ToQColor(ColorWord color)
{
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

} // namespace Lattix
