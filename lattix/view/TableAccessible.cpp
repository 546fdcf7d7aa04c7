#include "lattix/view/TableAccessible.h"

#include "lattix/model/ColumnGeometry.h"
#include "lattix/view/HeaderDisplay.h"
#include "lattix/view/Selection.h"
#include "lattix/view/TableCellAccessible.h"
#include "lattix/view/TableCtrlInterface.h"
#include "lattix/view/TableCursor.h"
#include "lattix/view/TableDisplay.h"
#include "lattix/view/TableHost.h"

namespace Lattix {

namespace {

std::uint64_t TableCellKey(int row, int col)
{
    // Row -1 (the header) keys apart from every data row.
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(row + 1)) << 32) |
           static_cast<std::uint32_t>(col);
}

int TableCellKeyRow(std::uint64_t key)
{
    return static_cast<int>(key >> 32) - 1;
}

QAccessibleInterface* TableAccessibleFactory(const QString&, QObject* object)
{
    // The grid has no meta object of its own, so it is asked for as a plain QWidget.
    if (!object || !object->isWidgetType())
        return nullptr;
    if (auto* ctrl = dynamic_cast<CTableHost*>(object))
        return new CTableAccessible(ctrl); // owned by Qt's accessibility cache
    return nullptr;
}

} // namespace

CTableAccessible::CTableAccessible(CTableHost* ctrl)
    : QAccessibleWidget(&ctrl->Widget(), QAccessible::Table), m_ctrl(ctrl),
      m_knownRows(ctrl->Table().GetRowCount()), m_announcedFocus(FocusCell())
{
    ctrl->SetAccessible(this);
}

CTableAccessible::~CTableAccessible()
{
    if (m_ctrl)
        m_ctrl->SetAccessible(nullptr);
    for (const auto& [key, id] : m_cells)
        QAccessible::deleteAccessibleInterface(id);
}

void CTableAccessible::Install()
{
    static const bool installed = (QAccessible::installFactory(TableAccessibleFactory), true);
    (void)installed;
}

CTableHost* CTableAccessible::Ctrl() const
{
    return dynamic_cast<CTableHost*>(widget());
}

// ---------------------------------------------------------------- geometry

int CTableAccessible::VisibleColumnCount(const CTableHost& ctrl)
{
    int count = 0;
    for (int col : ctrl.Geometry().GetDisplayOrder())
        count += ctrl.Geometry().IsVisible(col) ? 1 : 0;
    return count;
}

int CTableAccessible::GridColumn(const CTableHost& ctrl, int column)
{
    if (column < 0)
        return -1;
    for (int col : ctrl.Geometry().GetDisplayOrder()) {
        if (ctrl.Geometry().IsVisible(col) && column-- == 0)
            return col;
    }
    return -1;
}

int CTableAccessible::TableColumn(const CTableHost& ctrl, int col)
{
    if (!ctrl.Table().IsValidColumn(col) || !ctrl.Geometry().IsVisible(col))
        return -1;
    int column = 0;
    for (int shown : ctrl.Geometry().GetDisplayOrder()) {
        if (shown == col)
            return column;
        column += ctrl.Geometry().IsVisible(shown) ? 1 : 0;
    }
    return -1;
}

QRect CTableAccessible::CellRect(CTableHost& ctrl, int row, int col)
{
    const int x = ctrl.Geometry().GetColumnLeft(col) - ctrl.GetScrollX();
    const int width = ctrl.Table().GetColumnWidth(col);
    if (row == CTableCellAccessible::kHeaderRow) {
        const QWidget& header = ctrl.Header();
        return QRect(header.mapToGlobal(QPoint(x, 0)), QSize(width, header.height()));
    }
    const QWidget& body = ctrl.Body();
    const int y = row * ctrl.GetRowHeight() - ctrl.GetScrollY();
    return QRect(body.mapToGlobal(QPoint(x, y)), QSize(width, ctrl.GetRowHeight()));
}

bool CTableAccessible::HeaderShown() const
{
    return !Ctrl()->Header().isHidden();
}

// ---------------------------------------------------------------- children

QAccessible::State CTableAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    const int mode = Ctrl()->GetSelection().GetMode();
    s.multiSelectable = mode == CSelection::kMultiple;
    s.extSelectable = mode == CSelection::kMultiple;
    return s;
}

int CTableAccessible::childCount() const
{
    const int columns = columnCount();
    return (rowCount() + (HeaderShown() ? 1 : 0)) * columns;
}

QAccessibleInterface* CTableAccessible::child(int index) const
{
    const int columns = columnCount();
    if (index < 0 || columns == 0 || index >= childCount())
        return nullptr;
    const int row = index / columns - (HeaderShown() ? 1 : 0);
    return Cell(row, GridColumn(*Ctrl(), index % columns));
}

int CTableAccessible::ChildIndex(int row, int col) const
{
    const int column = TableColumn(*Ctrl(), col);
    if (column < 0 || row >= rowCount() || (row < 0 && !HeaderShown()))
        return -1;
    return (row + (HeaderShown() ? 1 : 0)) * columnCount() + column;
}

int CTableAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* cell = dynamic_cast<const CTableCellAccessible*>(child);
    if (!cell || cell->parent() != this)
        return -1;
    return ChildIndex(cell->GridRow(), cell->GridColumn());
}

QAccessibleInterface* CTableAccessible::childAt(int x, int y) const
{
    CTableHost& ctrl = *Ctrl();
    const QPoint global(x, y);
    if (HeaderShown()) {
        const QPoint pos = ctrl.Header().mapFromGlobal(global);
        if (ctrl.Header().rect().contains(pos)) {
            const int col = ctrl.Geometry().ColumnFromX(pos.x() + ctrl.GetScrollX());
            return col >= 0 ? Cell(CTableCellAccessible::kHeaderRow, col) : nullptr;
        }
    }
    const QPoint pos = ctrl.Body().mapFromGlobal(global);
    if (!ctrl.Body().rect().contains(pos))
        return nullptr;
    const int row = ctrl.RowFromY(pos.y());
    const int col = ctrl.Geometry().ColumnFromX(pos.x() + ctrl.GetScrollX());
    return row >= 0 && col >= 0 ? Cell(row, col) : nullptr;
}

std::pair<int, int> CTableAccessible::FocusCell() const
{
    const CTableHost& ctrl = *Ctrl();
    const int row = ctrl.GetCursor().GetRow();
    int col = ctrl.GetCursor().GetColumn();
    if (col < 0)
        col = GridColumn(ctrl, 0);
    if (row < 0 || col < 0)
        return {-1, -1};
    return {row, col};
}

QAccessibleInterface* CTableAccessible::focusChild() const
{
    const auto [row, col] = FocusCell();
    return row >= 0 ? Cell(row, col) : nullptr;
}

void* CTableAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* CTableAccessible::Cell(int row, int col) const
{
    auto found = m_cells.find(TableCellKey(row, col));
    if (found == m_cells.end()) {
        // Owned by Qt's cache; given back by ReleaseRowsFrom and the destructor.
        auto* cell = new CTableCellAccessible(Ctrl(), row, col);
        found =
            m_cells.emplace(TableCellKey(row, col), QAccessible::registerAccessibleInterface(cell))
                .first;
    }
    return QAccessible::accessibleInterface(found->second);
}

QAccessibleInterface* CTableAccessible::HeaderCell(int column) const
{
    const int col = GridColumn(*Ctrl(), column);
    return col >= 0 && HeaderShown() ? Cell(CTableCellAccessible::kHeaderRow, col) : nullptr;
}

void CTableAccessible::ReleaseRowsFrom(int first)
{
    for (auto it = m_cells.begin(); it != m_cells.end();) {
        const int row = TableCellKeyRow(it->first);
        if (row != CTableCellAccessible::kHeaderRow && row >= first) {
            QAccessible::deleteAccessibleInterface(it->second);
            it = m_cells.erase(it);
        } else {
            ++it;
        }
    }
}

// ---------------------------------------------------------------- table

QAccessibleInterface* CTableAccessible::cellAt(int row, int column) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    const int col = GridColumn(*Ctrl(), column);
    return col >= 0 ? Cell(row, col) : nullptr;
}

int CTableAccessible::selectedCellCount() const
{
    return selectedRowCount() * columnCount();
}

QList<QAccessibleInterface*> CTableAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    const int columns = columnCount();
    for (int row : selectedRows()) {
        for (int column = 0; column < columns; ++column)
            cells.append(cellAt(row, column));
    }
    return cells;
}

QString CTableAccessible::columnDescription(int column) const
{
    const int col = GridColumn(*Ctrl(), column);
    return col >= 0 ? QString::fromStdString(Ctrl()->Table().GetColumnTitle(col)) : QString();
}

int CTableAccessible::selectedRowCount() const
{
    return Ctrl()->Table().GetMarkedCount();
}

int CTableAccessible::columnCount() const
{
    return VisibleColumnCount(*Ctrl());
}

int CTableAccessible::rowCount() const
{
    return Ctrl()->Table().GetRowCount();
}

QList<int> CTableAccessible::selectedRows() const
{
    QList<int> rows;
    const CTableHost& ctrl = *Ctrl();
    for (int row = 0, count = ctrl.Table().GetRowCount(); row < count; ++row) {
        if (ctrl.Table().IsRowMarked(row))
            rows.append(row);
    }
    return rows;
}

bool CTableAccessible::isRowSelected(int row) const
{
    return row >= 0 && row < rowCount() && Ctrl()->Table().IsRowMarked(row);
}

bool CTableAccessible::selectRow(int row)
{
    CTableHost& ctrl = *Ctrl();
    if (!ctrl.Table().IsValidRow(row) || ctrl.GetSelection().GetMode() == CSelection::kNone)
        return false;
    if (ctrl.GetSelection().GetMode() == CSelection::kSingle)
        ctrl.Table().SelectRow(row);
    else
        ctrl.Table().MarkRow(row, true);
    ctrl.Body().update();
    SelectionChanged(ctrl);
    return true;
}

