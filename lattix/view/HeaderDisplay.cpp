#include "lattix/view/HeaderDisplay.h"

#include "lattix/edit/CellEditController.h"
#include "lattix/model/ColumnGeometry.h"
#include "lattix/view/ColumnInfo.h"
#include "lattix/view/DrawState.h"
#include "lattix/view/TableCtrlInterface.h"
#include "lattix/view/TableHost.h"
#include "lattix/view/TableMenus.h"
#include "lattix/view/TextFlags.h"
#include "lattix/view/WaitCursor.h"
#include "velk/Contrast.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QToolTip>
#include <qdrawutil.h>

#include <algorithm>
#include <cstdlib>

namespace Lattix {

namespace {
const QColor kArrowColor(0, 0, 128); // navy
constexpr int kArrowWidth = 7;
constexpr int kArrowHeight = 4;

// A sort arrow with its left edge at x, vertically centred in rect: pointing down for an
// ascending key, up for a descending one.
void DrawArrow(QPainter& painter, int x, const QRect& rect, bool descending, const QColor& color)
{
    const qreal top = rect.top() + (rect.height() - kArrowHeight) / 2.0;
    QPainterPath path;
    if (descending) {
        path.moveTo(x, top + kArrowHeight);
        path.lineTo(x + kArrowWidth, top + kArrowHeight);
        path.lineTo(x + kArrowWidth / 2.0, top);
    } else {
        path.moveTo(x, top);
        path.lineTo(x + kArrowWidth, top);
        path.lineTo(x + kArrowWidth / 2.0, top + kArrowHeight);
    }
    path.closeSubpath();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(path);
    painter.restore();
}
} // namespace

CHeaderDisplay::CHeaderDisplay(CTableHost& ctrl) : CTableCtrlWnd(ctrl) {}

void CHeaderDisplay::Draw(QPainter& painter, const QRect& clip)
{
    CTableHost& ctrl = Ctrl();
    painter.setFont(ctrl.GetDrawState().GetFont());
    const bool flat = !ctrl.Table().IsHeaderSortEnabled();
    const int end = ForEachColumnIn(clip, [&](int col, int left, int width) {
        const bool pressed =
            col == m_nColumn && ((m_state == kMoving) || (m_state == kPressed && m_bPressedLook));
        DrawTitle(painter, QRect(left, 0, width, CTableHost::kHeaderHeight), col, pressed, flat);
    });
    if (end <= clip.right()) // the empty title right of the last column
        DrawTitle(painter, QRect(end, 0, clip.right() + 4 - end, CTableHost::kHeaderHeight), -1,
                  false, flat);
    if (m_state == kMoving && !m_dragImage.isNull()) {
        painter.setOpacity(0.6);
        painter.drawPixmap(m_lastPos.x() - m_nGrabOffset, 0, m_dragImage);
        painter.setOpacity(1.0);
    }
}

void CHeaderDisplay::DrawTitle(QPainter& painter, const QRect& cell, int col, bool pressed,
                               bool flat)
{
    // Some styles (Fusion among them) draw every header section alike whatever its state,
    // so the flat and the pressed look are drawn here: titles on the plain window colour,
    // parted by short lines, over one line along the bottom; a pressed title darker and
    // sunken.
    if (flat && !pressed) {
        painter.fillRect(cell, palette().color(QPalette::Window));
        const QColor line = palette().color(QPalette::Mid);
        painter.fillRect(QRect(cell.right(), cell.top() + 3, 1, cell.height() - 6), line);
        painter.fillRect(QRect(cell.left(), cell.bottom(), cell.width(), 1), line);
    } else {
        QStyleOptionHeader option;
        option.initFrom(this);
        option.rect = cell;
        option.state = QStyle::State_Enabled | QStyle::State_Horizontal;
        option.state |= pressed ? QStyle::State_Sunken : QStyle::State_Raised;
        option.section = 0;
        option.position = QStyleOptionHeader::Middle;
        style()->drawControl(QStyle::CE_HeaderSection, &option, &painter, this);
    }
    if (pressed) {
        QColor shade = palette().color(QPalette::Shadow);
        shade.setAlpha(48);
        painter.fillRect(cell, shade);
        qDrawShadePanel(&painter, cell, palette(), true, 1);
    }
    if (col < 0)
        return;

    const CTableHost& ctrl = Ctrl();
    const CColumnInfo& info = ctrl.GetColumnInfo(col);
    QRect text = cell.adjusted(CTableHost::kMarginLeft, CTableHost::kMarginTop,
                               -CTableHost::kMarginRight, -CTableHost::kMarginBottom);
    if (pressed)
        text.translate(1, 1);
    const int direction = Ctrl().Menus().DirectionOf(col);
    if (direction != CTableMenus::kNoSort) {
        const std::uint32_t align = info.nFormat & (TextFlags::Center | TextFlags::Right);
        const bool arrowLeft = align == TextFlags::Center || align == TextFlags::Right;
        const bool arrowRight = align != TextFlags::Right;
        const bool descending = direction == CTableMenus::kDescending;
        const QColor arrow = CContrast::OnBackground(kArrowColor, palette().color(QPalette::Button),
                                                     CContrast::kText);
        if (arrowLeft) {
            DrawArrow(painter, text.left() - 2, text, descending, arrow);
            text.setLeft(text.left() + 7);
        }
        if (arrowRight) {
            DrawArrow(painter, text.right() - 5, text, descending, arrow);
            text.setRight(text.right() - 7);
        }
    }
    painter.setPen(palette().color(QPalette::ButtonText));
    TextFlags::DrawText(painter, text, QString::fromStdString(info.strTitle), info.nFormat);
}

int CHeaderDisplay::BorderHitTest(int contentX) const
{
    return Ctrl().Geometry().BorderHitTest(contentX, CTableHost::kMarginRight,
                                           CTableHost::kMarginLeft);
}

void CHeaderDisplay::mousePressEvent(QMouseEvent* event)
{
    CTableHost::CNotifyScope scope(Ctrl());
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    CTableHost& ctrl = Ctrl();
    ctrl.Widget().setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    const int x = pos.x() + ctrl.GetScrollX();
    m_lastPos = pos;
    m_nStartX = x;
    const int border = ctrl.Table().IsColumnResizeEnabled() ? BorderHitTest(x) : -1;
    if (border >= 0) {
        m_state = kResizing;
        m_nColumn = border;
        m_nStartWidth = ctrl.Geometry().GetWidth(border);
        m_timer.start(kTimerMs, this);
        return;
    }
    const int col = ctrl.Geometry().ColumnFromX(x);
    if (col < 0) {
        QApplication::beep();
        return;
    }
    m_state = kPressed;
    m_nColumn = col;
    m_nPos = ctrl.Geometry().GetColumnPos(col);
    m_nGrabOffset = x - ctrl.Geometry().GetColumnLeft(col);
    m_bPressedLook = true;
    m_timer.start(kTimerMs, this);
    update();
}

void CHeaderDisplay::HandleMove(QPoint pos)
{
    CTableHost& ctrl = Ctrl();
    const int x = pos.x() + ctrl.GetScrollX();
    switch (m_state) {
    case kPressed: {
        const bool over = ctrl.Geometry().ColumnFromX(x) == m_nColumn && pos.y() >= 0 &&
                          pos.y() < CTableHost::kHeaderHeight;
        if (over != m_bPressedLook) {
            m_bPressedLook = over;
            update();
        }
        if (ctrl.Table().IsColumnMoveEnabled() &&
            std::abs(x - m_nStartX) > QApplication::startDragDistance()) {
            m_state = kMoving;
            const QRect cell(ctrl.Geometry().GetColumnLeft(m_nColumn) - ctrl.GetScrollX(), 0,
                             ctrl.Geometry().GetWidth(m_nColumn), CTableHost::kHeaderHeight);
            m_dragImage = grab(cell);
            update();
        }
        break;
    }
    case kResizing:
        ctrl.Table().SetColumnWidth(m_nColumn, m_nStartWidth + x - m_nStartX);
        ctrl.Table().Update(true);
        break;
    case kMoving: {
        update();
        const int target = ctrl.Geometry().ColumnFromX(x);
        if (target < 0 || target == m_nColumn)
            break;
        const int targetPos = ctrl.Geometry().GetColumnPos(target);
        const int currentPos = ctrl.Geometry().GetColumnPos(m_nColumn);
        const int targetLeft = ctrl.Geometry().GetColumnLeft(target);
        const int targetMiddle = targetLeft + ctrl.Geometry().GetWidth(target) / 2;
        const int draggedLeft = x - m_nGrabOffset;
        const int draggedRight = draggedLeft + ctrl.Geometry().GetWidth(m_nColumn);
        const bool far =
            targetPos > currentPos ? draggedRight > targetMiddle : draggedLeft < targetMiddle;
        if (far) {
            ctrl.MoveColumn(m_nColumn, targetPos);
            ctrl.Table().Update(true);
        }
        break;
    }
    case kIdle:
        break;
    }
}

void CHeaderDisplay::mouseMoveEvent(QMouseEvent* event)
{
    CTableHost::CNotifyScope scope(Ctrl());
    CTableHost& ctrl = Ctrl();
    const QPoint pos = event->position().toPoint();
    const int x = pos.x() + ctrl.GetScrollX();
    if (m_state == kIdle) {
        if (ctrl.Table().IsColumnResizeEnabled() && BorderHitTest(x) >= 0)
            setCursor(Qt::SplitHCursor);
        else
            unsetCursor();
        const int col = ctrl.Geometry().ColumnFromX(x);
        if (col != ctrl.Geometry().ColumnFromX(m_lastPos.x() + ctrl.GetScrollX()))
            QToolTip::hideText();
        m_lastPos = pos;
        return;
    }
    m_lastPos = pos;
    HandleMove(pos);
}

void CHeaderDisplay::mouseReleaseEvent(QMouseEvent* event)
{
    CTableHost::CNotifyScope scope(Ctrl());
    if (event->button() != Qt::LeftButton || m_state == kIdle) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    CTableHost& ctrl = Ctrl();
    const QPoint pos = event->position().toPoint();
    const int x = pos.x() + ctrl.GetScrollX();
    const State state = m_state;
    const int col = m_nColumn;
    EndTracking(true);
    if (state == kPressed && ctrl.Table().IsHeaderSortEnabled() &&
        ctrl.Geometry().ColumnFromX(x) == col && pos.y() >= 0 &&
        pos.y() < CTableHost::kHeaderHeight) {
        CTableMenus& menus = ctrl.Menus();
        const int direction = menus.DirectionOf(col) == CTableMenus::kAscending
                                  ? CTableMenus::kDescending
                                  : CTableMenus::kAscending;
        const bool replace = !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
        if (menus.SortByColumn(col, direction, replace))
            ctrl.Table().Update(true);
    } else if (state == kMoving) {
        ctrl.Menus().ResortByDisplayOrder();
    }
}

void CHeaderDisplay::mouseDoubleClickEvent(QMouseEvent* event)
{
    CTableHost::CNotifyScope scope(Ctrl());
    CTableHost& ctrl = Ctrl();
    const int x = event->position().toPoint().x() + ctrl.GetScrollX();
    const int border = ctrl.Table().IsColumnResizeEnabled() ? BorderHitTest(x) : -1;
    if (event->button() == Qt::LeftButton && border >= 0) {
        CWaitCursor wait;
        ctrl.Table().AutoSizeColumn(border, true);
        ctrl.Table().Update(true);
        return;
    }
    // A quick second click on a title acts as a click of its own.
    mousePressEvent(event);
}

void CHeaderDisplay::EndTracking(bool releaseCapture)
{
    m_timer.stop();
    const bool wasTracking = m_state != kIdle;
    m_state = kIdle;
    m_bPressedLook = false;
    m_nColumn = -1;
    m_dragImage = QPixmap();
    update();
    if (wasTracking && releaseCapture)
        Ctrl().Notify(NM_RELEASEDCAPTURE);
}

void CHeaderDisplay::CancelTracking()
{
    EndTracking(true);
}

void CHeaderDisplay::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timer.timerId() || m_state == kIdle) {
        QWidget::timerEvent(event);
        return;
    }
    CTableHost::CNotifyScope scope(Ctrl());
    CTableHost& ctrl = Ctrl();
    const int x = m_lastPos.x();
    const int right = width();
    if (x < kScrollBand) {
        if (x < 0)
            ctrl.ScrollHorz(QAbstractSlider::SliderSingleStepSub);
        else
            ctrl.SetScrollPos(ctrl.GetScrollX() - (kScrollBand - x) / 3, ctrl.GetScrollY());
    } else if (x >= right - kScrollBand) {
        if (x >= right)
            ctrl.ScrollHorz(QAbstractSlider::SliderSingleStepAdd);
        else
            ctrl.SetScrollPos(ctrl.GetScrollX() + (x - (right - kScrollBand)) / 3,
                              ctrl.GetScrollY());
    }
    HandleMove(m_lastPos);
    ctrl.Table().Update(true);
}

