#include "lattix/view/TableExport.h"

#include "lattix/model/Table.h"
#include "lattix/view/BoolCol.h"
#include "lattix/view/IntCol.h"
#include "lattix/view/StringCol.h"
#include "lattix/view/TextFlags.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <tuple>
#include <vector>

namespace {

using namespace Lattix;

// A grid's model with a name, a ping and a PunkBuster column, exported by its renderers
// (whose definitions are gone by then) with the columns in display order; marks do not
// matter. (The clipboard texts are checked through the grid in TableCtrlTest.)
TEST(TableExportTest, HtmlByteForByteEscapedInTheCodePageAndWrittenWholeUnderItsName)
{
    CTable table;
    std::vector<std::unique_ptr<CCellOutput>> outputs;
    {
        const CStringCol names(TextFlags::kLeft);
        const CIntCol pings(TextFlags::kRight);
        const CBoolCol punkbuster(TextFlags::kCentred, "yes", "no", true);
        for (const CColDef* def :
             std::initializer_list<const CColDef*>{&names, &pings, &punkbuster}) {
            table.AddColumn(def->CreateFactory(), def->CreateCompare());
            outputs.push_back(def->CreateOutput());
        }
    }
    table.CreateRowLayout();
    // The third name is "Müller", the euro sign, a CJK sign and an emoji.
    for (const auto& [name, ping, pb] : std::vector<std::tuple<const char*, int, bool>>{
             {"<Axis> & Allies", 48, true},
             {"   ", -1, false},
             {"M\xC3\xBCller \xE2\x82\xAC \xE4\xB8\xAD\xF0\x9F\x98\x80", 1234, true}}) {
        CRowData* row = table.AddRow();
        row->GetCell(0)->Set(name);
        row->GetCell(1)->Set(ping);
        row->GetCell(2)->Set(pb);
    }
    table.MarkRow(1, true);

    const QByteArray expected = "<HTML><HEAD><META HTTP-EQUIV=\"Content-Type\" "
                                "CONTENT=\"text/html; charset=windows-1252\"></HEAD>"
                                "<BODY BGCOLOR=White>\r\n"
                                "\r\n"
                                "<TABLE CELLSPACING=2 CELLPADDING=2 BORDER=2>\r\n"
                                "  <TR BGCOLOR=#C0C0C0>\r\n"
                                "    <TH>PB</TH>\r\n"
                                "    <TH>Name</TH>\r\n"
                                "    <TH>Ping</TH>\r\n"
                                "  <TR>\r\n"
                                "    <TD>yes</TD>\r\n"
                                "    <TD>&lt;Axis&gt; &amp; Allies</TD>\r\n"
                                "    <TD>48</TD>\r\n"
                                "  </TR>\r\n"
                                "  <TR>\r\n"
                                "    <TD>no</TD>\r\n"
                                "    <TD>&nbsp;</TD>\r\n"
                                "    <TD>-1</TD>\r\n"
                                "  </TR>\r\n"
                                "  <TR>\r\n"
                                "    <TD>yes</TD>\r\n"
                                "    <TD>M\xFCller \x80 ?"
                                "?</TD>\r\n"
                                "    <TD>" +
                                QByteArray::fromStdString(outputs[1]->GetText(CDInt(1234))) +
                                "</TD>\r\n"
                                "  </TR>\r\n"
                                "</TABLE>\r\n"
                                "</BODY></HTML>";
    const std::vector<CExportColumn> columns = {
        {2, outputs[2].get(), "PB"}, {0, outputs[0].get(), "Name"}, {1, outputs[1].get(), "Ping"}};
    EXPECT_EQ(CTableExport::HtmlText(table, columns), expected);

    // Without rows: the title row and the end.
    CTable empty;
    const QByteArray none = CTableExport::HtmlText(empty, {});
    EXPECT_EQ(none, expected.left(expected.indexOf("    <TH>")) + "</TABLE>\r\n</BODY></HTML>");

    // Markup is escaped, empty cells stay bordered, no-break spaces of every width become the
    // code page's no-break space (French locales group digits with U+202F), and a file is
    // written whole under its default name.
    EXPECT_EQ(CTableExport::EscapeHtml("a<b & c>d"), "a&lt;b &amp; c&gt;d");
    EXPECT_EQ(CTableExport::EscapeHtml("line\r\nbreak\n"), "linebreak");
    EXPECT_EQ(CTableExport::EscapeHtml("&amp;"), "&amp;amp;");
    EXPECT_EQ(CTableExport::EscapeHtml(""), "&nbsp;");
    EXPECT_EQ(CTableExport::EscapeHtml(" \t \r\n"), "&nbsp;");
    EXPECT_EQ(CTableExport::EscapeHtml(" x "), " x ");
    EXPECT_EQ(CTableExport::EscapeHtml("\"quoted\" 'text'"), "\"quoted\" 'text'");
    EXPECT_EQ(CTableExport::ToWindows1252(QString::fromUtf8("1\u202F234\u2009\u2007\u00A0x")),
              QByteArray("1\xA0"
                         "234\xA0\xA0\xA0x"));

    EXPECT_EQ(CTableExport::DefaultHtmlFileName(QStringLiteral("Lattix")),
              QStringLiteral("Lattix.html"));
    EXPECT_EQ(CTableExport::DefaultHtmlFileName(QStringLiteral("Servers: 10:30")),
              QStringLiteral("Servers_ 10_30.html"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grid.html"));
    ASSERT_TRUE(CTableExport::WriteFile(path, QByteArray("first version, longer")));
    ASSERT_TRUE(CTableExport::WriteFile(path, QByteArray("a\r\nb")));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("a\r\nb")); // truncated, bytes unchanged

    EXPECT_FALSE(CTableExport::WriteFile(dir.filePath(QStringLiteral("missing/grid.html")),
                                         QByteArray("x")));
}

} // namespace
