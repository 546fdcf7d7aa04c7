#pragma once

#include "lattix/view/TableExport.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

namespace Lattix {

class CTableHost;

// Clipboard copy and HTML export of a grid: a cell's text at once, the marked or all rows as tabbed
// text made when the clipboard is read, and "Save as ..." to an HTML file. All texts are what the
// column renderers show, for the visible columns in display order.
class CTableClipboard
{
public:
    // Asks for the path to save the HTML export to, offering a file name; empty cancels.
    using SavePathPrompt = std::function<QString(const QString& defaultName)>;

    explicit CTableClipboard(CTableHost& ctrl) : m_ctrl(ctrl) {}

    void CopyCell(int row, int col);
    // Puts a text on the clipboard that is made from the rows (marked ones, or all) when it is
    // read, so that it shows the selection at that moment.
    void CopyRows(bool allRows);
    // Whether the rows on the clipboard are all rows (else the marked ones).
    bool IsCopyAll() const { return m_bCopyAll; }
    QString Text(bool allRows) const;
    QByteArray HtmlText() const;
    // Asks for a path (the prompt, else a file dialog), then writes the HTML text; false when
    // cancelled or not written.
    bool SaveAsHtml();
    void SetSavePathPrompt(SavePathPrompt prompt) { m_savePathPrompt = std::move(prompt); }

private:
    std::vector<CExportColumn> ExportColumns() const;

    CTableHost& m_ctrl;
    bool m_bCopyAll = false;
    SavePathPrompt m_savePathPrompt;
};

} // namespace Lattix