void CHeaderDisplay::contextMenuEvent(QContextMenuEvent* event)
{
    CTableHost::CNotifyScope scope(Ctrl());
    Ctrl().EditController().EndEdit(true);
    Ctrl().Menus().ShowHeaderMenu(event->pos());
}

bool CHeaderDisplay::ShowToolTip(QPoint pos, QPoint globalPos)
{
    CTableHost& ctrl = Ctrl();
    const int col = ctrl.Geometry().ColumnFromX(pos.x() + ctrl.GetScrollX());
    if (col < 0)
        return false;
    const CColumnInfo& info = ctrl.GetColumnInfo(col);
    NMTABLECTRL notification;
    notification.nColumn = col;
    const int left = ctrl.Geometry().GetColumnLeft(col) - ctrl.GetScrollX();
    const int width = ctrl.Geometry().GetWidth(col);
    if (!info.strLongName.empty()) {
        notification.strText = info.strLongName;
    } else {
        const QFontMetrics metrics(ctrl.GetDrawState().GetFont());
        const int textWidth = metrics.horizontalAdvance(QString::fromStdString(info.strTitle));
        const int room = width - CTableHost::kMarginLeft - CTableHost::kMarginRight;
        if (textWidth > room || left + width > ctrl.GetBodyWidth())
            notification.strText = info.strTitle;
    }
    ctrl.Notify(LXN_GETHEADERTIP, notification);
    if (notification.strText.empty())
        return false;
    QToolTip::showText(globalPos, QString::fromStdString(notification.strText), this,
                       QRect(left, 0, width, CTableHost::kHeaderHeight));
    return true;
}

bool CHeaderDisplay::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        CTableHost::CNotifyScope scope(Ctrl());
        const auto* help = static_cast<QHelpEvent*>(event);
        if (!ShowToolTip(help->pos(), help->globalPos())) {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return CTableCtrlWnd::event(event);
}

} // namespace Lattix
