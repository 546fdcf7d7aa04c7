#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <unordered_map>

namespace Lattix {

class CTableHost;

// A grid as screen readers see it: a table of the visible columns in display order, one
// accessible row per grid row, column headers from the titles and cells that read what the
// renderers paint. The cells (CTableCellAccessible) are made when they are asked for, kept
// in Qt's accessibility cache and given back when their rows go away or the grid goes.
//
// The children are the column headers (while the header is shown) followed by the cells
// row by row; the focus child is the cursor cell (the first visible column in row mode).
//
// The static hooks are what the grid calls when its rows, selection or cursor changed. They
// raise events once the grid's interface exists (a screen reader asked for it, or one is
// active) and cost nothing before.
class CTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit CTableAccessible(CTableHost* ctrl);
    ~CTableAccessible() override;
    CTableAccessible(const CTableAccessible&) = delete;
    CTableAccessible& operator=(const CTableAccessible&) = delete;

    // Lets Qt make this interface for every grid (once per process).
    static void Install();

    // Hooks of the grid. ViewUpdated: rows may have been appended or deleted at the end
    // since the last call, or the cursor may have moved; the grid calls it when it updates
    // its view.
    static void ViewUpdated(CTableHost& ctrl);
    // Rows first..last were deleted.
    static void RowsDeleted(CTableHost& ctrl, int first, int last);
    // The rows were replaced, reordered or cleared.
    static void RowsReset(CTableHost& ctrl);
    static void SelectionChanged(CTableHost& ctrl);
    // The grid took the keyboard focus: the cursor cell is announced again.
    static void FocusIn(CTableHost& ctrl);
    // The grid is going: its interface must not reach it any more.
    static void Detach(CTableHost& ctrl);

    // The grid's geometry as the table shows it: visible columns in display order.
    static int VisibleColumnCount(const CTableHost& ctrl);
    // The grid column shown as table column, or -1.
    static int GridColumn(const CTableHost& ctrl, int column);
    // The table column of a grid column, or -1 when it is hidden.
    static int TableColumn(const CTableHost& ctrl, int col);
    // A cell's rectangle in screen coordinates; row -1 is the column's header.
    static QRect CellRect(CTableHost& ctrl, int row, int col);

    // QAccessibleInterface
    QAccessible::Role role() const override { return QAccessible::Table; }
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

    // Sees every event this interface raises, before Qt does (Qt passes events on only
    // while a screen reader is active).
    using EventObserver = std::function<void(QAccessibleEvent&)>;
    void SetEventObserver(EventObserver observer) { m_observer = std::move(observer); }

    // The header cell of a table column, nullptr while the header is hidden.
    QAccessibleInterface* HeaderCell(int column) const;
    // The number of cached cells (header cells included).
    std::size_t CachedCellCount() const { return m_cells.size(); }

private:
    CTableHost* Ctrl() const;
    bool HeaderShown() const;
    // The cell of a grid row and grid column (row -1: header), made on first use.
    QAccessibleInterface* Cell(int row, int col) const;
    // The child index of a cell, -1 when it is not shown.
    int ChildIndex(int row, int col) const;
    // The cursor cell as (row, grid column), row -1 when there is none.
    std::pair<int, int> FocusCell() const;
    // Gives back the cached cells of the rows from first on.
    void ReleaseRowsFrom(int first);
    void Raise(QAccessibleTableModelChangeEvent::ModelChangeType type, int first, int last);
    void AnnounceFocus(bool always);
    void Post(QAccessibleEvent& event);
    static CTableAccessible* Find(CTableHost& ctrl);

    mutable std::unordered_map<std::uint64_t, QAccessible::Id> m_cells;
    CTableHost* m_ctrl; // nullptr once the grid is going
    int m_knownRows = 0;
    std::pair<int, int> m_announcedFocus{-1, -1};
    EventObserver m_observer;
};

} // namespace Lattix
