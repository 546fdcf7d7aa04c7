#pragma once

#include <QWidget>

class QPainter;

namespace Lattix {

class CTableCtrl;

// Base of the header, body and footer of a grid: a child widget that knows its control
// and paints through one off-screen buffer shared by every display of the program. The
// buffer grows to the largest update area so far; each paint draws only the update area
// into it (Draw) and copies that to the screen, so nothing flickers and no paint
// allocates a bitmap of its own.
class CTableCtrlWnd : public QWidget
{
public:
    explicit CTableCtrlWnd(CTableCtrl& ctrl);

    CTableCtrl& Ctrl() const { return m_ctrl; }

    // Draws the part clip of the widget (widget coordinates); painter is translated so that
    // widget coordinates apply.
    virtual void Draw(QPainter& painter, const QRect& clip) = 0;

protected:
    void paintEvent(QPaintEvent* event) override;
    // The control scrolls.
    void wheelEvent(QWheelEvent* event) override;

private:
    CTableCtrl& m_ctrl;
};

} // namespace Lattix
