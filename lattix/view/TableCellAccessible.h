#pragma once

#include "lattix/view/TableHost.h"
#include <QAccessible>

namespace Lattix {

// One cell of a grid as screen readers see it, or with row kHeaderRow the column's header.
// It names a place (grid row, grid column), not a row record: after rows move it reads what
// is painted at its place now. Its table column is where its grid column is displayed.
class CTableCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    static constexpr int kHeaderRow = -1;

    CTableCellAccessible(CTableHost* ctrl, int row, int col);

    int GridRow() const { return m_row; }
    int GridColumn() const { return m_col; }

    // QAccessibleInterface
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableCellInterface
    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override;
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    CHostPointer m_ctrl;
    int m_row;
    int m_col;
};

} // namespace Lattix
