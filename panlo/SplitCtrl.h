#pragma once

#include "panlo/Resizer.h"

#include <QWidget>

// A thin bar between two areas of a dialog that the user drags to give one side more
// room. It has no layout of its own: it moves itself and lets the dialog's CResizer move
// every control tied to it, and the resizer refuses a position that would push a control
// out of the window or leave it no width or height. The position is limited to a range in
// percent of the layout area's width (a vertical bar) or height (a horizontal bar), and can
// be read and set in percent so that the owner can store it.
//
// The bar must itself be registered in the resizer before Attach. It tells its parent
// about a drag through the Command signal: kDragBegin on the button press, kDragStep for
// every step that moved the layout, kDragEnd on the release.
class CSplitCtrl : public QWidget
{
    Q_OBJECT

public:
    // Alignment of the 6-pixel bar inside its placeholder (style bits 0 to 4).
    static constexpr unsigned kAlignNear = 0;   // at the left or top edge
    static constexpr unsigned kAlignCentre = 1; // any value but 0 and 2 centres it
    static constexpr unsigned kAlignFar = 2;    // at the right or bottom edge
    static constexpr unsigned kAlignmentMask = 0x1F;
    // Extended style: the bar keeps its placeholder's rectangle and paints nothing.
    static constexpr unsigned kExTransparent = 0x20;

    static constexpr int kDragBegin = 0;
    static constexpr int kDragStep = 1;
    static constexpr int kDragEnd = 2;

    static constexpr int kThickness = 6;

    explicit CSplitCtrl(QWidget* parent = nullptr);

    // Places the bar in parent at rect shrunk by one pixel on every side, as a child with
    // the id. Only the alignment bits of style are kept.
    bool Create(unsigned style, const QRect& rect, QWidget* parent, int id);
    // Takes the child of parent with the id as a placeholder: its rectangle, its stacking
    // place, and its "windowStyle" and "windowExStyle" properties when it has them. The placeholder
    // is deleted.
    bool CreateFromControl(int id, QWidget* parent);

    // Ties the bar to the parent's resizer, sets the limits in percent, and narrows the
    // bar to its thickness at the place its alignment says (unless it is transparent).
    void Attach(CResizer* resizer, double minimumPercent, double maximumPercent,
                CResizer::Validator validator = {});
    void SetLimits(double minimumPercent, double maximumPercent);

    // The bar's near edge in percent of the layout area, truncated.
    int GetPos() const;
    // Moves the bar to the percent, clamped to the limits, and returns the percent read
    // back; a refused layout leaves everything where it was.
    int SetPos(int percent);

    bool IsVertical() const { return m_vertical; }
    bool IsDragging() const { return m_dragOrigin != kNoDrag; }
    int Id() const { return m_id; }
    unsigned Style() const { return m_style; }
    unsigned ExStyle() const { return m_exStyle; }
    void SetExStyle(unsigned exStyle) { m_exStyle = exStyle; }

signals:
    void Command(int id, int code);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int kNoDrag = -2147483647;

    void UpdateCursor();
    int ClampToLimits(int coordinate, int extent) const;

    CResizer* m_resizer = nullptr;
    bool m_vertical = false;
    int m_dragOrigin = kNoDrag;
    double m_minimum = 0.0;
    double m_maximum = 100.0;
    CResizer::Validator m_validator;
    int m_id = -1;
    unsigned m_style = 0;
    unsigned m_exStyle = 0;
    QPoint m_lastPos{-1, -1};
};
