#include "lattix/view/FooterDisplay.h"

#include "lattix/model/ColumnGeometry.h"
#include "lattix/model/Table.h"
#include "lattix/view/ColumnInfo.h"
#include "lattix/view/TableCtrlInterface.h"
#include "lattix/view/TableHost.h"
#include "velk/Contrast.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace Lattix {

CFooterDisplay::CFooterDisplay(CTableHost& ctrl) : CTableCtrlWnd(ctrl) {}

int CFooterDisplay::GetFooterHeight() const
{
    return Ctrl().GetRowHeight() + 2;
}

void CFooterDisplay::Draw(QPainter& painter, const QRect& clip)
{
    CTableHost& ctrl = Ctrl();
    painter.fillRect(clip, palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(clip.left(), 0, clip.right(), 0);
    painter.drawLine(clip.left(), 1, clip.right(), 1);
    painter.drawLine(clip.left(), height() - 1, clip.right(), height() - 1);
    const CTable& footer = ctrl.GetFooterTable();
    const bool hasRow = footer.GetRowCount() > 0;
    // Grey separators; on a dark theme a grey between the face and its text.
    const QColor face = palette().color(QPalette::Button);
    const QPen separator(CContrast::IsDark(face)
                             ? CContrast::Mix(face, palette().color(QPalette::ButtonText), 0.35)
                             : QColor(169, 169, 169),
                         1);
    ForEachColumnIn(clip, [&](int col, int left, int width) {
        const CColumnInfo& info = ctrl.GetColumnInfo(col);
        if (info.bFooter && info.pOutput && hasRow) {
            const QRect cell(left + CTableHost::kMarginLeft, CTableHost::kMarginTop + 2,
                             width - CTableHost::kMarginLeft - CTableHost::kMarginRight,
                             ctrl.GetRowHeight() - CTableHost::kMarginTop -
                                 CTableHost::kMarginBottom);
            info.pOutput->Begin(painter);
            info.pOutput->Draw(cell, *footer.GetCell(0, col), false);
            info.pOutput->End();
        }
        painter.setPen(separator);
        painter.drawLine(left + width - 1, 0, left + width - 1, height() - 1);
    });
}

bool CFooterDisplay::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return CTableCtrlWnd::event(event);
    CTableHost::CNotifyScope scope(Ctrl());
    CTableHost& ctrl = Ctrl();
    const auto* help = static_cast<QHelpEvent*>(event);
    const int col = ctrl.Geometry().ColumnFromX(help->pos().x() + ctrl.GetScrollX());
    NMTABLECTRL notification;
    notification.nColumn = col;
    if (col >= 0) {
        const CColumnInfo& info = ctrl.GetColumnInfo(col);
        if (!info.strFooterTip.empty())
            notification.strText = info.strFooterTip;
        else if (info.bFooter && info.pOutput && ctrl.GetFooterTable().GetRowCount() > 0)
            notification.strText = info.pOutput->GetText(*ctrl.GetFooterTable().GetCell(0, col));
    }
    ctrl.Notify(LXN_GETFOOTERTIP, notification);
    if (notification.strText.empty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), QString::fromStdString(notification.strText), this);
    }
    return true;
}

} // namespace Lattix
