#include "lattix/model/Table.h"

#include "lattix/model/LattixLibrary.h"

#include <algorithm>
#include <cassert>
#include <iterator>
#include <new>
#include <unordered_map>
#include <utility>

namespace Lattix {
namespace {

[[maybe_unused]] const bool kTableRegistered = (RegisterLattixLibrary(), true);

constexpr std::size_t kReservedColumns = 16;
constexpr std::size_t kReservedRows = 254;

std::size_t RoundUp(std::size_t value, std::size_t align)
{
    return (value + align - 1) / align * align;
}

std::size_t Index(int i)
{
    return static_cast<std::size_t>(i);
}

// Whether row a sorts before row b under the usable keys of a sort order.
template <class Columns>
auto RowOrder(const Columns& columns)
{
    return [&columns](const CRowData* a, const CRowData* b) {
        for (const auto& key : columns) {
            const int c = key.comparer->Compare(*CRowData::CellAt(a, key.offset),
                                                *CRowData::CellAt(b, key.offset));
            if (c != 0)
                return key.descending ? c > 0 : c < 0;
        }
        return false;
    };
}

} // namespace

void detail::ChunkDeleter::operator()(std::byte* chunk) const
{
    ::operator delete(chunk, std::align_val_t(align));
}

CTable::CTable()
{
    m_columns.reserve(kReservedColumns);
    m_rows.reserve(kReservedRows);
    m_free.reserve(kReservedRows);
}

CTable::~CTable()
{
    CTable::Clear();
}

const CTable* CTable::Resolve(const CTableInterface& table)
{
    const CTableInterface* end = &table;
    while (end->GetTarget() != nullptr)
        end = end->GetTarget();
    return dynamic_cast<const CTable*>(end);
}

// Structure

void CTable::SetColumnCount(int n)
{
    Clear();
    m_columns.resize(n > 0 ? Index(n) : 0);
}

void CTable::Clear()
{
    ReleaseLayout();
    while (!m_columns.empty())
        m_columns.pop_back();
}

void CTable::ReleaseLayout()
{
    DeleteAllRows();
    if (m_pPrototype != nullptr) {
        DestroyCells(m_pPrototype);
        m_pPrototype = nullptr;
    }
    m_prototypeRecord.reset();
    for (Column& column : m_columns)
        column.accessor.reset();
    m_needsDestruction.clear();
    m_pLayout.reset();
    m_nRowStride = 0;
    m_nRowAlign = alignof(CRowData);
}

CTable::Chunk CTable::AllocateRecords(std::size_t count) const
{
    auto* memory =
        static_cast<std::byte*>(::operator new(m_nRowStride* count, std::align_val_t(m_nRowAlign)));
    return Chunk(memory, detail::ChunkDeleter{m_nRowAlign});
}

void CTable::CreateRowLayout()
{
    ReleaseLayout();

    auto layout = std::make_unique<CRowLayout>();
    layout->pTable = this;
    layout->offsets.reserve(m_columns.size());
    std::size_t size = sizeof(CRowData);
    std::size_t align = alignof(CRowData);
    for (const Column& column : m_columns) {
        assert(column.factory != nullptr && "every column needs a factory before the layout");
        const std::size_t cellAlign = column.factory->GetCellAlign();
        size = RoundUp(size, cellAlign);
        layout->offsets.push_back(static_cast<std::int32_t>(size));
        size += column.factory->GetCellSize();
        align = std::max(align, cellAlign);
    }
    m_nRowAlign = align;
    m_nRowStride = RoundUp(size, align);
    m_pLayout = std::move(layout);

    for (std::size_t col = 0; col < m_columns.size(); ++col)
        m_columns[col].accessor = std::make_unique<CColData>(m_rows, m_pLayout->offsets[col]);

    // The prototype row: a copy of every factory's prototype, taken now.
    m_prototypeRecord = AllocateRecords(1);
    auto* prototype = ::new (m_prototypeRecord.get()) CRowData(*m_pLayout);
    m_needsDestruction.assign(m_columns.size(), 0);
    for (std::size_t col = 0; col < m_columns.size(); ++col) {
        const CCellData* source = m_columns[col].factory->GetPrototype();
        std::byte* storage = m_prototypeRecord.get() + m_pLayout->offsets[col];
        try {
            [[maybe_unused]] CCellData* cell = source->CopyConstructAt(storage);
            assert(static_cast<void*>(cell) == storage && "a cell starts at its storage");
        } catch (...) {
            for (std::size_t done = col; done-- > 0;)
                prototype->GetCell(static_cast<int>(done))->~CCellData();
            m_prototypeRecord.reset();
            m_pLayout.reset();
            throw;
        }
        m_needsDestruction[col] = source->NeedsDestruction() ? 1 : 0;
    }
    m_pPrototype = prototype;
}

void CTable::CopyStructure(const CTableInterface& source)
{
    if (Resolve(source) == this || &source == this)
        return;
    const int n = source.GetColumnCount();
    SetColumnCount(n);
    for (int col = 0; col < n; ++col) {
        const CCellFactory* factory = source.GetFactory(col);
        const CCellCompare* comparer = source.GetCompare(col);
        m_columns[Index(col)].factory = factory != nullptr ? factory->Clone() : nullptr;
        m_columns[Index(col)].comparer = comparer != nullptr ? comparer->Clone() : nullptr;
    }
    CreateRowLayout();
}

int CTable::AddColumn(std::unique_ptr<CCellFactory> factory, std::unique_ptr<CCellCompare> comparer)
{
    assert(m_pLayout == nullptr && "columns change only before the row layout");
    m_columns.push_back(Column{std::move(comparer), std::move(factory), nullptr});
    return static_cast<int>(m_columns.size()) - 1;
}

void CTable::SetColumn(int col, std::unique_ptr<CCellFactory> factory,
                       std::unique_ptr<CCellCompare> comparer)
{
    assert(IsValidColumn(col));
    assert(m_pLayout == nullptr && "columns change only before the row layout");
    Column& column = m_columns[Index(col)];
    // Handing back what the column already owns keeps it.
    if (factory.get() != column.factory.get())
        column.factory = std::move(factory);
    else
        static_cast<void>(factory.release());
    SetCompare(col, std::move(comparer));
}

void CTable::SetCompare(int col, std::unique_ptr<CCellCompare> comparer)
{
    assert(IsValidColumn(col));
    Column& column = m_columns[Index(col)];
    if (comparer.get() != column.comparer.get())
        column.comparer = std::move(comparer);
    else
        static_cast<void>(comparer.release());
}

CCellFactory* CTable::GetFactory(int col) const
{
    assert(IsValidColumn(col));
    return m_columns[Index(col)].factory.get();
}

CCellCompare* CTable::GetCompare(int col) const
{
    assert(IsValidColumn(col));
    return m_columns[Index(col)].comparer.get();
}

// Row records

void CTable::OpenChunk()
{
    Chunk chunk = AllocateRecords(kRowsPerChunk);
    std::byte* base = chunk.get();
    m_chunks.push_back(std::move(chunk));
    // Pushed from the end, so that rows take the records in address order.
    for (std::size_t i = kRowsPerChunk; i-- > 0;)
        m_free.push_back(base + i * m_nRowStride);
}

CRowData* CTable::NewRow()
{
    assert(m_pLayout != nullptr && "rows need the row layout");
    if (m_free.empty())
        OpenChunk();
    std::byte* record = m_free.back();
    auto* row = ::new (record) CRowData(*m_pLayout);
    const std::size_t n = m_pLayout->offsets.size();
    std::size_t col = 0;
    try {
        for (; col < n; ++col)
            m_pPrototype->GetCell(static_cast<int>(col))
                ->CopyConstructAt(record + m_pLayout->offsets[col]);
    } catch (...) {
        while (col-- > 0)
            row->GetCell(static_cast<int>(col))->~CCellData();
        throw;
    }
    m_free.pop_back();
    return row;
}

void CTable::DestroyCells(CRowData* row) const
{
    for (std::size_t col = m_needsDestruction.size(); col-- > 0;) {
        if (m_needsDestruction[col] != 0)
            row->GetCell(static_cast<int>(col))->~CCellData();
    }
}

void CTable::FreeRow(CRowData* row)
{
    DestroyCells(row);
    m_free.push_back(reinterpret_cast<std::byte*>(row));
}

void CTable::CopyCells(CRowData& target, const CRowData& source)
{
    if (&target == &source)
        return;
    assert(target.GetCellCount() == source.GetCellCount() && "row structures must match");
    const int n = std::min(target.GetCellCount(), source.GetCellCount());
    for (int col = n; col-- > 0;)
        target.GetCell(col)->Assign(*source.GetCell(col));
}

// Rows

namespace {

// Room for one more row, so that a failing allocation comes before anything changed.
template <typename T>
void RoomForOne(std::vector<T>& rows)
{
    if (rows.size() == rows.capacity())
        rows.reserve(rows.size() * 2 + 1);
}

} // namespace

void CTable::KeepAllRows()
{
    if (m_bKeepAll)
        return;
    m_all.reserve(m_rows.size() + 1);
    m_all.clear();
    for (CRowData* row : m_rows)
        m_all.push_back(AllRow{row});
    m_bKeepAll = true;
}

void CTable::SyncAllRows()
{
    if (!m_bAllStale)
        return;
    std::unordered_map<const CRowData*, AllRow> shown;
    shown.reserve(m_rows.size());
    for (const AllRow& entry : m_all) {
        if (!entry.hidden)
            shown.emplace(entry.row, entry);
    }
    auto next = m_rows.begin();
    for (AllRow& entry : m_all) {
        if (!entry.hidden)
            entry = shown.at(*next++);
    }
    m_bAllStale = false;
}

std::vector<CTable::AllRow>::iterator CTable::AllRowsPos(int index)
{
    SyncAllRows();
    if (index >= GetRowCount())
        return m_all.end();
    const CRowData* row = m_rows[Index(index)];
    return std::find_if(m_all.begin(), m_all.end(),
                        [row](const AllRow& entry) { return entry.row == row; });
}

void CTable::EraseFromAll(const CRowData* row)
{
    SyncAllRows();
    const auto it = std::find_if(m_all.begin(), m_all.end(),
                                 [row](const AllRow& entry) { return entry.row == row; });
    if (it != m_all.end())
        m_all.erase(it);
}

void CTable::CollectShownRows()
{
    m_rows.clear(); // it keeps room for every shown row
    for (const AllRow& entry : m_all) {
        if (!entry.hidden)
            m_rows.push_back(entry.row);
    }
}

CRowData* CTable::AddRow()
{
    if (m_bNewRowsHidden) {
        KeepAllRows();
        RoomForOne(m_all);
        CRowData* row = NewRow();
        m_all.push_back(AllRow{row, 0, false, true});
        ++m_nHidden;
        return row;
    }
    RoomForOne(m_rows);
    if (m_bKeepAll)
        RoomForOne(m_all);
    CRowData* row = NewRow();
    m_rows.push_back(row);
    if (m_bKeepAll)
        m_all.push_back(AllRow{row});
    return row;
}

CRowData* CTable::AddRowCopy(const CRowData& source)
{
    CRowData* row = AddRow();
    CopyCells(*row, source);
    return row;
}

CRowData* CTable::InsertRow(int index)
{
    assert(index >= 0 && index <= GetRowCount());
    const bool hidden = m_bNewRowsHidden;
    if (hidden)
        KeepAllRows();
    else
        RoomForOne(m_rows);
    std::ptrdiff_t allPos = 0;
    if (m_bKeepAll) {
        allPos = AllRowsPos(index) - m_all.begin();
        RoomForOne(m_all);
    }
    CRowData* row = NewRow();
    if (m_bKeepAll)
        m_all.insert(m_all.begin() + allPos, AllRow{row, 0, false, hidden});
    if (hidden)
        ++m_nHidden;
    else
        m_rows.insert(m_rows.begin() + index, row);
    return row;
}

CRowData* CTable::InsertRowCopy(int index, const CRowData& source)
{
    CRowData* row = InsertRow(index);
    CopyCells(*row, source);
    return row;
}

void CTable::DeleteRow(int index)
{
    assert(IsValidRow(index));
    CRowData* row = m_rows[Index(index)];
    // Room first, so that a failing allocation leaves the table as it was.
    m_free.reserve(m_free.size() + 1);
    m_rows.erase(m_rows.begin() + index);
    m_nMarked -= row->IsMarked() ? 1 : 0;
    if (m_bKeepAll)
        EraseFromAll(row);
    FreeRow(row);
}

void CTable::DeleteAllRows()
{
    if (m_bKeepAll) {
        for (const AllRow& entry : m_all)
            DestroyCells(entry.row);
    } else {
        for (CRowData* row : m_rows)
            DestroyCells(row);
    }
    m_rows.clear();
    m_all.clear();
    m_bKeepAll = false;
    m_bAllStale = false;
    m_nHidden = 0;
    m_free.clear();
    m_chunks.clear();
    m_nMarked = 0;
}

void CTable::DeleteMarkedRows()
{
    const int marked = GetMarkedCount();
    if (marked == 0)
        return;
    m_free.reserve(m_free.size() + Index(marked));
    // Hidden rows carry no marks.
    if (m_bKeepAll) {
        SyncAllRows();
        std::erase_if(m_all, [](const AllRow& entry) { return entry.row->IsMarked(); });
    }
    // From the last row to the first, as deleting them one by one would.
    for (std::size_t i = m_rows.size(); i-- > 0;) {
        if (m_rows[i]->IsMarked()) {
            FreeRow(m_rows[i]);
            m_rows[i] = nullptr;
        }
    }
    std::erase(m_rows, nullptr);
    m_nMarked = 0;
}

void CTable::MoveRow(int from, int to)
{
    assert(IsValidRow(from) && IsValidRow(to));
    const auto first = m_rows.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else if (to < from)
        std::rotate(first + to, first + from, first + from + 1);
    // Many moves come in a row (a search moves its matches up): all rows follow later.
    if (m_bKeepAll && from != to)
        m_bAllStale = true;
}

namespace {

// A list that is re-sorted while rows arrive is mostly in order already: the ordered front
// is kept, only the rest is sorted, and the two are merged. Stable throughout, so that rows
// that compare equal do not swap places from one sort to the next.
template <typename T, typename Before>
void SortRows(std::vector<T>& rows, const Before& before)
{
    if (rows.size() < 2)
        return;
    const auto unsorted = std::is_sorted_until(rows.begin(), rows.end(), before);
    if (unsorted == rows.end())
        return;
    std::stable_sort(unsorted, rows.end(), before);
    std::inplace_merge(rows.begin(), unsorted, rows.end(), before);
}

} // namespace

std::vector<CTable::SortColumn> CTable::SortColumns(std::span<const CSortKey> keys) const
{
    std::vector<SortColumn> active;
    if (m_pLayout == nullptr)
        return active;
    active.reserve(keys.size());
    for (const CSortKey& key : keys) {
        if (!IsValidColumn(key.nColumn))
            continue;
        const CCellCompare* comparer = m_columns[Index(key.nColumn)].comparer.get();
        if (comparer != nullptr)
            active.push_back({m_pLayout->offsets[Index(key.nColumn)], comparer, key.bDescending});
    }
    return active;
}

void CTable::Sort(std::span<const CSortKey> keys)
{
    const std::vector<SortColumn> columns = SortColumns(keys);
    if (columns.empty())
        return;
    const auto before = RowOrder(columns);
    if (m_bKeepAll) {
        // Hidden rows are sorted with the shown ones, so that they come back in their place.
        SyncAllRows();
        SortRows(m_all,
                 [&before](const AllRow& a, const AllRow& b) { return before(a.row, b.row); });
        CollectShownRows();
        return;
    }
    if (m_rows.size() < 2)
        return;

    // The longest run of rows already in order stays as it is; the other rows are sorted
    // and merged into it. So a list that grew since its last sort, or one with a few rows
    // moved out of place, costs little more than sorting those rows.
    std::size_t runFirst = 0;
    std::size_t runEnd = 1;
    for (std::size_t first = 0; first < m_rows.size();) {
        std::size_t end = first + 1;
        while (end < m_rows.size() && !before(m_rows[end], m_rows[end - 1]))
            ++end;
        if (end - first > runEnd - runFirst) {
            runFirst = first;
            runEnd = end;
        }
        first = end;
    }
    if (runEnd - runFirst == m_rows.size())
        return;

    MergeIntoRun(runFirst, runEnd, before);
}

template <class Before>
void CTable::MergeIntoRun(std::size_t runFirst, std::size_t runEnd, const Before& before)
{
    struct Other
    {
        CRowData* row;
        bool early; // stood before the run
    };
    std::vector<Other> others;
    others.reserve(m_rows.size() - (runEnd - runFirst));
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (i < runFirst || i >= runEnd)
            others.push_back({m_rows[i], i < runFirst});
    }
    std::stable_sort(others.begin(), others.end(),
                     [&](const Other& a, const Other& b) { return before(a.row, b.row); });

