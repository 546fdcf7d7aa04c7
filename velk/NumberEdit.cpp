#include "velk/NumberEdit.h"

#include "velk/Contrast.h"
#include "velk/VelkLibrary.h"

#include <QFocusEvent>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

[[maybe_unused]] const bool kNumberEditRegistered = (RegisterVelkLibrary(), true);

const QColor kNegativeText(255, 0, 0);
const QColor kNegativeReadOnlyText(204, 0, 0);

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The decimal number at the start of text as scanf's "%lf" reads it: leading white space,
// one sign, digits with an optional point and fraction, an optional exponent. Text that is
// no decimal number (also "nan", "inf" and hexadecimal) reads nothing: false. A number
// beyond the doubles reads as an infinity of its sign, so that the range corrects it to its
// limit; one too small for them reads as 0.
bool ReadDouble(const std::string& text, double& value)
{
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    const std::size_t begin = at;
    std::size_t digits = 0;
    // The power of ten of the first significant digit, as far as the digits tell.
    long long magnitude = 0;
    bool significant = false;
    bool point = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '.' && !point) {
            point = true;
        } else if (IsDigit(c)) {
            ++digits;
            if (c != '0')
                significant = true;
            if (!point && significant)
                ++magnitude;
            else if (point && !significant)
                --magnitude;
        } else {
            break;
        }
    }
    if (digits == 0)
        return false;
    // An exponent counts only with digits, as "1e" reads as 1.
    std::size_t end = at;
    long long exponent = 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t e = at + 1;
        bool negativeExponent = false;
        if (e < text.size() && (text[e] == '-' || text[e] == '+'))
            negativeExponent = text[e++] == '-';
        if (e < text.size() && IsDigit(text[e])) {
            for (; e < text.size() && IsDigit(text[e]); ++e)
                exponent = std::min(exponent * 10 + (text[e] - '0'), 1000000LL);
            if (negativeExponent)
                exponent = -exponent;
            end = e;
        }
    }
    const char* first = text.data() + begin;
    const auto result =
        std::from_chars(first, text.data() + end, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        value =
            significant && magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc() || result.ptr != text.data() + end) {
        return false;
    }
    if (negative)
        value = -value;
    return true;
}

} // namespace

CNumberEdit::CNumberEdit(int id, QWidget* parent) : CSpinEdit(id, parent)
{
    UpdateDescription();
}

void CNumberEdit::SetRange(double minimum, double maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    UpdateDescription();
}

void CNumberEdit::UpdateDescription()
{
    // Screen readers read the value from the text; the range tells what may be typed.
    setAccessibleDescription(tr("%1 to %2")
                                 .arg(QString::fromStdString(m_format.FormatDouble(m_minimum)),
                                      QString::fromStdString(m_format.FormatDouble(m_maximum))));
}

void CNumberEdit::SetValue(double value)
{
    // Not a number counts as 0, as unreadable text does; clamping would keep it.
    if (std::isnan(value))
        value = 0.0;
    value = std::clamp(value, m_minimum, m_maximum);
    if (m_format.ColorsNegatives()) {
        const bool negative = value < 0;
        // Red on the theme's ground (a lighter red on a dark one), else the theme's text.
        const QPalette& colors = SystemPalette();
        const QColor text = colors.color(QPalette::Active, QPalette::Text);
        const QColor back = colors.color(QPalette::Active, QPalette::Base);
        const QColor readOnlyBack = colors.color(QPalette::Active, QPalette::Button);
        SetTextColor(negative ? CContrast::OnBackground(kNegativeText, back, CContrast::kText)
                              : text);
        SetReadOnlyTextColor(negative ? CContrast::OnBackground(kNegativeReadOnlyText, readOnlyBack,
                                                                CContrast::kText)
                                      : text);
    }
    QString shown = QString::fromStdString(m_format.FormatDouble(value));
    const std::string& groupSep = m_format.GetNumberFmt().thousandSep;
    if (m_bEditing && !groupSep.empty())
        shown.remove(QString::fromStdString(groupSep));
    setText(shown);
}

double CNumberEdit::GetValue()
{
    const Updating updating(*this);
    QString typed = text();
    const NumberFmt& fmt = m_format.GetNumberFmt();
    if (!fmt.thousandSep.empty())
        typed.remove(QString::fromStdString(fmt.thousandSep));
    if (typed.contains(QLatin1Char('-'))) {
        typed.remove(QLatin1Char('-'));
        typed.prepend(QLatin1Char('-'));
    }
    if (!fmt.decimalSep.empty())
        typed.replace(QString::fromStdString(fmt.decimalSep), QStringLiteral("."));

    double value = 0;
    if (!ReadDouble(typed.toStdString(), value)) {
        SetValue(0);
        return 0;
    }
    if (value > m_maximum) {
        SetValue(m_maximum);
        return m_maximum;
    }
    if (value < m_minimum) {
        SetValue(m_minimum);
        return m_minimum;
    }
    return value;
}

bool CNumberEdit::Step(int delta)
{
    SetValue(GetValue() + delta);
    selectAll();
    SetModified(kChanged);
    return true;
}

void CNumberEdit::focusInEvent(QFocusEvent* event)
{
    CSpinEdit::focusInEvent(event);
    if (IsBlank()) {
        m_bEditing = true;
        return;
    }
    const double value = GetValue();
    m_bEditing = true;
    const Updating updating(*this);
    SetValue(value);
    selectAll();
}

void CNumberEdit::focusOutEvent(QFocusEvent* event)
{
    if (!IsBlank()) {
        const double value = GetValue();
        m_bEditing = false;
        const Updating updating(*this);
        SetValue(value);
    } else {
        m_bEditing = false;
    }
    CSpinEdit::focusOutEvent(event);
}
