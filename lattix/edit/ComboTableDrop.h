#pragma once

#include "lattix/view/TableCtrl.h"

namespace Lattix {

class CComboTable;

// The drop-down list of a CComboTable: a grid in a frameless popup window with a one-pixel
// frame. While it is open it hands every key to its combo table, which keeps the focus, and
// a press outside it closes it with cancel; that press goes nowhere else.
class CComboTableDrop : public CTableCtrl
{
public:
    explicit CComboTableDrop(CComboTable& combo);

    CComboTable& GetComboTable() const { return m_combo; }
    // The face keeps the keyboard while the list is open, but the highlighted row is what
    // a screen reader follows.
    bool HasReaderFocus() const override;

    // A key as the grid itself handles it (arrows, page keys, home, end).
    void GridKey(QKeyEvent* event) { CTableCtrl::keyPressEvent(event); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CComboTable& m_combo;
};

} // namespace Lattix
