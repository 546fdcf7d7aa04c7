#pragma once

namespace Lattix {

class CTableCtrl;

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

    explicit CSelection(CTableCtrl& ctrl) : m_ctrl(ctrl) {}

    int GetMode() const { return m_nMode; }
    void SetMode(int mode) { m_nMode = mode; }

    // The anchor of shift selections, kept within the rows; -1 when none.
    int GetAnchor() const;
    void SetAnchor(int row) { m_nAnchor = row; }

    // A user action on row with the key state (MK_SHIFT, MK_CONTROL): a click, a key that
    // moved the cursor, a drag reaching a row. True when the selection changed.
    bool Click(int row, unsigned keys);

private:
    // True when exactly the rows first..last are marked.
    bool OnlyRangeMarked(int first, int last) const;
    bool RangeHasMark(int first, int last, bool mark) const;

    CTableCtrl& m_ctrl;
    int m_nMode = kMultiple;
    int m_nAnchor = -1;
};

} // namespace Lattix
