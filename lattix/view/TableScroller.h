#pragma once

#include <QObject>
#include <QRect>

#include <cstdint>

class QScrollBar;
class QWheelEvent;

namespace Lattix {

class CTableHost;

// The scroll position of a grid's body and its two scroll bars (children of the grid):
// the position is clamped to the content, vertically in whole rows; moving it repositions
// an open editor and repaints what moved. Row and cell positions in the body follow it.
// The vertical bar's tooltip tells the first row shown ("first von count").
class CTableScroller : public QObject
{
public:
    explicit CTableScroller(CTableHost& host);
    // Stops listening to the scroll bars (while the grid is going).
    void Detach();

    int GetScrollX() const { return m_x; }
    int GetScrollY() const { return m_y; }
    int GetBodyWidth() const { return m_bodyWidth; }
    int GetBodyHeight() const { return m_bodyHeight; }
    // Which scroll bars a body needs in an area of width x height, and the body's size
    // beside them: the horizontal bar where the content is wider (or always, as beside
    // bottom tabs), the vertical bar where it is taller; a bar that one bar's room took
    // can call for the other. extent: the bars' thickness.
    struct Bars
    {
        bool horzAllowed;
        bool horzAlways;
        bool vertAllowed;
    };
    struct Fit
    {
        int bodyWidth;
        int bodyHeight;
        bool hBar;
        bool vBar;
    };
    static Fit FitBars(int width, int height, int contentWidth, std::int64_t contentHeight,
                       int extent, Bars bars);
    // The body's new size: clamps the position and sets the bars' ranges.
    void SetBodySize(int width, int height);
    // Back to the top left, without repainting.
    void Reset() { m_x = m_y = 0; }
    // Scrolls to (x, y), clamped, y rounded down to whole rows; repaints what moved.
    void SetScrollPos(int x, int y);
    // Scroll bar actions (QAbstractSlider::SliderAction): rows and pages vertically,
    // columns and pages (less kHorzPageOverlap) horizontally.
    void ScrollVert(int action);
    void ScrollHorz(int action);
    // Scrolls the least that shows row and col (either may be -1).
    void EnsureVisible(int row, int col);
    // The wheel scrolls through the bars: by rows, or by columns with shift or a sideways
    // wheel; ignored while that bar is hidden.
    void Wheel(QWheelEvent& event);
    // Sets the bars' ranges, steps and positions from the position.
    void UpdateScrollBars();

    // The row under a body y, or -1 past the last row.
    int RowFromY(int bodyY) const;
    // A cell's rectangle in body coordinates (scrolled), without its grid lines.
    QRect GetCellRect(int row, int col) const;
    // Whole rows that the body shows.
    int GetRowsPerPage() const;

    QScrollBar& Vert() { return *m_vert; }
    QScrollBar& Horz() { return *m_horz; }

    static constexpr int kHorzPageOverlap = 32;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int MaxScrollY() const;
    void ClampScroll();

    CTableHost& m_host;
    int m_x = 0;
    int m_y = 0;
    int m_bodyWidth = 0;
    int m_bodyHeight = 0;
    QScrollBar* m_horz; // children of the grid
    QScrollBar* m_vert;
};

} // namespace Lattix
