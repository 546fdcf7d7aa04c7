#include "lattix/edit/ComboTableDrop.h"

#include "lattix/edit/ComboTable.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace Lattix {

CComboTableDrop::CComboTableDrop(CComboTable& combo) : m_combo(combo)
{
    Create(kStyleSingleSel, 0, 0, 1, 1, nullptr, combo.Id());
    setParent(&combo, Qt::Popup | Qt::FramelessWindowHint);
    // The press that closes the list is not delivered again to the window under it.
    setAttribute(Qt::WA_NoMouseReplay);
    setContentsMargins(1, 1, 1, 1);
    setAccessibleName(QCoreApplication::translate("CComboTableDrop", "Drop-down list"));
    Body().installEventFilter(this);
}

bool CComboTableDrop::HasReaderFocus() const
{
    return m_combo.IsOpened() || CTableCtrl::HasReaderFocus();
}

void CComboTableDrop::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CComboTableDrop::keyPressEvent(QKeyEvent* event)
{
    if (m_combo.IsOpened())
        m_combo.OnOpenKey(event);
    else
        CTableCtrl::keyPressEvent(event);
}

void CComboTableDrop::mousePressEvent(QMouseEvent* event)
{
    // Presses inside reach the body; one that arrives here is outside the list.
    if (!rect().contains(event->position().toPoint())) {
        event->accept();
        m_combo.OnPressOutside();
        return;
    }
    CTableCtrl::mousePressEvent(event);
}

void CComboTableDrop::hideEvent(QHideEvent* event)
{
    CTableCtrl::hideEvent(event);
    m_combo.OnDropHidden();
}

bool CComboTableDrop::eventFilter(QObject* watched, QEvent* event)
{
    // Dragged over the list with the button held (from a press on the face), the row under
    // the mouse is selected; the release on a row chooses it.
    if (watched == &Body() && event->type() == QEvent::MouseMove && m_combo.IsOpened() &&
        !Body().IsDragSelecting()) {
        const auto* move = static_cast<QMouseEvent*>(event);
        if (move->buttons() & Qt::LeftButton) {
            const int row = RowFromY(move->position().toPoint().y());
            if (row >= 0 && row != GetSelectedRow()) {
                SelectRow(row);
                Update(true);
            }
        }
    }
    return CTableCtrl::eventFilter(watched, event);
}

} // namespace Lattix
