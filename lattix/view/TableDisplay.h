#pragma once

#include "lattix/view/TableCtrlWnd.h"

#include <QBasicTimer>

#include <cstdint>

namespace Lattix {

// The rows of a grid: row backgrounds, cells drawn by the column renderers, grid lines,
// the focus rectangle; clicks, double clicks and drag selection with auto-scroll that
// speeds up the farther the mouse is outside; the body's context menu.
class CTableDisplay : public CTableCtrlWnd
{
public:
    static constexpr int kTimerMs = 70;

    explicit CTableDisplay(CTableHost& ctrl);

    void Draw(QPainter& painter, const QRect& clip) override;

    bool IsDragSelecting() const { return m_bDragSelect; }
    void EndDragSelect();

    // One drag-select step at pos (body coordinates) at time now: moves the cursor,
    // scrolls by one row at most once per interval outside the rows, extends the
    // selection from the anchor.
    void DragStep(QPoint pos, std::int64_t now);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool event(QEvent* event) override;

private:
    void SendClick(int code, QPoint pos);

    bool m_bDragSelect = false;
    std::int64_t m_nNextScroll = 0;
    int m_nLastRow = -1;
    int m_nLastColumn = -1;
    bool m_bDoubleClick = false;
    bool m_bButtonDown = false;
    QPoint m_lastPos;
    QBasicTimer m_timer;
};

} // namespace Lattix
