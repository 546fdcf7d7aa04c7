#include "lattix/view/TableExport.h"

#include "lattix/model/Table.h"
#include "lattix/view/BoolCol.h"
#include "lattix/view/IntCol.h"
#include "lattix/view/StringCol.h"
#include "lattix/view/TextFlags.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace Lattix;

// A grid's model with a name, a ping and a PunkBuster column, and their renderers.
class TableExportTest : public ::testing::Test
{
protected:
    TableExportTest()
    {
        const CStringCol names(TextFlags::kLeft);
        const CIntCol pings(TextFlags::kRight);
        const CBoolCol punkbuster(TextFlags::kCentred, "yes", "no", true);
        for (const CColDef* def :
             {static_cast<const CColDef*>(&names), static_cast<const CColDef*>(&pings),
              static_cast<const CColDef*>(&punkbuster)}) {
            m_table.AddColumn(def->CreateFactory(), def->CreateCompare());
            m_outputs.push_back(def->CreateOutput());
        }
        m_table.CreateRowLayout();
    }

    void AddRow(const char* name, int ping, bool pb)
    {
        CRowData* row = m_table.AddRow();
        row->GetCell(0)->Set(name);
        row->GetCell(1)->Set(ping);
        row->GetCell(2)->Set(pb);
    }

    // Visible columns in display order.
    std::vector<CExportColumn> Columns(std::initializer_list<int> cols)
    {
        static const char* const titles[] = {"Name", "Ping", "PB"};
        std::vector<CExportColumn> result;
        for (const int col : cols)
            result.push_back({col, m_outputs[static_cast<std::size_t>(col)].get(), titles[col]});
        return result;
    }

    CTable m_table;
    std::vector<std::unique_ptr<CCellOutput>> m_outputs;
};

// (The clipboard texts are checked through the grid in TableCtrlTest.)
TEST_F(TableExportTest, HtmlByteForByte)
{
    AddRow("<Axis> & Allies", 48, true);
    AddRow("   ", -1, false);
    AddRow("M\xC3\xBCller \xE2\x82\xAC \xE4\xB8\xAD\xF0\x9F\x98\x80", 1234,
           true);             // Müller € CJK emoji
    m_table.MarkRow(1, true); // marks do not matter

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
                                QByteArray::fromStdString(m_outputs[1]->GetText(CDInt(1234))) +
                                "</TD>\r\n"
                                "  </TR>\r\n"
                                "</TABLE>\r\n"
                                "</BODY></HTML>";
    EXPECT_EQ(CTableExport::HtmlText(m_table, Columns({2, 0, 1})), expected);

    // Without rows: the title row and the end.
    CTable empty;
    const QByteArray none = CTableExport::HtmlText(empty, {});
    EXPECT_EQ(none, expected.left(expected.indexOf("    <TH>")) + "</TABLE>\r\n</BODY></HTML>");
}

// Markup is escaped, empty cells stay bordered, no-break spaces of every width become the code
// page's no-break space (French locales group digits with U+202F), and a file is written whole
// under its default name.
TEST(HtmlTextTest, EscapedInTheCodePageAndWrittenWholeUnderItsName)
{
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
