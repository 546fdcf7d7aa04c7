#pragma once

#include "lattix/view/TableCtrlWnd.h"

#include <QBasicTimer>
#include <QPixmap>

namespace Lattix {

// The column titles of a grid: sort arrows, click and shift-click sorting, resizing a
// column by dragging its right border (double click: fit to content), moving a column by
// dragging its title, and the header's context menu.
class CHeaderDisplay : public CTableCtrlWnd
{
public:
    enum State
    {
        kIdle = 0,
        kPressed = 1,
        kResizing = 2,
        kMoving = 3,
    };
    static constexpr int kTimerMs = 60;
    // Width of the band along the left and right edge that scrolls while dragging.
    static constexpr int kScrollBand = 15;

    explicit CHeaderDisplay(CTableHost& ctrl);

    void Draw(QPainter& painter, const QRect& clip) override;

    // The column whose right border lies under the content x, or -1.
    int BorderHitTest(int contentX) const;
    // Ends a press, resize or move without acting on it.
    void CancelTracking();

    State GetState() const { return m_state; }
    // The image that follows the mouse while a column is moved (null otherwise).
    const QPixmap& GetDragImage() const { return m_dragImage; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool event(QEvent* event) override;

private:
    void DrawTitle(QPainter& painter, const QRect& cell, int col, bool pressed, bool flat);
    void HandleMove(QPoint pos);
    void EndTracking(bool releaseCapture);
    bool ShowToolTip(QPoint pos, QPoint globalPos);

    State m_state = kIdle;
    int m_nStartX = 0;
    int m_nColumn = -1;
    bool m_bPressedLook = false;
    int m_nPos = -1;
    int m_nStartWidth = 0;
    int m_nGrabOffset = 0;
    QPoint m_lastPos;
    QPixmap m_dragImage;
    QBasicTimer m_timer;
};

} // namespace Lattix
