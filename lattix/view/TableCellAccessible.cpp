#include "lattix/view/TableCellAccessible.h"

#include "lattix/model/ColumnGeometry.h"
#include "lattix/view/ColumnInfo.h"
#include "lattix/view/HeaderDisplay.h"
#include "lattix/view/Selection.h"
#include "lattix/view/TableAccessible.h"
#include "lattix/view/TableCtrlInterface.h"
#include "lattix/view/TableCursor.h"
#include "lattix/view/TableDisplay.h"
#include "lattix/view/TableHost.h"

#include <QWidget>
#include <QWindow>

namespace Lattix {

CTableCellAccessible::CTableCellAccessible(CTableHost* ctrl, int row, int col)
    : m_ctrl(ctrl), m_row(row), m_col(col)
{
}

bool CTableCellAccessible::isValid() const
{
    if (!m_ctrl || !m_ctrl->Table().IsValidColumn(m_col) || !m_ctrl->Geometry().IsVisible(m_col))
        return false;
    return m_row == kHeaderRow ? !m_ctrl->Header().isHidden() : m_ctrl->Table().IsValidRow(m_row);
}

QWindow* CTableCellAccessible::window() const
{
    return m_ctrl ? m_ctrl->Widget().window()->windowHandle() : nullptr;
}

QAccessibleInterface* CTableCellAccessible::parent() const
{
    return m_ctrl ? QAccessible::queryAccessibleInterface(&m_ctrl->Widget()) : nullptr;
}

QString CTableCellAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    if (m_row == kHeaderRow) {
        const CColumnInfo& info = m_ctrl->GetColumnInfo(m_col);
        if (t == QAccessible::Name)
            return QString::fromStdString(info.strTitle);
        if (t == QAccessible::Description)
            return QString::fromStdString(info.strLongName);
        return {};
    }
    // What the column's renderer paints, as the clipboard copies it.
    if (t == QAccessible::Name)
        return QString::fromStdString(m_ctrl->Table().GetCellText(m_row, m_col));
    return {};
}

QRect CTableCellAccessible::rect() const
{
    return isValid() ? CTableAccessible::CellRect(*m_ctrl, m_row, m_col) : QRect();
}

QAccessible::Role CTableCellAccessible::role() const
{
    return m_row == kHeaderRow ? QAccessible::ColumnHeader : QAccessible::Cell;
}

QAccessible::State CTableCellAccessible::state() const
{
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    const QWidget& view = m_row == kHeaderRow ? static_cast<QWidget&>(m_ctrl->Header())
                                              : static_cast<QWidget&>(m_ctrl->Body());
    const QRect shown(view.mapToGlobal(QPoint(0, 0)), view.size());
    if (!shown.intersects(rect()) || !m_ctrl->Widget().isVisible()) {
        s.invisible = true;
        s.offscreen = true;
    }
    s.disabled = !m_ctrl->Widget().isEnabled();
    if (m_row == kHeaderRow)
        return s;
    s.selectable = m_ctrl->GetSelection().GetMode() != CSelection::kNone;
    s.selected = m_ctrl->Table().IsRowMarked(m_row);
    s.focusable = true;
    const int cursorCol = m_ctrl->GetCursor().GetColumn();
    s.focused =
        m_ctrl->HasReaderFocus() && m_ctrl->GetCursor().GetRow() == m_row &&
        (cursorCol < 0 ? CTableAccessible::TableColumn(*m_ctrl, m_col) == 0 : cursorCol == m_col);
    return s;
}

void* CTableCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface && m_row != kHeaderRow)
        return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
}

bool CTableCellAccessible::isSelected() const
{
    return isValid() && m_row != kHeaderRow && m_ctrl->Table().IsRowMarked(m_row);
}

QList<QAccessibleInterface*> CTableCellAccessible::columnHeaderCells() const
{
    auto* table = dynamic_cast<CTableAccessible*>(parent());
    QAccessibleInterface* header = table ? table->HeaderCell(columnIndex()) : nullptr;
    return header ? QList<QAccessibleInterface*>{header} : QList<QAccessibleInterface*>{};
}

int CTableCellAccessible::columnIndex() const
{
    return m_ctrl ? CTableAccessible::TableColumn(*m_ctrl, m_col) : -1;
}

} // namespace Lattix
