#include "lattix/model/TableInterface.h"

#include <cassert>
#include <utility>

namespace Lattix {

CTableInterface& CTableInterface::Target() const
{
    assert(m_pTarget != nullptr && "a table interface without target must implement this");
    return *m_pTarget;
}

void CTableInterface::SetColumnCount(int n)
{
    Target().SetColumnCount(n);
}

void CTableInterface::CreateRowLayout()
{
    Target().CreateRowLayout();
}

void CTableInterface::Clear()
{
    Target().Clear();
}

void CTableInterface::CopyStructure(const CTableInterface& source)
{
    Target().CopyStructure(source);
}

int CTableInterface::AddColumn(std::unique_ptr<CCellFactory> factory,
                               std::unique_ptr<CCellCompare> comparer)
{
    return Target().AddColumn(std::move(factory), std::move(comparer));
}

void CTableInterface::SetColumn(int col, std::unique_ptr<CCellFactory> factory,
                                std::unique_ptr<CCellCompare> comparer)
{
    Target().SetColumn(col, std::move(factory), std::move(comparer));
}

void CTableInterface::SetCompare(int col, std::unique_ptr<CCellCompare> comparer)
{
    Target().SetCompare(col, std::move(comparer));
}

int CTableInterface::GetColumnCount() const
{
    return Target().GetColumnCount();
}

int CTableInterface::GetRowCount() const
{
    return Target().GetRowCount();
}

CCellFactory* CTableInterface::GetFactory(int col) const
{
    return Target().GetFactory(col);
}

CCellCompare* CTableInterface::GetCompare(int col) const
{
    return Target().GetCompare(col);
}

CRowData* CTableInterface::AddRowCopy(const CRowData& source)
{
    return Target().AddRowCopy(source);
}

CRowData* CTableInterface::AddRow()
{
    return Target().AddRow();
}

CRowData* CTableInterface::InsertRowCopy(int index, const CRowData& source)
{
    return Target().InsertRowCopy(index, source);
}

CRowData* CTableInterface::InsertRow(int index)
{
    return Target().InsertRow(index);
}

void CTableInterface::DeleteRow(int index)
{
    Target().DeleteRow(index);
}

void CTableInterface::DeleteAllRows()
{
    Target().DeleteAllRows();
}

void CTableInterface::DeleteMarkedRows()
{
    Target().DeleteMarkedRows();
}

void CTableInterface::MoveRow(int from, int to)
{
    Target().MoveRow(from, to);
}

void CTableInterface::Sort(std::span<const CSortKey> keys)
{
    Target().Sort(keys);
}

void CTableInterface::MergeNewRows(int first, std::span<const CSortKey> keys)
{
    Target().MergeNewRows(first, keys);
}

void CTableInterface::MoveRowsToFront(std::span<const int> rows)
{
    Target().MoveRowsToFront(rows);
}

CRowData* CTableInterface::SetRow(int index, const CRowData& source)
{
    return Target().SetRow(index, source);
}

CCellData* CTableInterface::GetCell(int row, int col) const
{
    return Target().GetCell(row, col);
}

CRowData* CTableInterface::GetRow(int index) const
{
    return Target().GetRow(index);
}

CColData* CTableInterface::GetColData(int col) const
{
    return Target().GetColData(col);
}

int CTableInterface::FindRow(int col, const CCellData& value, int after) const
{
    return Target().FindRow(col, value, after);
}

int CTableInterface::FindInsertPos(int col, const CCellData& value) const
{
    return Target().FindInsertPos(col, value);
}

bool CTableInterface::IsRowMarked(int row) const
{
    return Target().IsRowMarked(row);
}

void CTableInterface::MarkRows(int first, int last, bool mark)
{
    Target().MarkRows(first, last, mark);
}

void CTableInterface::MarkRow(int row, bool mark)
{
    Target().MarkRow(row, mark);
}

void CTableInterface::ToggleRowMarks(int first, int last)
{
    Target().ToggleRowMarks(first, last);
}

int CTableInterface::GetMarkedCount() const
{
    return Target().GetMarkedCount();
}

void CTableInterface::CopyRows(const CTableInterface& source)
{
    Target().CopyRows(source);
}

} // namespace Lattix
