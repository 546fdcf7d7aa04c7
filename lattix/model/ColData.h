#pragma once

#include "lattix/model/RowData.h"

#include <cassert>
#include <cstdint>
#include <vector>

namespace Lattix {

// Reaches the cells of one column without going through the table: the row record plus
// the column's offset. Made by the table when it lays out its rows; valid until the
// table is cleared.
class CColData
{
public:
    CColData(const std::vector<CRowData*>& rows, std::int32_t offset)
        : m_pRows(&rows), m_nOffset(offset)
    {
    }
    virtual ~CColData() = default;

    CColData(const CColData&) = delete;
    CColData& operator=(const CColData&) = delete;

    std::int32_t GetOffset() const { return m_nOffset; }

    CCellData* GetCell(CRowData* row) const { return CRowData::CellAt(row, m_nOffset); }
    const CCellData* GetCell(const CRowData* row) const { return CRowData::CellAt(row, m_nOffset); }
    CCellData* GetCell(int row) const
    {
        assert(row >= 0 && static_cast<std::size_t>(row) < m_pRows->size());
        return GetCell((*m_pRows)[static_cast<std::size_t>(row)]);
    }

    // The cell of a row as the column's kind T, read without a virtual call.
    template <class T>
    T& CellAs(int row) const
    {
        CCellData* cell = GetCell(row);
        assert(dynamic_cast<T*>(cell) != nullptr);
        return *static_cast<T*>(cell);
    }

private:
    const std::vector<CRowData*>* m_pRows;
    std::int32_t m_nOffset;
};

} // namespace Lattix
