#include "lattix/view/Selection.h"

#include "lattix/view/Notify.h"
#include "lattix/view/TableAccessible.h"
#include "lattix/view/TableCtrlInterface.h"
#include "lattix/view/TableHost.h"

#include <algorithm>

namespace Lattix {

int CSelection::GetAnchor() const
{
    return m_anchor.Find(m_ctrl.Table());
}

void CSelection::SetAnchor(int row)
{
    m_anchor.Set(m_ctrl.Table(), row);
}

void CSelection::CheckAnchor()
{
    if (m_anchor.IsSet() && m_anchor.Find(m_ctrl.Table()) < 0)
        m_anchor.Reset();
}

bool CSelection::OnlyRangeMarked(int first, int last) const
{
    return m_ctrl.Table().GetMarkedCount() == last - first + 1 && RangeHasMark(first, last, true);
}

bool CSelection::RangeHasMark(int first, int last, bool mark) const
{
    for (int row = first; row <= last; ++row) {
        if (m_ctrl.Table().IsRowMarked(row) != mark)
            return false;
    }
    return true;
}

bool CSelection::ClickSingle(int row)
{
    if (row == m_ctrl.Table().GetSelectedRow())
        return false;
    CRowRef clicked;
    clicked.Set(m_ctrl.Table(), row);
    if (m_ctrl.Notify(LXN_ROWCHANGING, row) != 0)
        return false;
    if (clicked.IsSet()) {
        row = clicked.Find(m_ctrl.Table());
        if (row < 0)
            return false;
    }
    const int count = m_ctrl.Table().GetRowCount();
    if (count > 0)
        m_ctrl.Table().MarkRows(0, count - 1, false);
    if (m_ctrl.Table().IsValidRow(row))
        m_ctrl.Table().MarkRow(row, true);
    SetAnchor(row);
    CTableAccessible::SelectionChanged(m_ctrl);
    m_ctrl.Notify(LXN_ROWCHANGED, row);
    return true;
}

bool CSelection::ChangesNothing(int row, unsigned keys) const
{
    const bool control = (keys & MK_CONTROL) != 0;
    const int anchor = GetAnchor();
    if (!control && m_ctrl.Table().IsRowMarked(row) && m_ctrl.Table().GetMarkedCount() == 1)
        return true;
    if ((keys & MK_SHIFT) == 0 || anchor < 0)
        return false;
    const int first = std::min(anchor, row);
    const int last = std::max(anchor, row);
    return control ? RangeHasMark(first, last, m_ctrl.Table().IsRowMarked(anchor))
                   : OnlyRangeMarked(first, last);
}

void CSelection::Apply(int row, unsigned keys)
{
    const int count = m_ctrl.Table().GetRowCount();
    const bool control = (keys & MK_CONTROL) != 0;
    const int anchor = GetAnchor();
    if ((keys & MK_SHIFT) != 0 && anchor >= 0) {
        const int first = std::min(anchor, row);
        const int last = std::max(anchor, row);
        if (control) {
            m_ctrl.Table().MarkRows(first, last, m_ctrl.Table().IsRowMarked(anchor));
        } else {
            m_ctrl.Table().MarkRows(0, count - 1, false);
            m_ctrl.Table().MarkRows(first, last, true);
        }
    } else if (control) {
        m_ctrl.Table().ToggleRowMarks(row, row);
        SetAnchor(row);
    } else {
        m_ctrl.Table().MarkRows(0, count - 1, false);
        m_ctrl.Table().MarkRow(row, true);
        SetAnchor(row);
    }
}

bool CSelection::Click(int row, unsigned keys)
{
    if (m_nMode == kNone)
        return false;
    if (m_nMode == kSingle)
        return ClickSingle(row);
    if (!m_ctrl.Table().IsValidRow(row) || ChangesNothing(row, keys))
        return false;
    CRowRef clicked;
    clicked.Set(m_ctrl.Table(), row);
    if (m_ctrl.Notify(LXN_ROWCHANGING, row) != 0)
        return false;
    row = clicked.Find(m_ctrl.Table());
    if (row < 0)
        return false;
    Apply(row, keys);
    CTableAccessible::SelectionChanged(m_ctrl);
    m_ctrl.Notify(LXN_ROWCHANGED, row);
    return true;
}

} // namespace Lattix