    // A row from before the run goes before the run's rows it ties with, one from after
    // it behind them.
    std::vector<CRowData*> sorted;
    sorted.reserve(m_rows.size());
    auto run = m_rows.begin() + static_cast<std::ptrdiff_t>(runFirst);
    const auto end = m_rows.begin() + static_cast<std::ptrdiff_t>(runEnd);
    for (const Other& other : others) {
        const auto at = other.early ? std::lower_bound(run, end, other.row, before)
                                    : std::upper_bound(run, end, other.row, before);
        sorted.insert(sorted.end(), run, at);
        sorted.push_back(other.row);
        run = at;
    }
    sorted.insert(sorted.end(), run, end);
    m_rows.swap(sorted);
}

void CTable::MergeNewRows(int first, std::span<const CSortKey> keys)
{
    if (m_bKeepAll) {
        // The new rows, shown or hidden, are the last of all rows: merged into them.
        Sort(keys);
        return;
    }
    const std::vector<SortColumn> columns = SortColumns(keys);
    if (columns.empty() || first < 0 || Index(first) >= m_rows.size())
        return;
    const auto before = RowOrder(columns);
    const auto oldEnd = m_rows.begin() + first;
    std::vector<CRowData*> fresh(oldEnd, m_rows.end());
    std::stable_sort(fresh.begin(), fresh.end(), before);
    // From the back: each new row goes behind the older rows it ties with; the older rows
    // behind it move up by the number of new rows still to place.
    auto old = oldEnd;
    auto out = m_rows.end();
    for (auto row = fresh.rbegin(); row != fresh.rend(); ++row) {
        const auto at = std::upper_bound(m_rows.begin(), old, *row, before);
        out = std::move_backward(at, old, out);
        *--out = *row;
        old = at;
    }
}

