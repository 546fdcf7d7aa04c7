#include "velk/ComboBase.h"

#include "velk/VelkLibrary.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>

#include <chrono>

namespace {

[[maybe_unused]] const bool kComboBaseRegistered = (RegisterVelkLibrary(), true);

std::int64_t SteadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The face as screen readers see it: a combo box whose value is the shown text.
class FaceAccessible : public QAccessibleWidget
{
public:
    explicit FaceAccessible(CComboBase* face) : QAccessibleWidget(face, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return static_cast<CComboBase*>(widget())->GetText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expanded = static_cast<CComboBase*>(widget())->IsOpened();
        s.collapsed = !s.expanded;
        s.expandable = true;
        return s;
    }
};

QAccessibleInterface* FaceFactory(const QString&, QObject* object)
{
    // Derived classes keep the face's view unless they install their own.
    if (auto* face = qobject_cast<CComboBase*>(object))
        return new FaceAccessible(face);
    return nullptr;
}

} // namespace

CComboBase::CComboBase(int id, QWidget* parent)
    : QWidget(parent), m_id(id), m_clock(SteadyMilliseconds)
{
    static const bool factoryInstalled = (QAccessible::installFactory(FaceFactory), true);
    (void)factoryInstalled;
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void CComboBase::SetOpened(bool open)
{
    if (open && !hasFocus())
        setFocus(Qt::OtherFocusReason);
    m_bOpened = open;
    QAccessibleStateChangeEvent event(this, [] {
        QAccessible::State changed;
        changed.expanded = changed.collapsed = true;
        return changed;
    }());
    QAccessible::updateAccessibility(&event);
}

void CComboBase::NotifyParent(int code)
{
    emit Command(m_id, code);
}

void CComboBase::SetDropSize(int minWidth, int size)
{
    m_nMinWidth = minWidth;
    if (size != 0)
        m_nDropSize = size;
}

void CComboBase::SetText(const QString& text, int image)
{
    m_nImage = image;
    m_text = text;
    update();
    QAccessibleValueChangeEvent event(this, text);
    QAccessible::updateAccessibility(&event);
}

QRect CComboBase::ButtonRect() const
{
    const int width = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return QRect(rect().right() + 1 - width, 0, width, height());
}

int CComboBase::GetRowHeight() const
{
    return QFontMetrics(font()).height();
}

QRect CComboBase::GetDropRect() const
{
    return GetDropRect(m_nDropSize, m_nExtraHeight);
}

QRect CComboBase::GetDropRect(int dropSize, int extraHeight) const
{
    const QRect face(mapToGlobal(QPoint(0, 0)), size());
    const int left = face.left();
    const int right = face.width() < m_nMinWidth ? left + m_nMinWidth : face.left() + face.width();
    const int top = face.top() + face.height();
    const int row = GetRowHeight() + m_nRowSpacing;
    int bottom = dropSize > 0 ? top + dropSize : top + extraHeight - dropSize * row;
    if (!(m_style & CBS_NOINTEGRALHEIGHT) && row > 0)
        bottom = top + extraHeight + (bottom - top - extraHeight) / row * row;
    QRect drop(QPoint(left, top), QPoint(right - 1, bottom - 1));
    const QScreen* shown = screen();
    const int screenBottom = shown ? shown->geometry().top() + shown->geometry().height() : bottom;
    if (bottom > screenBottom)
        drop.translate(0, -(bottom - face.top()));
    return drop;
}

void CComboBase::OnFaceAction(int code)
{
    if (code == kButtonUp)
        NotifyParent(0);
}

void CComboBase::OnTypeAhead(const QString&) {}

void CComboBase::SetPressed(bool pressed)
{
    if (pressed != m_bPressed) {
        m_bPressed = pressed;
        update(ButtonRect());
    }
}

void CComboBase::CancelMode()
{
    m_bCaptured = false;
    SetPressed(false);
}

void CComboBase::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    if (m_bOpened) {
        OnFaceAction(kDownWhileOpen);
    } else if (!ButtonRect().contains(event->position().toPoint())) {
        OnFaceAction(kFaceDown);
    } else {
        SetPressed(true);
        m_bCaptured = true; // the implicit grab holds the mouse until the release
        OnFaceAction(kButtonDown);
    }
}

void CComboBase::mouseMoveEvent(QMouseEvent* event)
{
    if (m_bCaptured)
        SetPressed(ButtonRect().contains(event->position().toPoint()));
}

void CComboBase::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_bCaptured || event->button() != Qt::LeftButton)
        return;
    CancelMode();
    OnFaceAction(ButtonRect().contains(event->position().toPoint()) ? kButtonUp : kReleasedOff);
}

bool CComboBase::KeyInTime()
{
    const std::int64_t now = m_clock();
    const bool inTime = m_bKeyTimed && now - m_lastKey < kTypeAheadDelay;
    m_lastKey = now;
    m_bKeyTimed = true;
    return inTime;
}

bool CComboBase::event(QEvent* event)
{
    // Open, the face keeps all keys, shortcuts included.
    if (event->type() == QEvent::ShortcutOverride && m_bOpened) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void CComboBase::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_F4) {
        if (!m_bOpened)
            SetOpened(true);
        else
            QWidget::keyPressEvent(event);
        return;
    }
    if (key == Qt::Key_Delete) {
        m_typeAhead.clear();
        return;
    }
    if (key == Qt::Key_Backspace) {
        if (KeyInTime() && !m_typeAhead.isEmpty()) {
            m_typeAhead.chop(1);
            OnTypeAhead(m_typeAhead);
        }
        return;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0].unicode() >= 32 && typed[0].unicode() <= 255) {
        if (KeyInTime())
            m_typeAhead += typed;
        else
            m_typeAhead = typed;
        OnTypeAhead(m_typeAhead);
    }
    if (m_bOpened)
        event->accept(); // the open face keeps every key from the dialog
    else
        QWidget::keyPressEvent(event);
}

bool CComboBase::focusNextPrevChild(bool next)
{
    return !m_bOpened && QWidget::focusNextPrevChild(next);
}

void CComboBase::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void CComboBase::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void CComboBase::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
    else if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        CancelMode();
}

void CComboBase::hideEvent(QHideEvent* event)
{
    CancelMode();
    QWidget::hideEvent(event);
}

void CComboBase::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colors = palette();
    const QRect button = ButtonRect();
    QRect area(0, 0, button.left(), height());
    const QColor face = colors.color(QPalette::Button);
    painter.fillRect(area, isEnabled() ? colors.color(QPalette::Base) : face);

    QColor text = colors.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text);
    QColor back = isEnabled() ? colors.color(QPalette::Base) : face;
    if (hasFocus()) {
        text = colors.color(QPalette::HighlightedText);
        back = colors.color(QPalette::Highlight);
    }
    area.adjust(1, 1, -1, -1);
    const QRect textBox =
        painter.fontMetrics()
            .boundingRect(area.adjusted(1, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, m_text)
            .intersected(area);
    painter.fillRect(textBox, back);
    painter.setPen(text);
    painter.setClipRect(area);
    painter.drawText(area.adjusted(1, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, m_text);
    painter.setClipping(false);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = area;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }

    DrawDropButton(painter, m_bPressed);
}

void CComboBase::DrawDropButton(QPainter& painter, bool pushed)
{
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = ButtonRect();
    option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    option.state |= pushed ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonTool, &option, &painter, this);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, this);
}
