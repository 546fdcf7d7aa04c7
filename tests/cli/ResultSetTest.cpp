#include "cli/ResultSet.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

// Records as a scan leaves them; a deque keeps their addresses stable.
class ResultSetTest : public ::testing::Test
{
protected:
    CServer& Answered(std::string_view address, std::string name, int ping, int players,
                      int maxClients, int gameType = 5)
    {
        CServer& s = m_records.emplace_back(CSockAddr(address));
        s.tries = kAnsweredTries;
        s.name = std::move(name);
        s.ping = ping;
        s.gameType = gameType;
        s.maxClients = maxClients;
        for (int i = 0; i < players; ++i) {
            s.players.push_back({"player" + std::to_string(i), i, 10 * i});
        }
        return s;
    }
    std::vector<const CServer*> All() const
    {
        std::vector<const CServer*> all;
        for (const CServer& s : m_records) {
            all.push_back(&s);
        }
        return all;
    }
    static std::vector<std::string> Addresses(const CResultSet& set)
    {
        std::vector<std::string> out;
        for (const ServerRow& row : set.Servers()) {
            out.push_back(row.address);
        }
        return out;
    }

    std::deque<CServer> m_records;
};

TEST_F(ResultSetTest, ServersByPingThenNameThenAddress)
{
    // Map order (last octet first) differs from dotted order; equal pings and names must
    // still come out in dotted order.
    Answered("10.0.0.2:27960", "same", 50, 1, 8);
    Answered("10.0.1.1:27960", "same", 50, 1, 8);
    Answered("10.0.0.2:27959", "same", 50, 1, 8);
    Answered("10.0.0.9:1", "Beta", 50, 1, 8);
    Answered("10.0.0.8:1", "alpha", 50, 1, 8);
    Answered("10.0.0.7:1", "zulu", 7, 1, 8);
    Answered("10.0.0.6:1", "slow", 400, 1, 8);
    EXPECT_EQ(Addresses(CResultSet(All(), true, true)),
              (std::vector<std::string>{"10.0.0.7:1", "10.0.0.8:1", "10.0.0.9:1", "10.0.0.2:27959",
                                        "10.0.0.2:27960", "10.0.1.1:27960", "10.0.0.6:1"}));
}

TEST_F(ResultSetTest, PlayersByNameThenServerOrderThenReplyOrder)
{
    CServer& slow = Answered("10.0.0.1:1", "slow", 90, 0, 8);
    slow.players = {{"bob", 1, 0}, {"Alice", 2, 0}, {"carl", 3, 0}};
    CServer& fast = Answered("10.0.0.2:1", "fast", 10, 0, 8);
    fast.players = {{"alice", 4, 0}, {"Bob", 5, 0}, {"bob", 6, 0}};
    const CResultSet set(All(), true, true);
    std::vector<std::pair<std::string, int>> order;
    for (const PlayerListRow& row : set.Players()) {
        order.emplace_back(row.player->name + "@" + row.server->name, row.player->score);
    }
    EXPECT_EQ(order, (std::vector<std::pair<std::string, int>>{{"alice@fast", 4},
                                                               {"Alice@slow", 2},
                                                               {"Bob@fast", 5},
                                                               {"bob@fast", 6},
                                                               {"bob@slow", 1},
                                                               {"carl@slow", 3}}));
}

TEST_F(ResultSetTest, RowsAreDecodedAndInfoIsSortedByKey)
{
    CServer& s = Answered("10.0.0.1:27960", "Caf\xE9 \x80", 33, 0, 12);
    s.modUrl = "http://www.orangesmoothie.org/shrub";
    s.players = {{"J\xF6rg", -2, 70}};
    s.vars = {{"sv_hostname", "Caf\xE9"}, {"Zeta", "1"}, {"alpha", "2"}, {"ZETA", "3"}};

    const ServerRow row = CResultSet::MakeRow(s);
    EXPECT_EQ(row.name, "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(row.mod, "OSP");
    EXPECT_EQ(row.players.at(0).name, "J\xC3\xB6rg");
    EXPECT_EQ(row.vars.at(1).key, "Zeta") << "reply order";
    // A listing without players and variables still counts the players.
    const ServerRow bare = CResultSet::MakeRow(s, RowDetail{false, false});
    EXPECT_TRUE(bare.players.empty() && bare.vars.empty());
    EXPECT_EQ(bare.playerCount, 1u);

    // The info view sorts by key, letter case ignored, equal keys in reply order.
    std::vector<std::string> keys;
    for (const VarRow& var : CResultSet::MakeInfoRow(s).vars) {
        keys.push_back(var.key + "=" + var.value);
    }
    EXPECT_EQ(keys,
              (std::vector<std::string>{"alpha=2", "sv_hostname=Caf\xC3\xA9", "Zeta=1", "ZETA=3"}));
}

} // namespace