void CTable::MoveRowsToFront(std::span<const int> rows)
{
    std::vector<CRowData*> arranged;
    arranged.reserve(m_rows.size());
    std::vector<bool> taken(m_rows.size());
    for (const int index : rows) {
        if (!IsValidRow(index) || taken[Index(index)])
            continue;
        arranged.push_back(m_rows[Index(index)]);
        taken[Index(index)] = true;
    }
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (!taken[i])
            arranged.push_back(m_rows[i]);
    }
    m_rows.swap(arranged);
    if (m_bKeepAll)
        m_bAllStale = true;
}

void CTable::ShowRows(int keyColumn, std::span<const std::uint8_t> shown)
{
    assert(IsValidColumn(keyColumn) && m_pLayout != nullptr);
    KeepAllRows();
    SyncAllRows();
    m_rows.reserve(m_all.size());
    const std::int32_t offset = m_pLayout->offsets[Index(keyColumn)];
    // Keys not yet read are read ahead of their use: the rows lie all over memory.
    constexpr std::size_t kAhead = 16;
    for (std::size_t i = 0; i < m_all.size(); ++i) {
        if (i + kAhead < m_all.size() && !m_all[i + kAhead].keyRead)
            __builtin_prefetch(reinterpret_cast<const std::byte*>(m_all[i + kAhead].row) + offset);
        AllRow& entry = m_all[i];
        if (!entry.keyRead) {
            entry.key = CRowData::CellAt(entry.row, offset)->GetInt();
            entry.keyRead = true;
        }
    }
    m_nHidden = 0;
    for (AllRow& entry : m_all) {
        const auto key = static_cast<std::size_t>(entry.key);
        const bool hide = entry.key < 0 || key >= shown.size() || shown[key] == 0;
        if (hide && !entry.hidden && entry.row->IsMarked()) {
            entry.row->SetMarked(false);
            --m_nMarked;
        }
        entry.hidden = hide;
        m_nHidden += hide ? 1 : 0;
    }
    CollectShownRows();
}

