#pragma once

#include "lattix/model/CellCompare.h"
#include "lattix/model/CellFactory.h"
#include "lattix/model/ColData.h"
#include "lattix/model/RowData.h"
#include "lattix/model/SortKey.h"

#include <memory>
#include <span>

namespace Lattix {

// The operations of a table. Each one forwards, with the same arguments, to the same
// operation of the target, so that a wrapper (a grid control, a combo box with a grid)
// presents a table without implementing it; CTable implements them all and has no
// target.
//
// Rows and columns are counted from 0. Indices are the caller's to check (IsValidRow,
// IsValidColumn); a debug build asserts them.
class CTableInterface
{
public:
    virtual ~CTableInterface() = default;

    CTableInterface(const CTableInterface&) = delete;
    CTableInterface& operator=(const CTableInterface&) = delete;

    // Structure. Build a table either with SetColumnCount(n) and SetColumn for each
    // column, or with Clear and AddColumn for each column; then CreateRowLayout once; then
    // rows. Columns are not changed while rows exist.

    // Clear, then n columns without factory and comparer.
    virtual void SetColumnCount(int n);
    // Lays out the row records; rows can be added afterwards. Deletes all rows.
    virtual void CreateRowLayout();
    // Back to the empty table: no rows, no columns, no layout.
    virtual void Clear();
    // Clear, then columns with clones of source's factories and comparers, then
    // CreateRowLayout. Rows are not copied; copying a table's structure onto itself does
    // nothing.
    virtual void CopyStructure(const CTableInterface& source);
    // Appends a column; returns its index.
    virtual int AddColumn(std::unique_ptr<CCellFactory> factory,
                          std::unique_ptr<CCellCompare> comparer);
    // Replaces the factory and comparer of a column.
    virtual void SetColumn(int col, std::unique_ptr<CCellFactory> factory,
                           std::unique_ptr<CCellCompare> comparer);
    virtual void SetCompare(int col, std::unique_ptr<CCellCompare> comparer);
    virtual int GetColumnCount() const;
    virtual int GetRowCount() const;
    virtual CCellFactory* GetFactory(int col) const;
    virtual CCellCompare* GetCompare(int col) const;

    // Rows. A new row's cells are copies of the columns' prototypes.

    // AddRow, then a copy of source's cells.
    virtual CRowData* AddRowCopy(const CRowData& source);
    virtual CRowData* AddRow();
    virtual CRowData* InsertRowCopy(int index, const CRowData& source);
    // Inserts a new row before index; index = GetRowCount() appends.
    virtual CRowData* InsertRow(int index);
    virtual void DeleteRow(int index);
    virtual void DeleteAllRows();
    // Deletes every marked row; the others keep their order.
    virtual void DeleteMarkedRows();
    // Takes the row at from out and puts it back at to (counted without it).
    virtual void MoveRow(int from, int to);
    // Orders the rows by the keys, the first key most significant. Each key compares with
    // its column's comparer; a key whose column does not exist or has no comparer is left
    // out. Rows equal under all keys keep their relative order. Row records stay where
    // they are; only the row order changes.
    virtual void Sort(std::span<const CSortKey> keys);
    // Puts the rows from first on, added since the rows before them were put in the order
    // of the keys, among those rows: the result is what Sort(keys) gives, a new row going
    // behind the rows it ties with. Costs a sort of the new rows and one pass over the rows
    // behind the first place that a new row takes, so that a long list that grows is kept
    // in order by small batches. The rows before first must be in order.
    virtual void MergeNewRows(int first, std::span<const CSortKey> keys);
    // Takes the rows at the indices out and puts them at the front, in the order listed;
    // the other rows keep their order behind them. An index that is not a row, or
    // that was listed before, is left out.
    virtual void MoveRowsToFront(std::span<const int> rows);
    // Copies source's cells into the row at index; returns that row.
    virtual CRowData* SetRow(int index, const CRowData& source);
    virtual CCellData* GetCell(int row, int col) const;
    virtual CRowData* GetRow(int index) const;
    virtual CColData* GetColData(int col) const;
    // The first row after `after` (-1: from the first row) whose cell in col equals value,
    // or -1.
    virtual int FindRow(int col, const CCellData& value, int after = -1) const;
    // The first row whose cell in col is not less than value; the rows must be in
    // ascending order of col.
    virtual int FindInsertPos(int col, const CCellData& value) const;

    // Marks, one flag per row; the grid control shows them as the selection.
    virtual bool IsRowMarked(int row) const;
    // first..last inclusive; nothing when first > last.
    virtual void MarkRows(int first, int last, bool mark);
    virtual void MarkRow(int row, bool mark);
    virtual void ToggleRowMarks(int first, int last);
    virtual int GetMarkedCount() const;

    // Deletes all rows, then appends a copy of each row of source, in order. The
    // structures must match; copying a table's rows onto itself does nothing.
    virtual void CopyRows(const CTableInterface& source);

    bool IsValidRow(int row) const { return row >= 0 && row < GetRowCount(); }
    bool IsValidColumn(int col) const { return col >= 0 && col < GetColumnCount(); }

    CTableInterface* GetTarget() const { return m_pTarget; }

protected:
    explicit CTableInterface(CTableInterface* target = nullptr) : m_pTarget(target) {}
    void SetTarget(CTableInterface* target) { m_pTarget = target; }

private:
    CTableInterface& Target() const;

    CTableInterface* m_pTarget;
};

} // namespace Lattix
