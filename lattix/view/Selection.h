#pragma once

#include "lattix/model/RowRef.h"

namespace Lattix {

class CTableHost;

// The selection of a grid: which rows are marked, changed by user actions with their key
// state. The marks themselves are the table's row marks; this class holds the mode and
// the anchor of range selections, and asks the control's notification target before each
// change (LXN_ROWCHANGING, which may cancel it) and tells it afterwards (LXN_ROWCHANGED).
class CSelection
{
public:
    enum Mode
    {
        kNone = 0,
        kSingle = 1,
        kMultiple = 2,
    };

    explicit CSelection(CTableHost& ctrl) : m_ctrl(ctrl) {}

    int GetMode() const { return m_nMode; }
    void SetMode(int mode) { m_nMode = mode; }

    // The anchor of shift selections: the row last clicked without shift, held by its
    // record so that it stays on its row through sorts; -1 when none or its row is gone.
    int GetAnchor() const;
    void SetAnchor(int row);
    // Drops the anchor when its row was deleted (call after deleting rows).
    void CheckAnchor();

    // A user action on row with the key state (MK_SHIFT, MK_CONTROL): a click, a key that
    // moved the cursor, a drag reaching a row. True when the selection changed. The row
    // and the anchor are looked up again after LXN_ROWCHANGING, whose recipient may have
    // sorted or deleted rows; the action is dropped when its row went.
    bool Click(int row, unsigned keys);

private:
    bool ClickSingle(int row);
    // Whether a click on row with keys would leave the marks as they are.
    bool ChangesNothing(int row, unsigned keys) const;
    void Apply(int row, unsigned keys);
    // True when exactly the rows first..last are marked.
    bool OnlyRangeMarked(int first, int last) const;
    bool RangeHasMark(int first, int last, bool mark) const;

    CTableHost& m_ctrl;
    int m_nMode = kMultiple;
    CRowRef m_anchor;
};

} // namespace Lattix