CRowData* CTable::SetRow(int index, const CRowData& source)
{
    assert(IsValidRow(index));
    CRowData* row = m_rows[Index(index)];
    CopyCells(*row, source);
    return row;
}

CCellData* CTable::GetCell(int row, int col) const
{
    assert(IsValidRow(row) && IsValidColumn(col));
    return m_rows[Index(row)]->GetCell(col);
}

CRowData* CTable::GetRow(int index) const
{
    assert(IsValidRow(index));
    return m_rows[Index(index)];
}

CColData* CTable::GetColData(int col) const
{
    assert(IsValidColumn(col));
    return m_columns[Index(col)].accessor.get();
}

int CTable::FindRow(int col, const CCellData& value, int after) const
{
    assert(IsValidColumn(col) && m_pLayout != nullptr);
    const std::int32_t offset = m_pLayout->offsets[Index(col)];
    for (std::size_t i = after < 0 ? 0 : Index(after) + 1; i < m_rows.size(); ++i) {
        if (*CRowData::CellAt(m_rows[i], offset) == value)
            return static_cast<int>(i);
    }
    return -1;
}

int CTable::FindInsertPos(int col, const CCellData& value) const
{
    assert(IsValidColumn(col) && m_pLayout != nullptr);
    const std::int32_t offset = m_pLayout->offsets[Index(col)];
    const auto pos = std::partition_point(m_rows.begin(), m_rows.end(), [&](const CRowData* row) {
        return *CRowData::CellAt(row, offset) < value;
    });
    return static_cast<int>(pos - m_rows.begin());
}

