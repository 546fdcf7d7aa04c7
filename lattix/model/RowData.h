#pragma once

#include "lattix/model/CellData.h"

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace Lattix {

class CTable;

// Where the cells lie inside the row records of one table; every row record points at
// its table's layout, so a record alone knows its cells.
struct CRowLayout
{
    const CTable* pTable = nullptr;
    // Byte offset of each column's cell from the start of the row record.
    std::vector<std::int32_t> offsets;
};

// One row record: this header, followed in the same block by one cell per column at the
// offsets of the layout. Row records are made only by their table; a pointer to one stays
// valid until its row is deleted, all rows are deleted or the table is cleared, and it
// follows its row through sorts and moves.
class CRowData
{
public:
    explicit CRowData(const CRowLayout& layout) : m_pLayout(&layout) {}

    CRowData(const CRowData&) = delete;
    CRowData& operator=(const CRowData&) = delete;

    int GetCellCount() const { return static_cast<int>(m_pLayout->offsets.size()); }
    const CTable* GetTable() const { return m_pLayout->pTable; }

    CCellData* GetCell(int col) { return CellAt(this, Offset(col)); }
    const CCellData* GetCell(int col) const { return CellAt(this, Offset(col)); }

    bool IsMarked() const { return m_bMarked; }
    void SetMarked(bool mark) { m_bMarked = mark; }

    // The cell at a byte offset of a row record.
    static CCellData* CellAt(CRowData* row, std::int32_t offset)
    {
        return std::launder(
            reinterpret_cast<CCellData*>(reinterpret_cast<std::byte*>(row) + offset));
    }
    static const CCellData* CellAt(const CRowData* row, std::int32_t offset)
    {
        return std::launder(
            reinterpret_cast<const CCellData*>(reinterpret_cast<const std::byte*>(row) + offset));
    }

private:
    std::int32_t Offset(int col) const
    {
        assert(col >= 0 && col < GetCellCount());
        return m_pLayout->offsets[static_cast<std::size_t>(col)];
    }

    const CRowLayout* m_pLayout;
    bool m_bMarked = false;
};

} // namespace Lattix
