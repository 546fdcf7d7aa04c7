#include "panlo/SplitCtrl.h"

#include "panlo/ControlId.h"
#include "panlo/PanloLibrary.h"

#include <QMouseEvent>
#include <QPainter>
#include <QVariant>

#include <utility>

namespace {

[[maybe_unused]] const bool kSplitCtrlRegistered = (RegisterPanloLibrary(), true);

} // namespace

CSplitCtrl::CSplitCtrl(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Panlo::CSplitCtrl"));
    setAutoFillBackground(false);
    setCursor(Qt::ArrowCursor);
}

bool CSplitCtrl::Create(unsigned style, const QRect& rect, QWidget* parent, int id)
{
    if (!parent)
        return false;
    setParent(parent);
    m_id = id;
    m_style = style & kAlignmentMask;
    SetControlId(this, id);
    setGeometry(rect.adjusted(1, 1, -1, -1));
    show();
    return true;
}

bool CSplitCtrl::CreateFromControl(int id, QWidget* parent)
{
    QWidget* placeholder = FindControl(parent, id);
    if (!placeholder)
        return false;
    const QRect rect = placeholder->geometry();
    const unsigned style = placeholder->property("windowStyle").toUInt();
    const unsigned exStyle = placeholder->property("windowExStyle").toUInt();
    if (!Create(style, rect, parent, id))
        return false;
    stackUnder(placeholder); // take the placeholder's place among its siblings
    delete placeholder;
    m_exStyle = exStyle;
    return true;
}

void CSplitCtrl::Attach(CResizer* resizer, double minimumPercent, double maximumPercent,
                        CResizer::Validator validator)
{
    m_resizer = resizer;
    m_minimum = minimumPercent;
    m_maximum = maximumPercent;
    m_validator = std::move(validator);
    m_dragOrigin = kNoDrag;

    QRect r = geometry();
    m_vertical = r.height() > r.width();
    UpdateCursor();
    if (m_exStyle & kExTransparent)
        return;

    // Near and far edge along the moving direction, exclusive far edge.
    int nearEdge = m_vertical ? r.x() : r.y();
    int farEdge = nearEdge + (m_vertical ? r.width() : r.height());
    const unsigned alignment = m_style & kAlignmentMask;
    if (alignment == kAlignNear) {
        farEdge = nearEdge + kThickness;
    } else if (alignment == kAlignFar) {
        nearEdge = farEdge - kThickness;
    } else {
        nearEdge += (farEdge - nearEdge - 7) / 2;
        farEdge = nearEdge + kThickness;
    }
    if (m_vertical)
        r = QRect(nearEdge, r.y(), farEdge - nearEdge, r.height());
    else
        r = QRect(r.x(), nearEdge, r.width(), farEdge - nearEdge);
    setGeometry(r);
    update();
    if (m_resizer)
        m_resizer->Snapshot(this);
}

void CSplitCtrl::SetLimits(double minimumPercent, double maximumPercent)
{
    m_minimum = minimumPercent;
    m_maximum = maximumPercent;
}

int CSplitCtrl::GetPos() const
{
    if (!m_resizer)
        return 0;
    const QRect area = m_resizer->GetLayoutArea();
    const int extent = m_vertical ? area.width() : area.height();
    if (extent <= 0)
        return 0;
    const int edge = m_vertical ? geometry().x() : geometry().y();
    return static_cast<int>(static_cast<long long>(edge) * 100 / extent);
}

int CSplitCtrl::SetPos(int percent)
{
    if (!m_resizer)
        return 0;
    if (percent < m_minimum)
        percent = static_cast<int>(m_minimum);
    else if (percent > m_maximum)
        percent = static_cast<int>(m_maximum);
    const QRect area = m_resizer->GetLayoutArea();
    const int extent = m_vertical ? area.width() : area.height();
    // One pixel past the exact place, so that reading back in whole percent gives at least
    // the percent that was set.
    const int edge = static_cast<int>(static_cast<long long>(extent) * percent / 100) + 1;
    QRect r = geometry();
    if (m_vertical)
        r.moveLeft(edge);
    else
        r.moveTop(edge);
    const CResizer::Overrides overrides{{this, r}};
    m_resizer->Resize(m_validator, &overrides);
    if (extent <= 0)
        return 0;
    const int now = m_vertical ? geometry().x() : geometry().y();
    return static_cast<int>(static_cast<long long>(now) * 100 / extent);
}

int CSplitCtrl::ClampToLimits(int coordinate, int extent) const
{
    const int low = static_cast<int>(extent * m_minimum / 100);
    const int high = static_cast<int>(extent * m_maximum / 100);
    if (coordinate < low)
        return low;
    if (coordinate > high)
        return high;
    return coordinate;
}

void CSplitCtrl::UpdateCursor()
{
    setCursor(m_vertical ? Qt::SizeHorCursor : Qt::SizeVerCursor);
}

void CSplitCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_resizer) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_resizer->Snapshot(nullptr);
    m_lastPos = {-1, -1};
    const QPoint local = event->position().toPoint();
    m_dragOrigin = m_vertical ? local.x() : local.y();
    UpdateCursor();
    emit Command(m_id, kDragBegin);
}

void CSplitCtrl::mouseMoveEvent(QMouseEvent* event)
{
    UpdateCursor();
    if (!IsDragging() || !m_resizer)
        return;
    QWidget* window = m_resizer->Window();
    if (!window)
        return;
    // The window's coordinates; for a form view these already include the scroll position.
    const QPoint p = window->mapFromGlobal(event->globalPosition().toPoint());
    const QRect area = m_resizer->GetLayoutArea();
    QPoint pos = m_lastPos;
    if (m_vertical)
        pos.setX(ClampToLimits(p.x() - m_dragOrigin, area.width()));
    else
        pos.setY(ClampToLimits(p.y() - m_dragOrigin, area.height()));
    if (pos == m_lastPos)
        return;
    m_lastPos = pos;
    QRect r = geometry();
    if (m_vertical)
        r.moveLeft(pos.x());
    else
        r.moveTop(pos.y());
    const CResizer::Overrides overrides{{this, r}};
    // A refused layout moves nothing, and the same place is not tried again until the
    // pointer moves on.
    if (!m_resizer->Resize(m_validator, &overrides))
        return;
    window->repaint();
    emit Command(m_id, kDragStep);
}

void CSplitCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !IsDragging()) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragOrigin = kNoDrag;
    emit Command(m_id, kDragEnd);
}

void CSplitCtrl::paintEvent(QPaintEvent*)
{
    if (m_exStyle & kExTransparent)
        return;
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, palette().color(QPalette::Button));
    if (r.width() < 2 || r.height() < 2)
        return;
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}
