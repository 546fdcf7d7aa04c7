#include "lattix/Selection.h"

#include "lattix/Notify.h"
#include "lattix/TableCtrl.h"

#include <algorithm>

namespace Lattix {

int CSelection::GetAnchor() const
{
    if (m_nAnchor < 0)
        return -1;
    return std::min(m_nAnchor, m_ctrl.GetRowCount() - 1);
}

bool CSelection::OnlyRangeMarked(int first, int last) const
{
    return m_ctrl.GetMarkedCount() == last - first + 1 && RangeHasMark(first, last, true);
}

bool CSelection::RangeHasMark(int first, int last, bool mark) const
{
    for (int row = first; row <= last; ++row) {
        if (m_ctrl.IsRowMarked(row) != mark)
            return false;
    }
    return true;
}

bool CSelection::Click(int row, unsigned keys)
{
    const int count = m_ctrl.GetRowCount();
    if (m_nMode == kNone)
        return false;
    if (m_nMode == kSingle) {
        if (row == m_ctrl.GetSelectedRow())
            return false;
        if (m_ctrl.Notify(LXN_ROWCHANGING, row) != 0)
            return false;
        if (count > 0)
            m_ctrl.MarkRows(0, count - 1, false);
        if (m_ctrl.IsValidRow(row))
            m_ctrl.MarkRow(row, true);
        m_nAnchor = row;
        m_ctrl.Notify(LXN_ROWCHANGED, row);
        return true;
    }

    if (!m_ctrl.IsValidRow(row))
        return false;
    const bool shift = (keys & MK_SHIFT) != 0;
    const bool control = (keys & MK_CONTROL) != 0;
    const int anchor = GetAnchor();
    const bool range = shift && anchor >= 0;
    const int first = std::min(anchor, row);
    const int last = std::max(anchor, row);

    if (!control && m_ctrl.IsRowMarked(row) && m_ctrl.GetMarkedCount() == 1)
        return false;
    if (range) {
        if (!control && OnlyRangeMarked(first, last))
            return false;
        if (control && RangeHasMark(first, last, m_ctrl.IsRowMarked(anchor)))
            return false;
    }
    if (m_ctrl.Notify(LXN_ROWCHANGING, row) != 0)
        return false;

    if (range) {
        if (control) {
            m_ctrl.MarkRows(first, last, m_ctrl.IsRowMarked(anchor));
        } else {
            m_ctrl.MarkRows(0, count - 1, false);
            m_ctrl.MarkRows(first, last, true);
        }
    } else if (control) {
        m_ctrl.ToggleRowMarks(row, row);
        m_nAnchor = row;
    } else {
        m_ctrl.MarkRows(0, count - 1, false);
        m_ctrl.MarkRow(row, true);
        m_nAnchor = row;
    }
    m_ctrl.Notify(LXN_ROWCHANGED, row);
    return true;
}

} // namespace Lattix
