#include "lattix/view/TableClipboard.h"

#include "lattix/model/ColumnGeometry.h"
#include "lattix/view/ColumnInfo.h"
#include "lattix/view/TableCtrlInterface.h"
#include "lattix/view/TableHost.h"
#include "lattix/view/TableMimeData.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>

namespace Lattix {

std::vector<CExportColumn> CTableClipboard::ExportColumns() const
{
    std::vector<CExportColumn> columns;
    for (int col : m_ctrl.Geometry().GetDisplayOrder()) {
        const CColumnInfo& info = m_ctrl.GetColumnInfo(col);
        if (m_ctrl.Geometry().IsVisible(col) && info.pOutput)
            columns.push_back({col, info.pOutput.get(), info.strTitle});
    }
    return columns;
}

void CTableClipboard::CopyCell(int row, int col)
{
    QApplication::clipboard()->setText(
        QString::fromStdString(m_ctrl.Table().GetCellText(row, col)));
}

void CTableClipboard::CopyRows(bool allRows)
{
    m_bCopyAll = allRows;
    // The clipboard owns the data; it reads the grid only while the grid exists.
    QApplication::clipboard()->setMimeData(new CTableMimeData(m_ctrl));
}

QString CTableClipboard::Text(bool allRows) const
{
    return CTableExport::ClipboardText(m_ctrl.Table(), ExportColumns(), allRows);
}

QByteArray CTableClipboard::HtmlText() const
{
    return CTableExport::HtmlText(m_ctrl.Table(), ExportColumns());
}

bool CTableClipboard::SaveAsHtml()
{
    const QString name = CTableExport::DefaultHtmlFileName(m_ctrl.Widget().windowTitle());
    QString path;
    if (m_savePathPrompt) {
        path = m_savePathPrompt(name);
    } else {
        QFileDialog dialog(nullptr);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("html"));
        dialog.setNameFilters(
            {QCoreApplication::translate("CTableClipboard", "Html Dateien (*.html)"),
             QCoreApplication::translate("CTableClipboard", "Alle Dateien (*.*)")});
        dialog.selectFile(name);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().front();
    }
    if (path.isEmpty())
        return false;
    return CTableExport::WriteFile(path, HtmlText());
}

} // namespace Lattix
