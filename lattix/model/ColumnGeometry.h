#pragma once

#include "lattix/model/LayoutWords.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Lattix {

// Where a grid's columns are: per model column its width with the limits it is kept
// within, its default width and whether it is shown, and the display order of the
// columns. From these follow the content x of every column, the column under an x, the
// visible neighbours of a display position and the layout words. It knows no widget: the
// header, body, footer, focus cursor and export read it, as a header view owns its
// sections. Column indices are the caller's to check.
class CColumnGeometry
{
public:
    static constexpr int kMaxWidth = 4096;

    // n hidden columns of width 0 in model order; the old columns go.
    void SetColumnCount(int n);
    // Appends a hidden column of width 0 at the right end of the display order.
    int AddColumn();
    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }

    // The width, kept within the column's limits.
    void SetWidth(int col, int width);
    int GetWidth(int col) const { return At(col).nWidth; }
    // The width a stored layout's width 0 becomes.
    void SetDefaultWidth(int col, int width) { At(col).nDefaultWidth = width; }
    // Limits, kept within the bounds (the lowest minimum up to kMaxWidth); the width
    // follows.
    void SetWidthLimits(int col, int minWidth, int maxWidth);
    int GetMinWidth(int col) const { return At(col).nMinWidth; }
    int GetMaxWidth(int col) const { return At(col).nMaxWidth; }
    // The narrowest that the column's renderer can draw in; limits and width follow.
    void SetLowestMinWidth(int col, int lowestMin);
    // Scales the visible widths so that they add up to target (the last one takes what
    // rounding leaves over).
    void FitToWidth(int target);

    void SetVisible(int col, bool visible) { At(col).bVisible = visible; }
    bool IsVisible(int col) const { return At(col).bVisible; }

    // Model columns left to right.
    const std::vector<int>& GetDisplayOrder() const { return m_order; }
    int GetColumnAtPos(int pos) const { return m_order[static_cast<std::size_t>(pos)]; }
    // Display position of col, -1 for no column.
    int GetColumnPos(int col) const;
    // Takes col out of the display order and puts it at pos (clamped).
    void MoveColumn(int col, int pos);
    // The first display position after pos with a visible column, else the column count.
    int GetNextVisiblePos(int pos) const;
    // The last display position before pos with a visible column, else -1.
    int GetPrevVisiblePos(int pos) const;

    // Content x of col's left edge: the visible widths left of it.
    int GetColumnLeft(int col) const;
    int GetTotalWidth() const;
    // The visible column under a content x, or -1.
    int ColumnFromX(int x) const;
    // The visible column whose right border lies from before left of x to after right of
    // it, or -1.
    int BorderHitTest(int x, int before, int after) const;

    // Layout words for the first title lines (model order); applying words that do not
    // fit changes nothing and gives false.
    CWordArray GetLayout(std::span<const std::string> titles) const;
    bool SetLayout(std::span<const std::uint16_t> words, std::span<const std::string> titles);

private:
    struct CColumn
    {
        int nWidth = 0;
        int nDefaultWidth = 0;
        int nMinWidth = 0;
        int nMaxWidth = kMaxWidth;
        int nLowestMin = 0;
        bool bVisible = false;
    };

    CColumn& At(int col) { return m_columns[static_cast<std::size_t>(col)]; }
    const CColumn& At(int col) const { return m_columns[static_cast<std::size_t>(col)]; }
    void ClampWidth(CColumn& column);

    std::vector<CColumn> m_columns;
    std::vector<int> m_order;
};

} // namespace Lattix
