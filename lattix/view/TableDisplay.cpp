#include "lattix/view/TableDisplay.h"

#include "lattix/edit/CellEditController.h"
#include "lattix/model/ColumnGeometry.h"
#include "lattix/view/ColumnInfo.h"
#include "lattix/view/DrawState.h"
#include "lattix/view/Selection.h"
#include "lattix/view/TableAccessible.h"
#include "lattix/view/TableCtrlInterface.h"
#include "lattix/view/TableCursor.h"
#include "lattix/view/TableHost.h"
#include "lattix/view/TableMenus.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <vector>

namespace Lattix {

namespace {
unsigned KeyState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? MK_SHIFT : 0u) |
           (modifiers & Qt::ControlModifier ? MK_CONTROL : 0u);
}
} // namespace

CTableDisplay::CTableDisplay(CTableHost& ctrl) : CTableCtrlWnd(ctrl) {}

void CTableDisplay::Draw(QPainter& painter, const QRect& clip)
{
    CTableHost& ctrl = Ctrl();
    const CDrawState& look = ctrl.GetDrawState();
    const int rowHeight = std::max(1, ctrl.GetRowHeight());
    const int scrollY = ctrl.GetScrollY();
    const int rowCount = ctrl.Table().GetRowCount();
    const int horzGrid = look.GetHorzGrid();
    const bool leparello = look.GetLeparello();

    const int firstRow = std::max(0, (clip.top() + scrollY) / rowHeight);
    const int lastRow = std::min(rowCount - 1, (clip.bottom() + scrollY) / rowHeight + 1);

    // Backgrounds, one band per row; the band parity counts from the top visible row.
    const QColor window = palette().color(QPalette::Base);
    const QColor highlight = palette().color(QPalette::Highlight);
    for (int row = firstRow; row <= lastRow; ++row) {
        const int top = row * rowHeight - scrollY;
        const int band = (top / rowHeight) & 1;
        const bool marked = ctrl.Table().IsRowMarked(row);
        QColor fill;
        if (leparello)
            fill = marked ? look.GetSelectedBackColor(band) : look.GetBackColor(band);
        else
            fill = marked ? highlight : window;
        painter.fillRect(QRect(clip.left(), top, clip.width(), rowHeight), fill);
        if (horzGrid > 0)
            painter.fillRect(QRect(clip.left(), top + rowHeight - horzGrid, clip.width(), horzGrid),
                             look.GetGridColor());
    }
    const int rowsBottom = (lastRow + 1) * rowHeight - scrollY;
    if (rowsBottom <= clip.bottom())
        painter.fillRect(QRect(clip.left(), std::max(rowsBottom, clip.top()), clip.width(),
                               clip.bottom() + 1 - std::max(rowsBottom, clip.top())),
                         window);

    // The rows in sight that stand out, asked once for this paint.
    std::vector<char> emphasized;
    if (look.HasRowEmphasis() && lastRow >= firstRow) {
        emphasized.resize(static_cast<std::size_t>(lastRow - firstRow + 1));
        for (int row = firstRow; row <= lastRow; ++row)
            emphasized[static_cast<std::size_t>(row - firstRow)] = look.IsRowEmphasized(row);
    }
    const auto standsOut = [&](int row) {
        return !emphasized.empty() && emphasized[static_cast<std::size_t>(row - firstRow)];
    };
    QFont bold = look.GetFont();
    bold.setBold(true);

    // Cells, column by column through their renderers.
    const int vertGrid = look.GetVertGrid();
    ForEachColumnIn(clip, [&](int col, int left, int width) {
        const CColumnInfo& info = ctrl.GetColumnInfo(col);
        if (info.pOutput && lastRow >= firstRow) {
            const CColData* data = ctrl.Table().GetColData(col);
            info.pOutput->Begin(painter);
            for (int row = firstRow; row <= lastRow; ++row) {
                const int top = row * rowHeight - scrollY;
                const QRect cell(left + CTableHost::kMarginLeft, top + CTableHost::kMarginTop,
                                 width - CTableHost::kMarginLeft - CTableHost::kMarginRight,
                                 rowHeight - horzGrid - CTableHost::kMarginTop -
                                     CTableHost::kMarginBottom);
                if (!emphasized.empty())
                    painter.setFont(standsOut(row) ? bold : look.GetFont());
                info.pOutput->Draw(cell, *data->GetCell(row), ctrl.Table().IsRowMarked(row));
            }
            info.pOutput->End();
        }
        if (vertGrid > 0)
            painter.fillRect(QRect(left + width - vertGrid, clip.top(), vertGrid, clip.height()),
                             look.GetGridColor());
    });

    // The bar at the left edge of the rows that stand out.
    if (!emphasized.empty()) {
        const int barWidth = std::max(3, rowHeight / 5);
        for (int row = firstRow; row <= lastRow; ++row) {
            if (standsOut(row))
                painter.fillRect(QRect(-ctrl.GetScrollX(), row * rowHeight - scrollY, barWidth,
                                       rowHeight - horzGrid),
                                 palette().color(QPalette::Link));
        }
    }

    // The focus rectangle.
    if (ctrl.HasFocus()) {
        const CTableCursor& cursor = ctrl.GetCursor();
        const int row = cursor.GetRow();
        const int top = row >= 0 ? row * rowHeight - scrollY : 0;
        const int bottom = row >= 0 ? top + rowHeight - horzGrid : ctrl.GetBodyHeight();
        int x1 = -1;
        int x2 = ctrl.GetBodyWidth() + 1;
        const int col = cursor.GetColumn();
        if (cursor.GetMode() == CTableCursor::kCellMode && col >= 0) {
            x1 = ctrl.Geometry().GetColumnLeft(col) - ctrl.GetScrollX();
            x2 = x1 + ctrl.Geometry().GetWidth(col) - 1;
        }
        QPen pen(look.GetTextColor(), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(x1, top), QPoint(x2 - 1, bottom - 1)));
    }
}

