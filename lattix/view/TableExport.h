#pragma once

#include <QByteArray>
#include <QString>

#include <span>
#include <string>
#include <string_view>

namespace Lattix {

class CCellOutput;
class CTableInterface;

// One visible column of an export, in display order: its model column, its renderer
// (which gives the cell texts) and its first title line (UTF-8).
struct CExportColumn
{
    int nColumn = 0;
    CCellOutput* pOutput = nullptr;
    std::string strTitle;
};

// The texts that a grid copies to the clipboard and saves as HTML, made from what its
// renderers show. Hidden columns are simply not passed in.
class CTableExport
{
public:
    // Tab-separated rows for the clipboard: for each row in row order that is marked, or
    // every row when allRows, each column's text with tabs, line feeds and carriage
    // returns turned into "*", each followed by a tab; every row ends with CR LF.
    static QString ClipboardText(const CTableInterface& table,
                                 std::span<const CExportColumn> columns, bool allRows);

    // The HTML document of "Save as ...": a head that declares the character set, the title
    // row, then every row, cell texts escaped; line ends CR LF; encoded in Windows-1252
    // (characters it lacks become "?").
    static QByteArray HtmlText(const CTableInterface& table,
                               std::span<const CExportColumn> columns);

    // Escapes "<", ">" and "&", drops CR and LF; "&nbsp;" for a text that is empty or
    // white space only, so that empty cells keep their borders. UTF-8 in and out.
    static std::string EscapeHtml(std::string_view text);

    // The file name offered for a grid whose window text is windowText: ":" turned into
    // "_", ".html" appended.
    static QString DefaultHtmlFileName(const QString& windowText);

    // Writes bytes to path (created or truncated); false when the file cannot be written.
    static bool WriteFile(const QString& path, const QByteArray& bytes);

    // Windows-1252 bytes for text; characters outside the code page become "?".
    static QByteArray ToWindows1252(const QString& text);
};

} // namespace Lattix
