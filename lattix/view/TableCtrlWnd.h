#pragma once

#include <QWidget>

#include <functional>

class QPainter;

namespace Lattix {

class CTableHost;

// Base of the header, body and footer of a grid: a child widget that knows its control
// and paints through one off-screen buffer shared by every display of the program. The
// buffer grows to the largest update area so far; each paint draws only the update area
// into it (Draw) and copies that to the screen, so nothing flickers and no paint
// allocates a bitmap of its own.
class CTableCtrlWnd : public QWidget
{
public:
    explicit CTableCtrlWnd(CTableHost& ctrl);

    CTableHost& Ctrl() const { return m_ctrl; }

    // Draws the part clip of the widget (widget coordinates); painter is translated so that
    // widget coordinates apply.
    virtual void Draw(QPainter& painter, const QRect& clip) = 0;

protected:
    // Calls draw(col, left, width) for every visible column, in display order, that meets
    // the horizontal span of clip; left is in widget coordinates (scrolled). Returns the
    // left edge that follows the last column visited.
    int ForEachColumnIn(const QRect& clip,
                        const std::function<void(int col, int left, int width)>& draw) const;

    void paintEvent(QPaintEvent* event) override;
    // The control scrolls.
    void wheelEvent(QWheelEvent* event) override;

private:
    CTableHost& m_ctrl;
};

} // namespace Lattix
