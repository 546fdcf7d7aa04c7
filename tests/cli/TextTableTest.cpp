#include "cli/TextTable.h"

#include <gtest/gtest.h>

#include <sstream>

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

TEST(TextTableTest, EmptyTableHasTitlesAndRule)
{
    CTextTable table({{"Variable", Align::Left}, {"Value", Align::Left}});
    EXPECT_EQ(Render(table), "Variable  Value\n--------  -----\n");
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
