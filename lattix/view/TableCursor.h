#pragma once

#include "lattix/model/RowRef.h"

namespace Lattix {

class CTableHost;

// The focus cursor of a grid: a row, and in cell mode a column. The row is held as its
// row record, so the cursor follows its row when the rows are sorted or moved.
class CTableCursor
{
public:
    enum Mode
    {
        kRowMode = 1,
        kCellMode = 2,
    };

    explicit CTableCursor(const CTableHost& ctrl) : m_ctrl(ctrl) {}

    int GetMode() const { return m_nMode; }
    void SetMode(int mode) { m_nMode = mode; }

    // The cursor row, or -1.
    int GetRow() const;
    void SetRow(int row);
    // -1 in row mode. In cell mode the stored column, or when that is missing or hidden
    // the first visible column from its display position (-1 when none is visible).
    int GetColumn() const;
    void SetColumn(int col) { m_nColumn = col; }
    void Set(int row, int col)
    {
        SetRow(row);
        SetColumn(col);
    }
    // No row, no column.
    void Reset();

    // Moves; each returns false, leaving the cursor as it is, when the move cannot be made.
    // Without a cursor row the row moves start at the first row.
    bool Up();
    bool Down();
    bool PageUp();
    bool PageDown();
    bool FirstRow();
    bool LastRow();
    // Cell mode only.
    bool FirstColumn();
    bool LastColumn();
    bool PrevColumn();
    bool NextColumn();

private:
    bool MoveToRow(int row);
    bool MoveToColumn(int col);

    const CTableHost& m_ctrl;
    int m_nMode = kRowMode;
    CRowRef m_row;
    int m_nColumn = -1;
};

} // namespace Lattix
