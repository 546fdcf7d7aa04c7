#include "velk/NumberEdit.h"

#include "velk/VelkLibrary.h"

#include <QFocusEvent>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>

namespace {

[[maybe_unused]] const bool kNumberEditRegistered = (RegisterVelkLibrary(), true);

const QColor kNegativeText(255, 0, 0);
const QColor kNegativeReadOnlyText(204, 0, 0);

// The number at the start of text as scanf's "%lf" reads it (leading white space and one
// sign allowed); false when there is none.
bool ReadDouble(const std::string& text, double& value)
{
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    const char* begin = text.data() + at;
    const auto result = std::from_chars(begin, text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr == begin)
        return false;
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
    setAccessibleDescription(QStringLiteral("%1 to %2")
                                 .arg(QString::fromStdString(m_format.FormatDouble(m_minimum)),
                                      QString::fromStdString(m_format.FormatDouble(m_maximum))));
}

void CNumberEdit::SetValue(double value)
{
    value = std::clamp(value, m_minimum, m_maximum);
    if (m_format.ColorsNegatives()) {
        const bool negative = value < 0;
        SetTextColor(negative ? kNegativeText : QColor(Qt::black));
        SetReadOnlyTextColor(negative ? kNegativeReadOnlyText : QColor(Qt::black));
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
