#include "cli/TextTable.h"
#include "cli/TerminalText.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

using Align = CTextTable::Align;

std::string Render(const CTextTable& table)
{
    std::ostringstream out;
    table.Write(out);
    return out.str();
}

TEST(TextTableTest, LaysOutColumnsByCharacterWidth)
{
    struct LayoutCase
    {
        std::vector<CTextTable::Column> columns;
        std::vector<std::vector<std::string>> rows;
        std::string text;
    };
    const LayoutCase cases[] = {
        // Aligned to the widest cell.
        {{{"Name", Align::Left}, {"N", Align::Right}, {"Flag", Align::Center}},
         {{"alpha", "5", "yes"}, {"b", "1234", "no"}},
         "Name      N  Flag\n-----  ----  ----\nalpha     5  yes\nb      1234   no\n"},
        // Two characters, four bytes.
        {{{"A", Align::Left}, {"B", Align::Left}},
         {{"\xC3\xA9\xC3\xA9", "x"}, {"abc", "y"}},
         "A    B\n---  -\n\xC3\xA9\xC3\xA9   x\nabc  y\n"},
        // Control characters cannot break the layout.
        {{{"A", Align::Left}, {"B", Align::Left}},
         {{"a\tb\x1B", "\r\n"}},
         "A     B\n----  --\na\xEF\xBF\xBD"
         "b\xEF\xBF\xBD  \xEF\xBF\xBD\xEF\xBF\xBD\n"},
        // Short rows are padded, long rows cut.
        {{{"A", Align::Left}, {"B", Align::Right}},
         {{"only"}, {"x", "y", "ignored"}},
         "A     B\n----  -\nonly\nx     y\n"},
    };
    for (const LayoutCase& c : cases) {
        CTextTable table(c.columns);
        for (const auto& row : c.rows)
            table.AddRow(row);
        EXPECT_EQ(Render(table), c.text);
        EXPECT_EQ(table.RowCount(), c.rows.size());
    }
}

TEST(TextTableTest, LongCellsAreCutWithAnEllipsis)
{
    // One huge name must not widen every line of the table.
    CTextTable table({{"A", Align::Left}, {"B", Align::Left}});
    table.AddRow({std::string(60000, 'n'), "x"});
    table.AddRow({std::string(CTextTable::kMaxCellWidth, 'f'), "y"});
    std::string accents;
    for (std::size_t i = 0; i < CTextTable::kMaxCellWidth + 5; ++i)
        accents += "\xC3\xA9";
    table.AddRow({accents, "z"});
    std::istringstream lines(Render(table));
    std::vector<std::string> got;
    for (std::string line; std::getline(lines, line);)
        got.push_back(line);
    ASSERT_EQ(got.size(), 5u);
    const std::string ellipsis = "\xE2\x80\xA6";
    EXPECT_EQ(got[2], std::string(CTextTable::kMaxCellWidth - 1, 'n') + ellipsis + "  x");
    EXPECT_EQ(got[3], std::string(CTextTable::kMaxCellWidth, 'f') + "  y");
    // Cut between characters, not inside one.
    EXPECT_EQ(got[4], accents.substr(0, 2 * (CTextTable::kMaxCellWidth - 1)) + ellipsis + "  z");
}

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(TerminalTextTest, TerminalSafeLeavesOneHarmlessCharacterPerByte)
{
    EXPECT_EQ(TerminalSafe("\x1B[31mred"), kReplacement + "[31mred");
    EXPECT_EQ(TerminalSafe(std::string("a\tb\r\0\x7F", 6)),
              "a" + kReplacement + "b" + kReplacement + kReplacement + kReplacement);
    EXPECT_EQ(TerminalSafe("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"), "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC");

    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const std::string safe = TerminalSafe(Cp1252ToUtf8(all));
    EXPECT_EQ(DisplayWidth(safe), 256u);
    for (char c : safe) {
        const auto byte = static_cast<unsigned char>(c);
        EXPECT_FALSE(byte < 0x20 || byte == 0x7F) << "control byte " << int(byte) << " left";
    }
}

} // namespace
