#include "query/Favorites.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

using namespace std::string_literals;

namespace {

// A favorites file in a fresh temporary folder, removed afterwards.
class FavoritesFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/farsighter-favorites-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_folder = pattern;
        file = m_folder / "favorites.dat";
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    void Write(const std::string& content)
    {
        std::ofstream out(file, std::ios::binary);
        out << content;
    }

    std::filesystem::path file;

private:
    std::filesystem::path m_folder;
};

} // namespace

TEST(FavoriteLineTest, SplitsAtTabsWithMissingFieldsEmpty)
{
    FavoriteLine line = ParseFavoriteLine("1.2.3.4:27960\tMy Server\tsecret");
    EXPECT_EQ(line.address, "1.2.3.4:27960");
    EXPECT_EQ(line.name, "My Server");
    EXPECT_EQ(line.password, "secret");

    line = ParseFavoriteLine("1.2.3.4:27960\tName\tpw\tignored\tmore\r\n");
    EXPECT_EQ(line.password, "pw");

    line = ParseFavoriteLine("1.2.3.4:27960\r");
    EXPECT_EQ(line.address, "1.2.3.4:27960");
    EXPECT_EQ(line.name, "");
    EXPECT_EQ(line.password, "");

    line = ParseFavoriteLine("a\t\tc\r\n");
    EXPECT_EQ(line.name, "");
    EXPECT_EQ(line.password, "c");

    line = ParseFavoriteLine("");
    EXPECT_EQ(line.address, "");

    // Only the line end is removed: a carriage return inside a field stays.
    line = ParseFavoriteLine("a\tb\rc\tpw ");
    EXPECT_EQ(line.name, "b\rc");
    EXPECT_EQ(line.password, "pw ");
}

TEST_F(FavoritesFileTest, OneRecordPerLineWithNameAndPassword)
{
    Write("1.2.3.4:27960\tFirst\tpw1\r\n"
          "5.6.7.8:27961\tSecond\r\n"
          "9.9.9.9:1\n"
          "1.2.3.4:27960\tReplaced\tpw2\tjunk\n"
          "localhost:27962\tLocal\t"); // the last line has no line end
    CServerMap map;
    map.insert_or_assign(CSockAddr("8.8.8.8:8"), CServer(CSockAddr("8.8.8.8:8")));
    LoadFavoritesForScan(file, map);

    ASSERT_EQ(map.size(), 4u);
    EXPECT_EQ(map.count(CSockAddr("8.8.8.8:8")), 0u); // the map was cleared first
    const CServer& replaced = map.at(CSockAddr("1.2.3.4:27960"));
    EXPECT_EQ(replaced.name, "Replaced");
    EXPECT_EQ(replaced.password, "pw2");
    EXPECT_EQ(map.at(CSockAddr("5.6.7.8:27961")).name, "Second");
    EXPECT_EQ(map.at(CSockAddr("5.6.7.8:27961")).password, "");
    EXPECT_EQ(map.at(CSockAddr("9.9.9.9:1")).name, ""); // an empty name stays empty
    EXPECT_EQ(map.at(CSockAddr("127.0.0.1:27962")).name, "Local");
    EXPECT_EQ(map.at(CSockAddr("127.0.0.1:27962")).timeout, 1000u);
}

TEST_F(FavoritesFileTest, UnparsableAddressesAreKeptAsTheInvalidAddress)
{
    Write("not an address\tBroken\n");
    CServerMap map;
    LoadFavoritesForScan(file, map);
    ASSERT_EQ(map.size(), 1u);
    EXPECT_FALSE(map.begin()->first.IsValid());
    EXPECT_EQ(map.begin()->second.name, "Broken");
}

TEST_F(FavoritesFileTest, MissingFileGivesAnEmptyMap)
{
    CServerMap map;
    map.insert_or_assign(CSockAddr("8.8.8.8:8"), CServer(CSockAddr("8.8.8.8:8")));
    LoadFavoritesForScan(file, map);
    EXPECT_TRUE(map.empty());
}
