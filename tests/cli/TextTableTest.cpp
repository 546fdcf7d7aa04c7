#include "cli/TextTable.h"

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

TEST(TextTableTest, AlignsColumnsToTheWidestCell)
{
    CTextTable table({{"Name", Align::Left}, {"N", Align::Right}, {"Flag", Align::Center}});
    table.AddRow({"alpha", "5", "yes"});
    table.AddRow({"b", "1234", "no"});
    EXPECT_EQ(Render(table), "Name      N  Flag\n"
                             "-----  ----  ----\n"
                             "alpha     5  yes\n"
                             "b      1234   no\n");
    EXPECT_EQ(table.RowCount(), 2u);
}

TEST(TextTableTest, NonAsciiTextCountsByCharacter)
{
    CTextTable table({{"A", Align::Left}, {"B", Align::Left}});
    table.AddRow({"\xC3\xA9\xC3\xA9", "x"}); // two characters, four bytes
    table.AddRow({"abc", "y"});
    EXPECT_EQ(Render(table), "A    B\n"
                             "---  -\n"
                             "\xC3\xA9\xC3\xA9   x\n"
                             "abc  y\n");
}

TEST(TextTableTest, ControlCharactersCannotBreakTheLayout)
{
    CTextTable table({{"A", Align::Left}, {"B", Align::Left}});
    table.AddRow({"a\tb\x1B", "\r\n"});
    EXPECT_EQ(Render(table), "A     B\n"
                             "----  --\n"
                             "a\xEF\xBF\xBD"
                             "b\xEF\xBF\xBD  \xEF\xBF\xBD\xEF\xBF\xBD\n");
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

TEST(TextTableTest, ShortRowsArePaddedAndLongRowsCut)
{
    CTextTable table({{"A", Align::Left}, {"B", Align::Right}});
    table.AddRow({"only"});
    table.AddRow({"x", "y", "ignored"});
    EXPECT_EQ(Render(table), "A     B\n"
                             "----  -\n"
                             "only\n"
                             "x     y\n");
}

} // namespace