bool CTableAccessible::unselectRow(int row)
{
    CTableHost& ctrl = *Ctrl();
    if (!ctrl.Table().IsValidRow(row) || !ctrl.Table().IsRowMarked(row))
        return false;
    ctrl.Table().MarkRow(row, false);
    ctrl.Body().update();
    SelectionChanged(ctrl);
    return true;
}

void CTableAccessible::modelChange(QAccessibleTableModelChangeEvent* event)
{
    switch (event->modelChangeType()) {
    case QAccessibleTableModelChangeEvent::RowsInserted:
    case QAccessibleTableModelChangeEvent::RowsRemoved:
        // Cells name places: those from the first changed row on now show other rows.
        ReleaseRowsFrom(event->firstRow());
        break;
    case QAccessibleTableModelChangeEvent::DataChanged:
        break;
    default:
        ReleaseRowsFrom(0);
        break;
    }
    m_knownRows = rowCount();
}

// ---------------------------------------------------------------- hooks

void CTableAccessible::Post(QAccessibleEvent& event)
{
    if (m_observer)
        m_observer(event);
    QAccessible::updateAccessibility(&event);
}

CTableAccessible* CTableAccessible::Find(CTableHost& ctrl)
{
    if (CTableAccessible* self = ctrl.GetAccessible())
        return self;
    if (!QAccessible::isActive())
        return nullptr;
    return dynamic_cast<CTableAccessible*>(QAccessible::queryAccessibleInterface(&ctrl.Widget()));
}

void CTableAccessible::Detach(CTableHost& ctrl)
{
    if (CTableAccessible* self = ctrl.GetAccessible()) {
        self->m_ctrl = nullptr;
        ctrl.SetAccessible(nullptr);
    }
}

void CTableAccessible::Raise(QAccessibleTableModelChangeEvent::ModelChangeType type, int first,
                             int last)
{
    QAccessibleTableModelChangeEvent event(&Ctrl()->Widget(), type);
    event.setFirstRow(first);
    event.setLastRow(last);
    event.setFirstColumn(0);
    event.setLastColumn(columnCount() - 1);
    // Qt passes the change to modelChange as well, but only while a screen reader is
    // active; a second pass finds nothing left to do.
    modelChange(&event);
    Post(event);
}

void CTableAccessible::AnnounceFocus(bool always)
{
    const std::pair<int, int> cell = FocusCell();
    if (!always && cell == m_announcedFocus)
        return;
    m_announcedFocus = cell;
    if (!Ctrl()->HasReaderFocus() || cell.first < 0)
        return;
    QAccessibleEvent event(&Ctrl()->Widget(), QAccessible::Focus);
    event.setChild(ChildIndex(cell.first, cell.second));
    Post(event);
}

void CTableAccessible::ViewUpdated(CTableHost& ctrl)
{
    CTableAccessible* self = Find(ctrl);
    if (!self)
        return;
    const int rows = ctrl.Table().GetRowCount();
    if (rows > self->m_knownRows)
        self->Raise(QAccessibleTableModelChangeEvent::RowsInserted, self->m_knownRows, rows - 1);
    else if (rows < self->m_knownRows)
        self->Raise(QAccessibleTableModelChangeEvent::RowsRemoved, rows, self->m_knownRows - 1);
    self->AnnounceFocus(false);
}

void CTableAccessible::RowsDeleted(CTableHost& ctrl, int first, int last)
{
    CTableAccessible* self = Find(ctrl);
    if (!self)
        return;
    // Rows appended since the last announcement make the range unsure.
    if (self->m_knownRows - (last - first + 1) == ctrl.Table().GetRowCount())
        self->Raise(QAccessibleTableModelChangeEvent::RowsRemoved, first, last);
    else
        self->Raise(QAccessibleTableModelChangeEvent::ModelReset, 0,
                    ctrl.Table().GetRowCount() - 1);
}

void CTableAccessible::RowsReset(CTableHost& ctrl)
{
    if (CTableAccessible* self = Find(ctrl))
        self->Raise(QAccessibleTableModelChangeEvent::ModelReset, 0,
                    ctrl.Table().GetRowCount() - 1);
}

void CTableAccessible::SelectionChanged(CTableHost& ctrl)
{
    CTableAccessible* self = Find(ctrl);
    if (!self)
        return;
    if (ctrl.GetSelection().GetMode() == CSelection::kSingle) {
        QAccessibleEvent event(&ctrl.Widget(), QAccessible::Selection);
        const int row = ctrl.Table().GetSelectedRow();
        event.setChild(row >= 0 ? self->ChildIndex(row, GridColumn(ctrl, 0)) : -1);
        self->Post(event);
    } else {
        QAccessibleEvent event(&ctrl.Widget(), QAccessible::SelectionWithin);
        self->Post(event);
    }
}

void CTableAccessible::FocusIn(CTableHost& ctrl)
{
    if (CTableAccessible* self = Find(ctrl))
        self->AnnounceFocus(true);
}

} // namespace Lattix
