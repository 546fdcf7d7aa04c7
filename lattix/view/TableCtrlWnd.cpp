#include "lattix/view/TableCtrlWnd.h"

#include "lattix/model/ColumnGeometry.h"
#include "lattix/view/TableHost.h"

#include <QApplication>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace Lattix {

namespace {
// The off-screen buffer of all displays; they paint only on the GUI thread.
QPixmap& SharedBuffer()
{
    static QPixmap buffer;
    return buffer;
}
} // namespace

CTableCtrlWnd::CTableCtrlWnd(CTableHost& ctrl) : QWidget(&ctrl.Widget()), m_ctrl(ctrl)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
}

void CTableCtrlWnd::wheelEvent(QWheelEvent* event)
{
    QApplication::sendEvent(&m_ctrl.Widget(), event);
}

void CTableCtrlWnd::paintEvent(QPaintEvent* event)
{
    const QRect box = event->rect();
    if (box.isEmpty())
        return;
    // Drawn at the density of the target: the screen's, or that of a picture the display is
    // rendered into, so that a double-density picture is no 1x drawing scaled up.
    QPainter screen(this);
    const QPaintDevice* target =
        screen.paintEngine() ? screen.paintEngine()->paintDevice() : nullptr;
    const qreal ratio = std::max(devicePixelRatioF(), target ? target->devicePixelRatioF() : 1.0);
    const int needW = static_cast<int>(std::ceil(box.width() * ratio));
    const int needH = static_cast<int>(std::ceil(box.height() * ratio));
    QPixmap& buffer = SharedBuffer();
    if (buffer.width() < needW || buffer.height() < needH) {
        buffer = QPixmap(std::max(buffer.width(), needW), std::max(buffer.height(), needH));
    }
    buffer.setDevicePixelRatio(ratio);
    {
        QPainter painter(&buffer);
        painter.translate(-box.topLeft());
        painter.setClipRect(box);
        painter.save();
        Draw(painter, box);
        painter.restore();
    }
    screen.drawPixmap(box.topLeft(), buffer, QRect(0, 0, needW, needH));
}

int CTableCtrlWnd::ForEachColumnIn(
    const QRect& clip, const std::function<void(int col, int left, int width)>& draw) const
{
    int left = -m_ctrl.GetScrollX();
    for (int col : m_ctrl.Geometry().GetDisplayOrder()) {
        if (!m_ctrl.Geometry().IsVisible(col))
            continue;
        if (left > clip.right())
            break;
        const int width = m_ctrl.Geometry().GetWidth(col);
        if (left + width > clip.left())
            draw(col, left, width);
        left += width;
    }
    return left;
}

} // namespace Lattix
