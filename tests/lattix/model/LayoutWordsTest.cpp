#include "lattix/model/LayoutWords.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace Lattix;

struct Grid
{
    std::vector<std::string> titles;
    std::vector<CLayoutColumn> columns;
    std::vector<int> order;

    CWordArray Words() const { return CLayoutWords::Build(titles, columns, order); }
    bool Apply(const CWordArray& words)
    {
        return CLayoutWords::Apply(words, titles, columns, order);
    }
    bool operator==(const Grid& o) const
    {
        if (titles != o.titles || order != o.order || columns.size() != o.columns.size())
            return false;
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (columns[i].nWidth != o.columns[i].nWidth ||
                columns[i].bVisible != o.columns[i].bVisible)
                return false;
        return true;
    }
};

Grid ThreeColumns()
{
    return Grid{{"Name", "Ping", "Map"}, {{120, true}, {40, true}, {80, true}}, {0, 1, 2}};
}

// Untitled (data) columns keep their visibility; when every column would be hidden the
// first in display order stays visible.
TEST(LayoutWordsTest, ApplyKeepsDataColumnsAndOneVisibleColumnAndStoredBytesAreLittleEndianWords)
{
    Grid data{{"Name", ""}, {{80, true}, {0, true}}, {0, 1}};
    ASSERT_TRUE(data.Apply(Grid{{"Name", ""}, {{80, false}, {0, false}}, {0, 1}}.Words()));
    EXPECT_FALSE(data.columns[0].bVisible);
    EXPECT_TRUE(data.columns[1].bVisible);

    Grid grid = ThreeColumns();
    grid.order = {2, 0, 1};
    CWordArray words = grid.Words();
    for (std::size_t i = 0; i < 3; ++i)
        words[5 + 4 * i] = 0;
    ASSERT_TRUE(grid.Apply(words));
    EXPECT_TRUE(grid.columns[2].bVisible);
    EXPECT_FALSE(grid.columns[0].bVisible || grid.columns[1].bVisible);

    // A stored width of 0 becomes the width the column was added with, so it can be grabbed.
    grid.columns[1].nDefaultWidth = 60;
    words[3 + 4 * 1] = 0;
    ASSERT_TRUE(grid.Apply(words));
    EXPECT_EQ(grid.columns[1].nWidth, 60);

    Grid empty;
    EXPECT_EQ(empty.Words(), (CWordArray{2, 0, 0}));
    EXPECT_TRUE(empty.Apply({2, 0, 0}));

    // Stored as little-endian words; a short stored value leaves the remaining words. (A layout
    // stored and read back by the window is checked in MainDlgTest.)
    EXPECT_EQ(CLayoutWords::ToBytes(CWordArray{0x0109, 2}), QByteArray("\x09\x01\x02\x00", 4));
    CWordArray few{1, 2, 3, 4};
    CLayoutWords::ReadBytesOver(few, QByteArray("\x09\x01\x05", 3)); // one whole word
    EXPECT_EQ(few, (CWordArray{0x0109, 2, 3, 4}));
    CLayoutWords::ReadBytesOver(few, QByteArray(20, '\x01')); // extra bytes ignored
    EXPECT_EQ(few, (CWordArray{0x0101, 0x0101, 0x0101, 0x0101}));
}

TEST(LayoutWordsTest, ForeignWordsByTheTitlesChecksumOrDamagedOnesChangeNothing)
{
    Grid saved = ThreeColumns();
    saved.order = {1, 2, 0};
    const CWordArray good = saved.Words();

    const std::vector<std::pair<const char*, std::function<void(CWordArray&)>>> damages = {
        {"empty", [](CWordArray& w) { w.clear(); }},
        {"two words", [](CWordArray& w) { w.resize(2); }},
        {"other version", [](CWordArray& w) { w[0] = 1; }},
        {"other titles", [](CWordArray& w) { ++w[1]; }},
        {"other count", [](CWordArray& w) { w[2] = 2; }},
        {"cut short", [](CWordArray& w) { w.pop_back(); }},
        {"header only", [](CWordArray& w) { w.resize(3); }},
        {"width beyond any column", [](CWordArray& w) { w[3 + 4] = 4097; }},
        {"huge width", [](CWordArray& w) { w[3] = 65535; }},
        {"position past the end", [](CWordArray& w) { w[6 + 8] = 3; }},
        {"position twice", [](CWordArray& w) { w[6] = w[6 + 4]; }},
    };
    for (const auto& [name, damage] : damages) {
        CWordArray words = good;
        damage(words);
        Grid grid = ThreeColumns();
        grid.columns[2].bVisible = false;
        const Grid before = grid;
        EXPECT_FALSE(grid.Apply(words)) << name;
        EXPECT_TRUE(grid == before) << name;
    }

    // The largest width a column can have is accepted.
    CWordArray widest = good;
    widest[3] = CLayoutWords::kMaxWidth;
    Grid grid = ThreeColumns();
    EXPECT_TRUE(grid.Apply(widest));
    EXPECT_EQ(grid.columns[0].nWidth, CLayoutWords::kMaxWidth);

    // A renamed title is another grid.
    Grid renamed = ThreeColumns();
    renamed.titles[1] = "Latency";
    EXPECT_FALSE(renamed.Apply(good));

    // The titles' checksum reads bytes as signed and wraps around; their order counts.
    EXPECT_EQ(CLayoutWords::TitleChecksum(std::vector<std::string>{"", "", ""}), 0);
    EXPECT_EQ(CLayoutWords::TitleChecksum(std::vector<std::string>{"\xE4"}), 65536 - 28);
    std::uint32_t h = 0;
    for (int i = 0; i < 40; ++i)
        h = (h * 33 + 'z') % 65536;
    EXPECT_EQ(CLayoutWords::TitleChecksum(std::vector<std::string>{std::string(40, 'z')}), h);
    EXPECT_NE(CLayoutWords::TitleChecksum(std::vector<std::string>{"Ping", "Map"}),
              CLayoutWords::TitleChecksum(std::vector<std::string>{"Map", "Ping"}));
}

} // namespace
