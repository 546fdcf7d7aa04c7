#include "lattix/view/TableCursor.h"

#include "lattix/model/ColumnGeometry.h"
#include "lattix/view/TableCtrlInterface.h"
#include "lattix/view/TableHost.h"

#include <algorithm>

namespace Lattix {

int CTableCursor::GetRow() const
{
    return m_row.Find(m_ctrl.Table());
}

void CTableCursor::SetRow(int row)
{
    m_row.Set(m_ctrl.Table(), row);
}

int CTableCursor::GetColumn() const
{
    if (m_nMode != kCellMode)
        return -1;
    if (m_ctrl.Table().IsValidColumn(m_nColumn) && m_ctrl.Geometry().IsVisible(m_nColumn))
        return m_nColumn;
    const int count = m_ctrl.Table().GetColumnCount();
    int pos =
        m_ctrl.Table().IsValidColumn(m_nColumn) ? m_ctrl.Geometry().GetColumnPos(m_nColumn) : -1;
    pos = m_ctrl.Geometry().GetNextVisiblePos(pos);
    if (pos >= count)
        pos = m_ctrl.Geometry().GetNextVisiblePos(-1);
    return pos < count ? m_ctrl.Geometry().GetColumnAtPos(pos) : -1;
}

void CTableCursor::Reset()
{
    m_row.Reset();
    m_nColumn = -1;
}

bool CTableCursor::MoveToRow(int row)
{
    const int count = m_ctrl.Table().GetRowCount();
    if (count == 0)
        return false;
    row = std::clamp(row, 0, count - 1);
    if (row == GetRow())
        return false;
    SetRow(row);
    return true;
}

bool CTableCursor::Up()
{
    const int row = GetRow();
    return MoveToRow(row < 0 ? 0 : row - 1);
}

bool CTableCursor::Down()
{
    const int row = GetRow();
    return MoveToRow(row < 0 ? 0 : row + 1);
}

bool CTableCursor::PageUp()
{
    const int row = GetRow();
    return MoveToRow(row < 0 ? 0 : std::max(0, row - m_ctrl.GetRowsPerPage()));
}

bool CTableCursor::PageDown()
{
    const int row = GetRow();
    return MoveToRow(row < 0 ? 0 : row + std::max(1, m_ctrl.GetRowsPerPage() - 1));
}

bool CTableCursor::FirstRow()
{
    return MoveToRow(0);
}

bool CTableCursor::LastRow()
{
    return MoveToRow(m_ctrl.Table().GetRowCount() - 1);
}

bool CTableCursor::MoveToColumn(int col)
{
    if (m_nMode != kCellMode || col < 0 || col == GetColumn())
        return false;
    m_nColumn = col;
    return true;
}

bool CTableCursor::FirstColumn()
{
    const int pos = m_ctrl.Geometry().GetNextVisiblePos(-1);
    return pos < m_ctrl.Table().GetColumnCount() &&
           MoveToColumn(m_ctrl.Geometry().GetColumnAtPos(pos));
}

bool CTableCursor::LastColumn()
{
    const int pos = m_ctrl.Geometry().GetPrevVisiblePos(m_ctrl.Table().GetColumnCount());
    return pos >= 0 && MoveToColumn(m_ctrl.Geometry().GetColumnAtPos(pos));
}

bool CTableCursor::PrevColumn()
{
    const int col = GetColumn();
    if (col < 0)
        return false;
    const int pos = m_ctrl.Geometry().GetPrevVisiblePos(m_ctrl.Geometry().GetColumnPos(col));
    return pos >= 0 && MoveToColumn(m_ctrl.Geometry().GetColumnAtPos(pos));
}

bool CTableCursor::NextColumn()
{
    const int col = GetColumn();
    if (col < 0)
        return false;
    const int pos = m_ctrl.Geometry().GetNextVisiblePos(m_ctrl.Geometry().GetColumnPos(col));
    return pos < m_ctrl.Table().GetColumnCount() &&
           MoveToColumn(m_ctrl.Geometry().GetColumnAtPos(pos));
}

} // namespace Lattix