// Marks

bool CTable::IsRowMarked(int row) const
{
    assert(IsValidRow(row));
    return m_rows[Index(row)]->IsMarked();
}

void CTable::MarkRows(int first, int last, bool mark)
{
    if (first > last)
        return;
    assert(IsValidRow(first) && IsValidRow(last));
    // Unmarking stops at the last marked row, so that clearing the selection of a long
    // list reads only as far as the selection went.
    for (int i = first; i <= last && (mark || m_nMarked > 0); ++i)
        MarkRow(i, mark);
}

void CTable::MarkRow(int row, bool mark)
{
    assert(IsValidRow(row));
    CRowData* record = m_rows[Index(row)];
    if (record->IsMarked() != mark)
        m_nMarked += mark ? 1 : -1;
    record->SetMarked(mark);
}

void CTable::ToggleRowMarks(int first, int last)
{
    if (first > last)
        return;
    assert(IsValidRow(first) && IsValidRow(last));
    for (int i = first; i <= last; ++i)
        MarkRow(i, !m_rows[Index(i)]->IsMarked());
}

int CTable::GetMarkedCount() const
{
    return m_nMarked;
}

void CTable::CopyRows(const CTableInterface& source)
{
    if (Resolve(source) == this || &source == this)
        return;
    DeleteAllRows();
    const int n = source.GetRowCount();
    m_rows.reserve(Index(n));
    for (int i = 0; i < n; ++i)
        CopyCells(*AddRow(), *source.GetRow(i));
}

} // namespace Lattix
