#pragma once

#include "lattix/view/TableCtrlWnd.h"

namespace Lattix {

// The summary row under the body: for each visible column whose footer flag is set, the
// cell of the footer table drawn by the column's renderer.
class CFooterDisplay : public CTableCtrlWnd
{
public:
    explicit CFooterDisplay(CTableHost& ctrl);

    void Draw(QPainter& painter, const QRect& clip) override;
    // Height for the control's layout: row height + 2.
    int GetFooterHeight() const;

protected:
    bool event(QEvent* event) override;
};

} // namespace Lattix