void CTableDisplay::mousePressEvent(QMouseEvent* event)
{
    CTableHost::CNotifyScope scope(Ctrl());
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    CTableHost& ctrl = Ctrl();
    ctrl.Widget().setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    m_bButtonDown = true;
    m_lastPos = pos;
    const int row = ctrl.RowFromY(pos.y());
    const int col = ctrl.Geometry().ColumnFromX(pos.x() + ctrl.GetScrollX());
    if (!ctrl.Table().IsValidRow(row))
        return;
    ctrl.EditController().EndEdit(false);
    // The recipient of the commit may have sorted or deleted rows.
    const int cursorRow = ctrl.GetCursor().GetRow();
    if (!ctrl.Table().IsValidRow(row))
        return;
    ctrl.GetCursor().Set(row, col);
    // A second click on the focus row edits the cell.
    const Qt::KeyboardModifiers keys =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (row == cursorRow && keys == Qt::NoModifier && ctrl.EditController().BeginEdit(true)) {
        update();
        return;
    }
    m_bDragSelect = true;
    m_nNextScroll = 0;
    m_timer.start(kTimerMs, this);
    ctrl.GetSelection().Click(row, KeyState(event->modifiers()));
    update();
    CTableAccessible::ViewUpdated(ctrl); // the cursor moved
}

void CTableDisplay::DragStep(QPoint pos, std::int64_t now)
{
    CTableHost& ctrl = Ctrl();
    const int rowCount = ctrl.Table().GetRowCount();
    if (rowCount == 0)
        return;
    const int rowHeight = std::max(1, ctrl.GetRowHeight());
    const int topRow = ctrl.GetScrollY() / rowHeight;
    const int pageRows = std::max(1, ctrl.GetRowsPerPage());
    const int lastVisible = std::min(rowCount - 1, topRow + pageRows - 1);
    const int visibleBottom = (lastVisible - topRow + 1) * rowHeight;
    const int scrolledFrom = ctrl.GetScrollY();
    int row = 0;
    // Outside the visible rows the view scrolls a row at a time, faster the farther out.
    const auto scrollDue = [&](int distance) {
        if (now < m_nNextScroll)
            return false;
        m_nNextScroll = now + kTimerMs * std::max(1, distance / 3 + 6);
        return true;
    };
    if (pos.y() < 0) {
        if (scrollDue(pos.y()))
            ctrl.SetScrollPos(ctrl.GetScrollX(), ctrl.GetScrollY() - rowHeight);
        row = ctrl.GetScrollY() / rowHeight;
    } else if (pos.y() >= visibleBottom) {
        if (scrollDue(visibleBottom - 1 - pos.y()))
            ctrl.SetScrollPos(ctrl.GetScrollX(), ctrl.GetScrollY() + rowHeight);
        const int top = ctrl.GetScrollY() / rowHeight;
        row = std::min(rowCount - 1, top + pageRows - 1);
    } else {
        row = ctrl.RowFromY(pos.y());
        if (row < 0)
            row = rowCount - 1;
    }
    const int col = ctrl.Geometry().ColumnFromX(pos.x() + ctrl.GetScrollX());
    CTableCursor& cursor = ctrl.GetCursor();
    const int oldRow = cursor.GetRow();
    const int oldColumn = cursor.GetColumn();
    cursor.SetRow(row);
    if (col >= 0)
        cursor.SetColumn(col);
    const bool selected = ctrl.GetSelection().Click(row, MK_SHIFT);
    // The timer repeats steps while the mouse rests; repaint only what a step changed.
    if (selected || ctrl.GetScrollY() != scrolledFrom || cursor.GetRow() != oldRow ||
        cursor.GetColumn() != oldColumn)
        ctrl.Table().Update(true);
}

