#include "lattix/view/TableExport.h"

#include "lattix/model/TableInterface.h"
#include "lattix/view/CellOutput.h"

#include <QFile>

#include <algorithm>
#include <array>

namespace Lattix {

namespace {

QString FromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string CellText(const CTableInterface& table, int row, const CExportColumn& column)
{
    if (column.pOutput == nullptr)
        return {};
    return column.pOutput->GetText(*table.GetCell(row, column.nColumn));
}

// Characters 0x80 to 0x9F of Windows-1252; 0 where the code page has none (those bytes
// stand for the control character of the same number).
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char ToCodePage(char32_t ch)
{
    // Locales group digits with narrow, thin or figure spaces that never break; the code
    // page has one no-break space for them all.
    if (ch == 0x202F || ch == 0x2009 || ch == 0x2007)
        return '\xA0';
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<char>(ch);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        const char32_t mapped = kHighControls[i] != 0 ? kHighControls[i] : 0x80 + i;
        if (ch == mapped)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

bool IsBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char ch) {
        return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
    });
}

} // namespace

QString CTableExport::ClipboardText(const CTableInterface& table,
                                    std::span<const CExportColumn> columns, bool allRows)
{
    QString text;
    const int rows = table.GetRowCount();
    for (int row = 0; row < rows; ++row) {
        if (!allRows && !table.IsRowMarked(row))
            continue;
        for (const CExportColumn& column : columns) {
            std::string cell = CellText(table, row, column);
            std::replace_if(
                cell.begin(), cell.end(),
                [](char ch) { return ch == '\t' || ch == '\n' || ch == '\r'; }, '*');
            text += FromUtf8(cell);
            text += u'\t';
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

QByteArray CTableExport::HtmlText(const CTableInterface& table,
                                  std::span<const CExportColumn> columns)
{
    // The file is written in Windows-1252 (below) and says so; a viewer left to guess may
    // read it as UTF-8 and garble every accented letter.
    std::string html = "<HTML><HEAD><META HTTP-EQUIV=\"Content-Type\" "
                       "CONTENT=\"text/html; charset=windows-1252\"></HEAD>"
                       "<BODY BGCOLOR=White>\r\n\r\n"
                       "<TABLE CELLSPACING=2 CELLPADDING=2 BORDER=2>\r\n"
                       "  <TR BGCOLOR=#C0C0C0>\r\n";
    for (const CExportColumn& column : columns)
        html += "    <TH>" + EscapeHtml(column.strTitle) + "</TH>\r\n";
    const int rows = table.GetRowCount();
    for (int row = 0; row < rows; ++row) {
        html += "  <TR>\r\n";
        for (const CExportColumn& column : columns)
            html += "    <TD>" + EscapeHtml(CellText(table, row, column)) + "</TD>\r\n";
        html += "  </TR>\r\n";
    }
    html += "</TABLE>\r\n</BODY></HTML>";
    return ToWindows1252(FromUtf8(html));
}

std::string CTableExport::EscapeHtml(std::string_view text)
{
    if (IsBlank(text))
        return "&nbsp;";
    std::string escaped;
    escaped.reserve(text.size());
    for (const char ch : text) {
        switch (ch) {
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '&':
            escaped += "&amp;";
            break;
        case '\r':
        case '\n':
            break;
        default:
            escaped += ch;
            break;
        }
    }
    return escaped;
}

QString CTableExport::DefaultHtmlFileName(const QString& windowText)
{
    QString name = windowText;
    name.replace(u':', u'_');
    return name + QStringLiteral(".html");
}

bool CTableExport::WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size() && file.flush();
}

QByteArray CTableExport::ToWindows1252(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            bytes.append('?');
            ++i;
            continue;
        }
        bytes.append(ToCodePage(ch.unicode()));
    }
    return bytes;
}

} // namespace Lattix
