#include "lattix/view/TableScroller.h"

#include "lattix/edit/CellEditController.h"
#include "lattix/model/ColumnGeometry.h"
#include "lattix/view/DrawState.h"
#include "lattix/view/FooterDisplay.h"
#include "lattix/view/HeaderDisplay.h"
#include "lattix/view/TableCtrlInterface.h"
#include "lattix/view/TableDisplay.h"
#include "lattix/view/TableHost.h"

#include <QApplication>
#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cstdint>

namespace Lattix {

CTableScroller::CTableScroller(CTableHost& host)
    : m_host(host), m_horz(new QScrollBar(Qt::Horizontal, &host.Widget())),
      m_vert(new QScrollBar(Qt::Vertical, &host.Widget()))
{
    m_horz->hide();
    m_vert->hide();
    m_vert->installEventFilter(this);
    QObject::connect(m_vert, &QAbstractSlider::actionTriggered, this,
                     [this](int action) { ScrollVert(action); });
    QObject::connect(m_vert, &QAbstractSlider::valueChanged, this, [this](int value) {
        CTableHost::CNotifyScope scope(m_host);
        SetScrollPos(m_x, value);
    });
    QObject::connect(m_horz, &QAbstractSlider::actionTriggered, this,
                     [this](int action) { ScrollHorz(action); });
    QObject::connect(m_horz, &QAbstractSlider::valueChanged, this, [this](int value) {
        CTableHost::CNotifyScope scope(m_host);
        SetScrollPos(value, m_y);
    });
}

void CTableScroller::Detach()
{
    m_vert->removeEventFilter(this);
    QObject::disconnect(m_vert, nullptr, this, nullptr);
    QObject::disconnect(m_horz, nullptr, this, nullptr);
}

CTableScroller::Fit CTableScroller::FitBars(int width, int height, int contentWidth,
                                            std::int64_t contentHeight, int extent, Bars bars)
{
    Fit fit{width, height, false, false};
    for (;;) {
        if (bars.horzAllowed && !fit.hBar && (bars.horzAlways || contentWidth > fit.bodyWidth)) {
            fit.hBar = true;
            fit.bodyHeight -= extent;
        }
        if (bars.vertAllowed && !fit.vBar && fit.bodyHeight < contentHeight) {
            fit.vBar = true;
            fit.bodyWidth -= extent;
            continue;
        }
        return fit;
    }
}

void CTableScroller::SetBodySize(int width, int height)
{
    m_bodyWidth = std::max(0, width);
    m_bodyHeight = std::max(0, height);
    ClampScroll();
    UpdateScrollBars();
}

bool CTableScroller::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_vert && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int count = m_host.Table().GetRowCount();
        int first = m_y / std::max(1, m_host.GetRowHeight()) + 1;
        first = std::min(std::max(first, 1), count);
        QToolTip::showText(
            help->globalPos(),
            QCoreApplication::translate("CTableScroller", "%1 von %2").arg(first).arg(count),
            m_vert);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

int CTableScroller::RowFromY(int bodyY) const
{
    const int y = bodyY + m_y;
    if (y < 0 || m_host.GetRowHeight() <= 0)
        return -1;
    const int row = y / m_host.GetRowHeight();
    return row < m_host.Table().GetRowCount() ? row : -1;
}

QRect CTableScroller::GetCellRect(int row, int col) const
{
    const int rowHeight = std::max(1, m_host.GetRowHeight());
    return {m_host.Geometry().GetColumnLeft(col) - m_x, row * rowHeight - m_y,
            std::max(0, m_host.Geometry().GetWidth(col) - m_host.GetDrawState().GetVertGrid()),
            std::max(0, rowHeight - m_host.GetDrawState().GetHorzGrid())};
}

int CTableScroller::GetRowsPerPage() const
{
    return m_host.GetRowHeight() > 0 ? std::max(0, m_bodyHeight / m_host.GetRowHeight()) : 0;
}

int CTableScroller::MaxScrollY() const
{
    const int rh = std::max(1, m_host.GetRowHeight());
    const std::int64_t content = static_cast<std::int64_t>(m_host.Table().GetRowCount()) * rh;
    const std::int64_t page = static_cast<std::int64_t>(m_bodyHeight / rh) * rh;
    return static_cast<int>(std::max<std::int64_t>(0, content - page));
}

void CTableScroller::ClampScroll()
{
    const int rh = std::max(1, m_host.GetRowHeight());
    m_x = std::clamp(m_x, 0, std::max(0, m_host.Geometry().GetTotalWidth() - m_bodyWidth));
    m_y = std::clamp(m_y, 0, MaxScrollY());
    m_y -= m_y % rh;
}

void CTableScroller::SetScrollPos(int x, int y)
{
    const int oldX = m_x;
    const int oldY = m_y;
    m_x = x;
    m_y = y;
    ClampScroll();
    if (m_x == oldX && m_y == oldY)
        return;
    m_host.EditController().RepositionEditor();
    UpdateScrollBars();
    m_host.Body().update();
    if (m_x != oldX) {
        m_host.Header().update();
        m_host.Footer().update();
    }
}

void CTableScroller::ScrollVert(int action)
{
    const int rh = std::max(1, m_host.GetRowHeight());
    int y = m_y;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        y += rh;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        y -= rh;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        y += std::max(rh, m_bodyHeight - rh);
        break;
    case QAbstractSlider::SliderPageStepSub:
        y -= std::max(rh, m_bodyHeight - rh);
        break;
    case QAbstractSlider::SliderToMinimum:
        y = 0;
        break;
    case QAbstractSlider::SliderToMaximum:
        y = MaxScrollY();
        break;
    default:
        return; // thumb moves arrive as value changes
    }
    SetScrollPos(m_x, y);
    m_vert->setSliderPosition(m_y);
}

