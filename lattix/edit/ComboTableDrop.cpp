#include "lattix/edit/ComboTableDrop.h"

#include "lattix/edit/ComboTable.h"
#include "lattix/view/TableDisplay.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace Lattix {

CComboTableDrop::CComboTableDrop(CComboTable& combo)
    : m_combo(combo), m_grid(CTableHost::kStyleSingleSel, combo.Id())
{
    QWidget& window = Widget();
    window.setParent(&combo, Qt::Popup | Qt::FramelessWindowHint);
    // The press that closes the list is not delivered again to the window under it.
    window.setAttribute(Qt::WA_NoMouseReplay);
    window.setContentsMargins(1, 1, 1, 1);
    window.setAccessibleName(QCoreApplication::translate("CComboTableDrop", "Drop-down list"));
    // The face keeps the keyboard while the list is open, but the highlighted row is what
    // a screen reader follows.
    m_grid.SetReaderFocus([&combo] { return combo.IsOpened(); });
    window.installEventFilter(this);
    Host().Body().installEventFilter(this);
}

bool CComboTableDrop::eventFilter(QObject* watched, QEvent* event)
{
    QWidget& window = Widget();
    if (watched == &window) {
        switch (event->type()) {
        case QEvent::Paint: {
            // Only the frame: the displays paint the rest.
            QPainter painter(&window);
            painter.setPen(window.palette().color(QPalette::WindowText));
            painter.drawRect(window.rect().adjusted(0, 0, -1, -1));
            return true;
        }
        case QEvent::KeyPress:
            if (!m_combo.IsOpened())
                return false;
            m_combo.OnOpenKey(static_cast<QKeyEvent*>(event));
            return true;
        case QEvent::MouseButtonPress: {
            // Presses inside reach the body; one that arrives here is outside the list.
            const auto* press = static_cast<QMouseEvent*>(event);
            if (window.rect().contains(press->position().toPoint()))
                return false;
            event->accept();
            m_combo.OnPressOutside();
            return true;
        }
        case QEvent::Hide:
            m_combo.OnDropHidden();
            return false;
        default:
            return false;
        }
    }
    // Dragged over the list with the button held (from a press on the face), the row under
    // the mouse is selected; the release on a row chooses it.
    if (watched == &Host().Body() && event->type() == QEvent::MouseMove && m_combo.IsOpened() &&
        !Host().Body().IsDragSelecting()) {
        const auto* move = static_cast<QMouseEvent*>(event);
        if (move->buttons() & Qt::LeftButton) {
            const int row = Host().RowFromY(move->position().toPoint().y());
            if (row >= 0 && row != Table().GetSelectedRow()) {
                Table().SelectRow(row);
                Table().Update(true);
            }
        }
    }
    return false;
}

} // namespace Lattix
