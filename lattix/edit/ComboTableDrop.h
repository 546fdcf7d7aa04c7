#pragma once

#include "lattix/view/TableHost.h"

#include <QObject>

class QKeyEvent;

namespace Lattix {

class CComboTable;
class CTableCtrlInterface;

// The drop-down list of a CComboTable: a grid in a frameless popup window with a one-pixel
// frame, which this object owns and watches. While the list is open it hands every key to
// its combo table, which keeps the focus, and a press outside it closes it with cancel;
// that press goes nowhere else.
class CComboTableDrop final : public QObject
{
public:
    explicit CComboTableDrop(CComboTable& combo);

    CComboTable& GetComboTable() const { return m_combo; }
    // The grid: its table and view operations, what its parts see, and its window.
    CTableHost& Host() const { return m_grid.Host(); }
    CTableCtrlInterface& Table() const { return Host().Table(); }
    QWidget& Widget() const { return Host().Widget(); }
    CGridWindow& Grid() { return m_grid; }

    // A key as the grid itself handles it (arrows, page keys, home, end).
    void GridKey(QKeyEvent* event) { m_grid.HandleKey(event); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CComboTable& m_combo;
    CGridWindow m_grid;
};

} // namespace Lattix
