#pragma once

#include "lattix/model/TableInterface.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace Lattix {

namespace detail {
// Frees a block of row records allocated with an alignment.
struct ChunkDeleter
{
    std::size_t align = alignof(std::max_align_t);
    void operator()(std::byte* chunk) const;
};
} // namespace detail

// The table model: rows of typed cells, one cell kind per column.
//
// Row records are fixed-size blocks (a CRowData header followed by the cells) carved out
// of chunks of kRowsPerChunk records. A new row takes the record freed last (or opens a
// new chunk) and constructs its cells as copies of the prototype row; a deleted row's
// cells are destroyed in place and its record goes back to the free list. Chunk memory
// is returned only by DeleteAllRows and Clear. So adding rows allocates nothing per
// integer or boolean cell, and sorting moves row pointers only.
//
// Rows can be hidden (ShowRows): a hidden row keeps its record, cells and place in the
// order of all rows, but the table's operations see only the shown rows, so that a grid
// needs no notion of hidden rows. Sort orders all rows; a row shown again comes back in
// its place. A table that never hid a row pays nothing for it.
class CTable : public CTableInterface
{
public:
    static constexpr int kRowsPerChunk = 127;

    CTable();
    ~CTable() override;

    void SetColumnCount(int n) override;
    void CreateRowLayout() override;
    void Clear() override;
    void CopyStructure(const CTableInterface& source) override;
    int AddColumn(std::unique_ptr<CCellFactory> factory,
                  std::unique_ptr<CCellCompare> comparer) override;
    void SetColumn(int col, std::unique_ptr<CCellFactory> factory,
                   std::unique_ptr<CCellCompare> comparer) override;
    void SetCompare(int col, std::unique_ptr<CCellCompare> comparer) override;
    int GetColumnCount() const override { return static_cast<int>(m_columns.size()); }
    int GetRowCount() const override { return static_cast<int>(m_rows.size()); }
    CCellFactory* GetFactory(int col) const override;
    CCellCompare* GetCompare(int col) const override;

    CRowData* AddRowCopy(const CRowData& source) override;
    CRowData* AddRow() override;
    CRowData* InsertRowCopy(int index, const CRowData& source) override;
    CRowData* InsertRow(int index) override;
    void DeleteRow(int index) override;
    void DeleteAllRows() override;
    void DeleteMarkedRows() override;
    void MoveRow(int from, int to) override;
    void Sort(std::span<const CSortKey> keys) override;
    void MergeNewRows(int first, std::span<const CSortKey> keys) override;
    void MoveRowsToFront(std::span<const int> rows) override;
    CRowData* SetRow(int index, const CRowData& source) override;
    CCellData* GetCell(int row, int col) const override;
    CRowData* GetRow(int index) const override;
    CColData* GetColData(int col) const override;
    int FindRow(int col, const CCellData& value, int after = -1) const override;
    int FindInsertPos(int col, const CCellData& value) const override;

    bool IsRowMarked(int row) const override;
    void MarkRows(int first, int last, bool mark) override;
    void MarkRow(int row, bool mark) override;
    void ToggleRowMarks(int first, int last) override;
    int GetMarkedCount() const override;

    void CopyRows(const CTableInterface& source) override;

    // Shows the rows, shown or hidden, whose integer in keyColumn is an index of shown with
    // a non-zero value there, and hides the others, all in the order of all rows. The key
    // (an id, a handle) is read once per row and must not change afterwards: filtering
    // again then reads no row record, but for clearing the mark of a row being hidden.
    void ShowRows(int keyColumn, std::span<const std::uint8_t> shown);
    // Rows hidden now; GetRowCount counts the shown ones.
    int GetHiddenRowCount() const { return m_nHidden; }
    // While on, rows that AddRow and InsertRow make are hidden at once: InsertRow(index)
    // puts one in the order of all rows before the shown row at index.
    void SetNewRowsHidden(bool hidden) { m_bNewRowsHidden = hidden; }

    // True once CreateRowLayout has run (and until Clear).
    bool HasRowLayout() const { return m_pLayout != nullptr; }
    // Bytes of one row record, header and cells, rounded to the record alignment.
    std::size_t GetRowSize() const { return m_nRowStride; }
    // Chunks of row records allocated now.
    std::size_t GetChunkCount() const { return m_chunks.size(); }
    // Row records carved out of chunks but not in use.
    std::size_t GetFreeRowCount() const { return m_free.size(); }

    // The table behind a table interface: the interface itself, or the end of its chain
    // of targets; null when that is no CTable.
    static const CTable* Resolve(const CTableInterface& table);

private:
    struct Column
    {
        std::unique_ptr<CCellCompare> comparer;
        std::unique_ptr<CCellFactory> factory;
        std::unique_ptr<CColData> accessor;
    };

    using Chunk = std::unique_ptr<std::byte[], detail::ChunkDeleter>;

    // One usable key of a sort order: where its cells lie, their comparer, the direction.
    struct SortColumn
    {
        std::int32_t offset;
        const CCellCompare* comparer;
        bool descending;
    };
    std::vector<SortColumn> SortColumns(std::span<const CSortKey> keys) const;
    // Sorts the rows outside the run [runFirst, runEnd), which is in order, and merges
    // them into it, keeping the order of rows that tie.
    template <class Before>
    void MergeIntoRun(std::size_t runFirst, std::size_t runEnd, const Before& before);

    Chunk AllocateRecords(std::size_t count) const;
    void OpenChunk();
    // A row record from the free list with its cells constructed from the prototype row.
    CRowData* NewRow();
    // Destroys the cells of a row record and puts it back on the free list.
    void FreeRow(CRowData* row);
    void DestroyCells(CRowData* row) const;
    void ReleaseLayout();
    static void CopyCells(CRowData& target, const CRowData& source);
    // One row among all rows: hidden or not, and its key once read.
    struct AllRow
    {
        CRowData* row = nullptr;
        std::int32_t key = 0;
        bool keyRead = false;
        bool hidden = false;
    };
    // Before rows are first hidden: all rows are the shown ones, from now on kept in m_all.
    void KeepAllRows();
    // The place in m_all of the shown row at index (the end for the row count).
    std::vector<AllRow>::iterator AllRowsPos(int index);
    void EraseFromAll(const CRowData* row);
    // m_rows again from m_all.
    void CollectShownRows();
    // After moves of shown rows: the shown rows take the places of shown rows in m_all in
    // their new order; hidden rows keep theirs.
    void SyncAllRows();

    std::vector<Column> m_columns;
    std::unique_ptr<CRowLayout> m_pLayout;
    // Per column: whether its cells need their destructor run.
    std::vector<std::uint8_t> m_needsDestruction;
    std::size_t m_nRowStride = 0;
    std::size_t m_nRowAlign = alignof(CRowData);
    // One row record whose cells are copies of the factories' prototypes, taken when the
    // layout was made; every new row copies it.
    Chunk m_prototypeRecord;
    CRowData* m_pPrototype = nullptr;
    std::vector<Chunk> m_chunks;
    // The shown rows, in order.
    std::vector<CRowData*> m_rows;
    // All rows, shown and hidden, in order, once rows were hidden (m_bKeepAll) until all
    // rows are deleted.
    std::vector<AllRow> m_all;
    bool m_bKeepAll = false;
    bool m_bAllStale = false; // shown rows moved since m_all was last in step
    int m_nHidden = 0;
    bool m_bNewRowsHidden = false;
    // Raw row records (no cells constructed); the last one is used first.
    std::vector<std::byte*> m_free;
    // Rows marked now; marks are set only through the table.
    int m_nMarked = 0;
};

} // namespace Lattix
