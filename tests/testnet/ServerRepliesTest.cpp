#include "testnet/ServerReplies.h"

#include <gtest/gtest.h>

#include <algorithm>

using testnet::CWorldServer;
using testnet::EHostileKind;

namespace {

const std::string kStatusHeader = "\xFF\xFF\xFF\xFFstatusResponse\n";

// A server with players (so that the player-line kinds have something to break), one of them
// with a backslash in the name.
CWorldServer Sample()
{
    CWorldServer server;
    server.index = 4;
    server.maxClients = 12;
    server.vars = {{"sv_hostname", "^1Red ^7Server"}, {"mapname", "mp_beach"}, {"g_gametype", "5"},
                   {"sv_maxclients", "12"},           {"g_friendlyFire", "1"}, {"gamename", "osp"}};
    server.players = {{"a\\b", 5, 48}, {"^3Neg", -3, 0}, {"bot", 0, 0}};
    return server;
}

std::size_t Count(const std::string& text, char c)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

} // namespace

TEST(ServerReplies, InfoCountsPublicSlotsAndEveryHostileKindBreaksTheFormatItsOwnWay)
{
    CWorldServer server = Sample();
    server.privateClients = 4;
    const std::string info = testnet::InfoReply(server, "abc");
    EXPECT_TRUE(info.starts_with("\xFF\xFF\xFF\xFFinfoResponse\n\\challenge\\abc\\protocol\\60"));
    for (const char* pair :
         {"\\hostname\\^1Red ^7Server\\", "\\mapname\\mp_beach\\", "\\clients\\3\\",
          "\\sv_maxclients\\8\\", "\\gametype\\5\\", "\\game\\osp\\"}) {
        EXPECT_NE(info.find(pair), std::string::npos) << pair;
    }
    EXPECT_EQ(Count(info, '\n'), 1u);

    const std::string regular = testnet::StatusReply(server);
    auto hostile = [&](EHostileKind kind) { return testnet::HostileReply(server, kind, 5); };

    const std::string cut = hostile(EHostileKind::CutOffLines);
    EXPECT_TRUE(regular.starts_with(cut));
    EXPECT_EQ(Count(cut, '\n'), 1u) << "cut inside the infostring";

    const std::string flat = hostile(EHostileKind::MissingLineFeeds);
    EXPECT_EQ(Count(flat, '\n'), 0u);
    EXPECT_EQ(flat.size(), regular.size() - Count(regular, '\n'));

    const std::string garbage = hostile(EHostileKind::GarbageBytes);
    EXPECT_TRUE(garbage.starts_with(kStatusHeader));
    EXPECT_GE(garbage.size(), kStatusHeader.size() + 200);
    EXPECT_EQ(garbage, hostile(EHostileKind::GarbageBytes)) << "deterministic";

    const std::string zeros = hostile(EHostileKind::ZeroBytes);
    EXPECT_GE(Count(zeros, '\0'), 3u);
    EXPECT_EQ(zeros.back(), '\0');

    const std::string huge = hostile(EHostileKind::HugeDatagram);
    EXPECT_EQ(huge.size(), testnet::kMaxUdpPayload);
    EXPECT_TRUE(huge.ends_with(regular.substr(regular.find('\n', kStatusHeader.size()))))
        << "the player lines survive after the padding";

    const std::string crowd = hostile(EHostileKind::ThousandsOfPlayers);
    EXPECT_GT(Count(crowd, '\n'), 2000u);
    EXPECT_LE(crowd.size(), testnet::kMaxUdpPayload);

    const std::string caret = hostile(EHostileKind::CaretAtEnd);
    EXPECT_EQ(caret.back(), '^');
    EXPECT_NE(caret[caret.size() - 2], '\n');

    const std::string quotes = hostile(EHostileKind::UnterminatedQuotes);
    EXPECT_NE(quotes.find("\\sv_hostname\\\""), std::string::npos);
    EXPECT_NE(quotes.find("3 42 \"Open^1Quote\n"), std::string::npos);

    // An info request gets the same damage under the info header.
    EXPECT_TRUE(testnet::HostileReply(server, EHostileKind::MissingLineFeeds, 5, true)
                    .starts_with("\xFF\xFF\xFF\xFFinfoResponse"));
    // Without players a caret at the end breaks the last value.
    server.players.clear();
    EXPECT_TRUE(
        testnet::HostileReply(server, EHostileKind::CaretAtEnd, 1).ends_with("\\gamename\\osp^"));
}
