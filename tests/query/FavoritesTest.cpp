#include "query/Favorites.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <unistd.h>

#include <fstream>

TEST(FavoritesTest, LinesSplitAtTabsWithMissingFieldsEmpty)
{
    FavoriteLine line = ParseFavoriteLine("1.2.3.4:27960\tName\tpw\tignored\tmore\r\n");
    EXPECT_EQ(line.address, "1.2.3.4:27960");
    EXPECT_EQ(line.name, "Name");
    EXPECT_EQ(line.password, "pw");
    line = ParseFavoriteLine("1.2.3.4:27960\r");
    EXPECT_EQ(line.address, "1.2.3.4:27960");
    EXPECT_EQ(line.name, "");
    EXPECT_EQ(line.password, "");
    line = ParseFavoriteLine("a\tb\rc\tpw "); // only the line end is removed
    EXPECT_EQ(line.name, "b\rc");
    EXPECT_EQ(line.password, "pw ");
}

TEST(FavoritesTest, ScanGetsOneRecordPerAddress)
{
    char folder[] = "/tmp/farsighter-favorites-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::filesystem::path file = std::filesystem::path(folder) / "favorites.dat";
    std::ofstream(file, std::ios::binary) << "1.2.3.4:27960\tFirst\tpw1\r\n"
                                             "5.6.7.8:27961\tSecond\r\n"
                                             "1.2.3.4:27960\tReplaced\tpw2\tjunk\n"
                                             "not an address\tBroken\n"
                                             "localhost:27962\tLocal\t"; // no line end
    CServerMap map;
    map.insert_or_assign(CSockAddr("8.8.8.8:8"), CServer(CSockAddr("8.8.8.8:8")));
    LoadFavoritesForScan(file, map);
    std::filesystem::remove_all(folder);

    ASSERT_EQ(map.size(), 4u); // the earlier content is gone
    EXPECT_EQ(map.at(CSockAddr("1.2.3.4:27960")).name, "Replaced");
    EXPECT_EQ(map.at(CSockAddr("1.2.3.4:27960")).password, "pw2");
    EXPECT_EQ(map.at(CSockAddr("5.6.7.8:27961")).password, "");
    EXPECT_EQ(map.at(CSockAddr("127.0.0.1:27962")).name, "Local");
    // An address that does not parse is kept as the invalid address.
    EXPECT_EQ(map.at(CSockAddr(INADDR_NONE, 0)).name, "Broken");

    LoadFavoritesForScan(file, map); // the file is gone now
    EXPECT_TRUE(map.empty());
}
