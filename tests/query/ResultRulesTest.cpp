#include "query/ResultRules.h"

#include <gtest/gtest.h>

namespace {

CServer WithPlayers(int players, int maxClients)
{
    CServer server(CSockAddr("1.2.3.4:27960"));
    server.players.resize(static_cast<std::size_t>(players));
    server.maxClients = maxClients;
    return server;
}

} // namespace

TEST(ResultRulesTest, ModNamesFiltersAndPlayersText)
{
    EXPECT_EQ(ModName("http://shrub.example/orangesmoothie"), "OSP");
    EXPECT_EQ(ModName("http://www.shrubmod.com"), "Shrub");
    EXPECT_EQ(ModName("http://www.banimod.net"), "Bani");
    EXPECT_EQ(ModName("soff.de"), "Soff?");
    EXPECT_EQ(ModName("http://other.mod"), "http://other.mod");
    EXPECT_EQ(ModName(""), "");

    EXPECT_FALSE(PassesFilter(WithPlayers(0, 16), false, false));
    EXPECT_FALSE(PassesFilter(WithPlayers(16, 16), false, false));
    EXPECT_FALSE(PassesFilter(WithPlayers(17, 16), false, false));
    EXPECT_TRUE(PassesFilter(WithPlayers(5, 16), false, false));
    EXPECT_TRUE(PassesFilter(WithPlayers(0, 16), true, false));
    EXPECT_TRUE(PassesFilter(WithPlayers(16, 16), false, true));
    EXPECT_TRUE(PassesFilter(WithPlayers(5, -1), false, false)); // unsigned: never full

    // A server that never answered is both empty and full, and never gets rows.
    const CServer silent(CSockAddr("1.2.3.4:27960"));
    EXPECT_FALSE(PassesFilter(silent, true, false));
    EXPECT_FALSE(PassesFilter(silent, false, true));
    EXPECT_TRUE(PassesFilter(silent, true, true));
    EXPECT_FALSE(HasRows(silent));
    CServer answered = WithPlayers(5, 16);
    answered.gameType = 5;
    EXPECT_TRUE(HasRows(answered));
    EXPECT_EQ(PlayersText(answered), "5/16");
    EXPECT_EQ(PlayersText(WithPlayers(3, -2)), "3/-2");
}
