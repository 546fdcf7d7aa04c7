#include "lattix/view/Selection.h"

#include "lattix/view/Notify.h"
#include "lattix/view/TableAccessible.h"
#include "lattix/view/TableCtrl.h"

#include <algorithm>

namespace Lattix {

int CSelection::GetAnchor() const
{
    return m_anchor.Find(m_ctrl);
}

void CSelection::SetAnchor(int row)
{
    m_anchor.Set(m_ctrl, row);
}

void CSelection::CheckAnchor()
{
    if (m_anchor.IsSet() && m_anchor.Find(m_ctrl) < 0)
        m_anchor.Reset();
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

bool CSelection::ClickSingle(int row)
{
    if (row == m_ctrl.GetSelectedRow())
        return false;
    CRowRef clicked;
    clicked.Set(m_ctrl, row);
    if (m_ctrl.Notify(LXN_ROWCHANGING, row) != 0)
        return false;
    if (clicked.IsSet()) {
        row = clicked.Find(m_ctrl);
        if (row < 0)
            return false;
    }
    const int count = m_ctrl.GetRowCount();
    if (count > 0)
        m_ctrl.MarkRows(0, count - 1, false);
    if (m_ctrl.IsValidRow(row))
        m_ctrl.MarkRow(row, true);
    SetAnchor(row);
    CTableAccessible::SelectionChanged(m_ctrl);
    m_ctrl.Notify(LXN_ROWCHANGED, row);
    return true;
}

bool CSelection::ChangesNothing(int row, unsigned keys) const
{
    const bool control = (keys & MK_CONTROL) != 0;
    const int anchor = GetAnchor();
    if (!control && m_ctrl.IsRowMarked(row) && m_ctrl.GetMarkedCount() == 1)
        return true;
    if ((keys & MK_SHIFT) == 0 || anchor < 0)
        return false;
    const int first = std::min(anchor, row);
    const int last = std::max(anchor, row);
    return control ? RangeHasMark(first, last, m_ctrl.IsRowMarked(anchor))
                   : OnlyRangeMarked(first, last);
}

void CSelection::Apply(int row, unsigned keys)
{
    const int count = m_ctrl.GetRowCount();
    const bool control = (keys & MK_CONTROL) != 0;
    const int anchor = GetAnchor();
    if ((keys & MK_SHIFT) != 0 && anchor >= 0) {
        const int first = std::min(anchor, row);
        const int last = std::max(anchor, row);
        if (control) {
            m_ctrl.MarkRows(first, last, m_ctrl.IsRowMarked(anchor));
        } else {
            m_ctrl.MarkRows(0, count - 1, false);
            m_ctrl.MarkRows(first, last, true);
        }
    } else if (control) {
        m_ctrl.ToggleRowMarks(row, row);
        SetAnchor(row);
    } else {
        m_ctrl.MarkRows(0, count - 1, false);
        m_ctrl.MarkRow(row, true);
        SetAnchor(row);
    }
}

bool CSelection::Click(int row, unsigned keys)
{
    if (m_nMode == kNone)
        return false;
    if (m_nMode == kSingle)
        return ClickSingle(row);
    if (!m_ctrl.IsValidRow(row) || ChangesNothing(row, keys))
        return false;
    CRowRef clicked;
    clicked.Set(m_ctrl, row);
    if (m_ctrl.Notify(LXN_ROWCHANGING, row) != 0)
        return false;
    row = clicked.Find(m_ctrl);
    if (row < 0)
        return false;
    Apply(row, keys);
    CTableAccessible::SelectionChanged(m_ctrl);
    m_ctrl.Notify(LXN_ROWCHANGED, row);
    return true;
}

} // namespace Lattix
