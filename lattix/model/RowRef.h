#pragma once

namespace Lattix {

class CRowData;
class CTableInterface;

// A row held by its record rather than its index, so that it is found again after the
// rows were sorted, moved or others deleted. The holder resets it when the row itself is
// deleted: a freed record may be handed to the next new row.
class CRowRef
{
public:
    // Holds the row at index, or nothing when index is no row of table.
    void Set(const CTableInterface& table, int index);
    void Reset();
    bool IsSet() const { return m_pRow != nullptr; }

    // The row's index in table now, or -1 when nothing is held or the row is gone. The
    // index where it was last found is looked at first.
    int Find(const CTableInterface& table) const;

private:
    const CRowData* m_pRow = nullptr;
    mutable int m_nHint = -1;
};

} // namespace Lattix
