#include "velk/ExEdit.h"

#include "velk/VelkLibrary.h"

#include <QEvent>
#include <QPalette>

#include <algorithm>
#include <utility>

namespace {

[[maybe_unused]] const bool kExEditRegistered = (RegisterVelkLibrary(), true);

} // namespace

CExEdit::CExEdit(int id, QWidget* parent) : QLineEdit(parent), m_id(id), m_systemPalette(palette())
{
    SetDefaultColors();
    // textEdited comes only from the user and always right before its textChanged.
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (!m_bUpdating) {
            m_nModified = kChanged;
            m_bUserEdit = true;
        }
    });
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (m_bUserEdit)
            m_bUserEdit = false;
        else if (!m_bUpdating)
            m_nModified = kUnchanged;
    });
}

void CExEdit::SetDefaultColors()
{
    const QPalette& system = m_systemPalette;
    m_textColor = system.color(QPalette::Active, QPalette::WindowText);
    m_disabledTextColor = system.color(QPalette::Disabled, QPalette::Text);
    m_readOnlyTextColor = system.color(QPalette::Active, QPalette::WindowText);
    m_disabledBackColor = system.color(QPalette::Active, QPalette::Button);
    m_readOnlyBackColor = system.color(QPalette::Active, QPalette::Button);
    m_backColor = system.color(QPalette::Active, QPalette::Base);
}

void CExEdit::SetTextColor(const QColor& color)
{
    m_bSystemColors = false;
    m_textColor = color;
    UpdatePalette();
}

void CExEdit::SetReadOnlyTextColor(const QColor& color)
{
    m_bSystemColors = false;
    m_readOnlyTextColor = color;
    UpdatePalette();
}

void CExEdit::SetSystemColors()
{
    SetDefaultColors();
    m_bSystemColors = true;
    UpdatePalette();
}

QColor CExEdit::CurrentTextColor() const
{
    return palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text);
}

QColor CExEdit::CurrentBackgroundColor() const
{
    return palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Base);
}

void CExEdit::UpdatePalette()
{
    if (m_bSystemColors) {
        setPalette(QPalette()); // inherit the standard colours again
        return;
    }
    QColor text = m_textColor;
    QColor back = m_backColor;
    if (!isEnabled()) {
        text = m_disabledTextColor;
        back = m_disabledBackColor;
    } else if (isReadOnly()) {
        text = m_readOnlyTextColor;
        back = m_readOnlyBackColor;
    }
    QPalette colors = m_systemPalette;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colors.setColor(group, QPalette::Text, text);
        colors.setColor(group, QPalette::Base, back);
    }
    setPalette(colors);
}

bool CExEdit::IsBlank() const
{
    const QString value = text();
    return std::all_of(value.begin(), value.end(), [](QChar c) { return c == QLatin1Char(' '); });
}

bool CExEdit::SetUpdating(bool updating)
{
    return std::exchange(m_bUpdating, updating);
}

void CExEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (m_nModified == kChanged) {
        m_nModified = kReported;
        emit Command(m_id, kModifiedByUser);
    }
}

void CExEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::ReadOnlyChange)
        UpdatePalette();
}

std::intptr_t CExEdit::Notify(VelkNMHDR& header)
{
    header.hwndFrom = this;
    header.idFrom = m_id;
    return SendVelkNotify(parentWidget(), header);
}