void CTableDisplay::mouseMoveEvent(QMouseEvent* event)
{
    CTableHost::CNotifyScope scope(Ctrl());
    CTableHost& ctrl = Ctrl();
    const QPoint pos = event->position().toPoint();
    m_lastPos = pos;
    if (m_bDragSelect) {
        DragStep(pos, ctrl.Now());
        return;
    }
    const int row = ctrl.RowFromY(pos.y());
    const int col = ctrl.Geometry().ColumnFromX(pos.x() + ctrl.GetScrollX());
    if (row != m_nLastRow || col != m_nLastColumn) {
        m_nLastRow = row;
        m_nLastColumn = col;
        QToolTip::hideText();
    }
}

void CTableDisplay::EndDragSelect()
{
    m_timer.stop();
    if (!m_bDragSelect)
        return;
    m_bDragSelect = false;
    Ctrl().Notify(NM_RELEASEDCAPTURE);
}

void CTableDisplay::mouseReleaseEvent(QMouseEvent* event)
{
    CTableHost::CNotifyScope scope(Ctrl());
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    EndDragSelect();
    m_bButtonDown = false;
    if (m_bDoubleClick) {
        m_bDoubleClick = false;
        return;
    }
    SendClick(NM_CLICK, event->position().toPoint());
}

void CTableDisplay::mouseDoubleClickEvent(QMouseEvent* event)
{
    CTableHost::CNotifyScope scope(Ctrl());
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    m_bDoubleClick = true;
    const QPoint pos = event->position().toPoint();
    SendClick(NM_CLICK, pos);
    SendClick(NM_DBLCLK, pos);
    // A double click on an editable cell edits it, as F2 does; the first click placed the
    // cursor there.
    Ctrl().EditController().BeginEdit(true);
}

void CTableDisplay::SendClick(int code, QPoint pos)
{
    CTableHost& ctrl = Ctrl();
    NMTABLECTRL notification;
    notification.nRow = ctrl.RowFromY(pos.y());
    notification.nColumn = ctrl.Geometry().ColumnFromX(pos.x() + ctrl.GetScrollX());
    const QPoint inCtrl = mapTo(&ctrl.Widget(), pos);
    notification.nX = inCtrl.x();
    notification.nY = inCtrl.y();
    ctrl.Notify(code, notification);
}

void CTableDisplay::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timer.timerId() || !m_bDragSelect) {
        QWidget::timerEvent(event);
        return;
    }
    CTableHost::CNotifyScope scope(Ctrl());
    DragStep(m_lastPos, Ctrl().Now());
}

void CTableDisplay::contextMenuEvent(QContextMenuEvent* event)
{
    CTableHost::CNotifyScope scope(Ctrl());
    Ctrl().EditController().EndEdit(true);
    Ctrl().Menus().ShowBodyMenu(event->reason() == QContextMenuEvent::Mouse ? event->pos()
                                                                            : QPoint(-1, -1));
}

bool CTableDisplay::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return CTableCtrlWnd::event(event);
    CTableHost::CNotifyScope scope(Ctrl());
    CTableHost& ctrl = Ctrl();
    const auto* help = static_cast<QHelpEvent*>(event);
    const int row = ctrl.RowFromY(help->pos().y());
    const int col = ctrl.Geometry().ColumnFromX(help->pos().x() + ctrl.GetScrollX());
    if (row < 0 || col < 0 || !ctrl.GetColumnInfo(col).pOutput) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    const CColumnInfo& info = ctrl.GetColumnInfo(col);
    NMTABLECTRL notification;
    notification.nRow = row;
    notification.nColumn = col;
    notification.strText = info.pOutput->GetToolTip(
        *ctrl.Table().GetCell(row, col),
        ctrl.Geometry().GetWidth(col) - CTableHost::kMarginLeft - CTableHost::kMarginRight);
    ctrl.Notify(LXN_GETCELLTIP, notification);
    if (notification.strText.empty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    const int rowHeight = std::max(1, ctrl.GetRowHeight());
    const QRect cell(ctrl.Geometry().GetColumnLeft(col) - ctrl.GetScrollX(),
                     row * rowHeight - ctrl.GetScrollY(), ctrl.Geometry().GetWidth(col), rowHeight);
    QToolTip::showText(help->globalPos(), QString::fromStdString(notification.strText), this, cell);
    return true;
}

} // namespace Lattix
