#include "lattix/model/RowRef.h"

#include "lattix/model/TableInterface.h"

namespace Lattix {

void CRowRef::Set(const CTableInterface& table, int index)
{
    if (table.IsValidRow(index)) {
        m_pRow = table.GetRow(index);
        m_nHint = index;
    } else {
        Reset();
    }
}

void CRowRef::Reset()
{
    m_pRow = nullptr;
    m_nHint = -1;
}

int CRowRef::Find(const CTableInterface& table) const
{
    if (!m_pRow)
        return -1;
    if (table.IsValidRow(m_nHint) && table.GetRow(m_nHint) == m_pRow)
        return m_nHint;
    const int count = table.GetRowCount();
    for (int row = 0; row < count; ++row) {
        if (table.GetRow(row) == m_pRow) {
            m_nHint = row;
            return row;
        }
    }
    return -1;
}

} // namespace Lattix
