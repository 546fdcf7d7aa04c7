#include "velk/SpinEdit.h"

#include "velk/VelkLibrary.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {

[[maybe_unused]] const bool kSpinEditRegistered = (RegisterVelkLibrary(), true);

} // namespace

CSpinEdit::CSpinEdit(int id, QWidget* parent) : CExEdit(id, parent)
{
    setMouseTracking(true); // the buttons show the arrow cursor, the text the I-beam
    m_repeat.setSingleShot(false);
    connect(&m_repeat, &QTimer::timeout, this, &CSpinEdit::OnRepeatTimer);
    ShowButtons(true);
}

int CSpinEdit::ButtonWidth() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

void CSpinEdit::ShowButtons(bool show)
{
    if (show == m_bButtons)
        return;
    m_bButtons = show;
    setTextMargins(0, 0, show ? ButtonWidth() - 1 : 0, 0);
    update();
}

QRect CSpinEdit::ButtonsRect() const
{
    if (!m_bButtons)
        return {};
    const int border =
        hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) : 0;
    const int right = width() - border;
    const int left = right - ButtonWidth() + 1;
    return QRect(QPoint(left, border), QPoint(right - 1, height() - border - 1));
}

QRect CSpinEdit::ButtonRect(int button) const
{
    const QRect buttons = ButtonsRect();
    const int half = buttons.height() / 2;
    if (button == kUp)
        return QRect(buttons.left(), buttons.top(), buttons.width(), half);
    if (button == kDown)
        return QRect(buttons.left(), buttons.top() + half, buttons.width(),
                     buttons.height() - half);
    return {};
}

int CSpinEdit::ButtonAt(const QPoint& pos) const
{
    if (ButtonRect(kUp).contains(pos))
        return kUp;
    if (ButtonRect(kDown).contains(pos))
        return kDown;
    return 0;
}

bool CSpinEdit::SpinStep(int delta)
{
    VelkNMUPDOWN record;
    record.hdr.code = UDN_DELTAPOS;
    record.iPos = delta;
    record.iDelta = delta;
    if (Notify(record.hdr) != 0)
        return false;
    emit Command(Id(), kBeforeStep);
    Step(delta);
    emit Command(Id(), kAfterStep);
    return true;
}

bool CSpinEdit::Step(int)
{
    return false;
}

void CSpinEdit::OnRepeatTimer()
{
    if (m_repeat.interval() != kRepeatDelay)
        m_repeat.start(kRepeatDelay);
    if (m_nCaptured != 0 && ButtonAt(m_pointer) == m_nCaptured)
        SpinStep(m_nCaptured);
}

void CSpinEdit::SetPressed(int button)
{
    if (m_nPressed != button) {
        m_nPressed = button;
        update(ButtonsRect());
    }
}

bool CSpinEdit::PressButton(QMouseEvent* event)
{
    const int button =
        event->button() == Qt::LeftButton ? ButtonAt(event->position().toPoint()) : 0;
    if (button == 0)
        return false;
    event->accept();
    if (isReadOnly())
        return true;
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    m_pointer = event->position().toPoint();
    m_nCaptured = button;
    SetPressed(button);
    m_repeat.start(kFirstDelay);
    SpinStep(button);
    return true;
}

void CSpinEdit::ReleaseCapture()
{
    m_nCaptured = 0;
    SetPressed(0);
    m_repeat.stop();
}

void CSpinEdit::mousePressEvent(QMouseEvent* event)
{
    if (!PressButton(event))
        CExEdit::mousePressEvent(event);
}

void CSpinEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!PressButton(event))
        CExEdit::mouseDoubleClickEvent(event);
}

void CSpinEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (m_nCaptured == 0) {
        setCursor(ButtonAt(event->position().toPoint()) != 0 ? Qt::ArrowCursor : Qt::IBeamCursor);
        CExEdit::mouseMoveEvent(event);
        return;
    }
    m_pointer = event->position().toPoint();
    SetPressed(ButtonAt(m_pointer) == m_nCaptured ? m_nCaptured : 0);
}

void CSpinEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_nCaptured == 0) {
        CExEdit::mouseReleaseEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton)
        ReleaseCapture();
}

void CSpinEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if ((key != Qt::Key_Up && key != Qt::Key_Down) || isReadOnly()) {
        CExEdit::keyPressEvent(event);
        return;
    }
    const int delta = key == Qt::Key_Up ? kUp : kDown;
    if (m_nCaptured == 0)
        SetPressed(delta);
    SpinStep(delta);
}

void CSpinEdit::keyReleaseEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && m_nCaptured == 0)
        SetPressed(0);
    CExEdit::keyReleaseEvent(event);
}

void CSpinEdit::focusOutEvent(QFocusEvent* event)
{
    SetPressed(0);
    CExEdit::focusOutEvent(event);
}

void CSpinEdit::hideEvent(QHideEvent* event)
{
    // A hidden edit gets no release of the button: the press ends here.
    ReleaseCapture();
    CExEdit::hideEvent(event);
}

void CSpinEdit::paintEvent(QPaintEvent* event)
{
    CExEdit::paintEvent(event);
    if (!m_bButtons)
        return;
    QPainter painter(this);
    const bool inactive = !isEnabled() || isReadOnly();
    for (const int button : {kUp, kDown}) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = ButtonRect(button);
        option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        option.state |= m_nPressed == button ? QStyle::State_Sunken : QStyle::State_Raised;
        if (inactive)
            option.state &= ~QStyle::State_Enabled;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
        option.rect = option.rect.adjusted(2, 1, -2, -1);
        style()->drawPrimitive(button == kUp ? QStyle::PE_IndicatorArrowUp
                                             : QStyle::PE_IndicatorArrowDown,
                               &option, &painter, this);
    }
    const QRect buttons = ButtonsRect();
    painter.setPen(palette().color(QPalette::Button));
    const int middle = ButtonRect(kDown).top();
    painter.drawLine(buttons.left(), middle, buttons.right(), middle);
}