void CTableScroller::ScrollHorz(int action)
{
    const int step = std::max(1, m_bodyWidth - kHorzPageOverlap);
    int x = m_x;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: {
        const int col = m_host.Geometry().ColumnFromX(m_x);
        int target = 0;
        if (col >= 0 && m_host.Geometry().GetColumnLeft(col) < m_x) {
            target = m_host.Geometry().GetColumnLeft(col);
        } else {
            const int pos =
                col >= 0 ? m_host.Geometry().GetPrevVisiblePos(m_host.Geometry().GetColumnPos(col))
                         : m_host.Geometry().GetPrevVisiblePos(m_host.Table().GetColumnCount());
            target = pos >= 0
                         ? m_host.Geometry().GetColumnLeft(m_host.Geometry().GetColumnAtPos(pos))
                         : 0;
        }
        x = std::max(target, m_x - step);
        break;
    }
    case QAbstractSlider::SliderSingleStepAdd: {
        const int col = m_host.Geometry().ColumnFromX(m_x);
        if (col < 0)
            return;
        const int pos = m_host.Geometry().GetNextVisiblePos(m_host.Geometry().GetColumnPos(col));
        const int target =
            pos < m_host.Table().GetColumnCount()
                ? m_host.Geometry().GetColumnLeft(m_host.Geometry().GetColumnAtPos(pos))
                : m_host.Geometry().GetTotalWidth();
        x = std::min(target, m_x + step);
        break;
    }
    case QAbstractSlider::SliderPageStepAdd:
        x += step;
        break;
    case QAbstractSlider::SliderPageStepSub:
        x -= step;
        break;
    case QAbstractSlider::SliderToMinimum:
        x = 0;
        break;
    case QAbstractSlider::SliderToMaximum:
        x = m_host.Geometry().GetTotalWidth();
        break;
    default:
        return;
    }
    SetScrollPos(x, m_y);
    m_horz->setSliderPosition(m_x);
}

void CTableScroller::EnsureVisible(int row, int col)
{
    int x = m_x;
    int y = m_y;
    const int rh = std::max(1, m_host.GetRowHeight());
    if (m_host.Table().IsValidRow(row)) {
        const int top = row * rh;
        if (top < y)
            y = top;
        else if (top + rh > y + m_bodyHeight)
            y = (row - std::max(1, GetRowsPerPage()) + 1) * rh;
    }
    if (m_host.Table().IsValidColumn(col) && m_host.Geometry().IsVisible(col)) {
        const int left = m_host.Geometry().GetColumnLeft(col);
        const int right = left + m_host.Geometry().GetWidth(col);
        if (left < x)
            x = left;
        else if (right > x + m_bodyWidth)
            x = std::min(left, right - m_bodyWidth);
    }
    SetScrollPos(x, y);
}

void CTableScroller::Wheel(QWheelEvent& event)
{
    const QPoint delta = event.angleDelta();
    const bool sideways = delta.x() != 0 || (event.modifiers() & Qt::ShiftModifier) != 0;
    QScrollBar* bar = sideways ? m_horz : m_vert;
    if (!bar->isVisible()) {
        event.ignore();
        return;
    }
    QApplication::sendEvent(bar, &event);
}

void CTableScroller::UpdateScrollBars()
{
    const QSignalBlocker blockV(m_vert);
    const QSignalBlocker blockH(m_horz);
    m_vert->setRange(0, MaxScrollY());
    m_vert->setPageStep(std::max(1, m_bodyHeight));
    m_vert->setSingleStep(std::max(1, m_host.GetRowHeight()));
    if (!m_vert->isSliderDown())
        m_vert->setValue(m_y);
    m_horz->setRange(0, std::max(0, m_host.Geometry().GetTotalWidth() - m_bodyWidth));
    m_horz->setPageStep(std::max(1, m_bodyWidth));
    if (!m_horz->isSliderDown())
        m_horz->setValue(m_x);
}

} // namespace Lattix
