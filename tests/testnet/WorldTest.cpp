#include "testnet/World.h"
#include "testnet/ServerReplies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <set>

using testnet::CTestNetOptions;
using testnet::CWorld;
using testnet::CWorldServer;
using testnet::EBehaviour;
using testnet::EHostileKind;

namespace {

CWorld Make(std::vector<std::string> args)
{
    return CWorld::Generate(CTestNetOptions::Parse(args));
}

int IntVar(const CWorldServer& server, std::string_view key)
{
    const std::string_view text = server.Var(key);
    int value = -1;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool SameContents(const CWorldServer& a, const CWorldServer& b)
{
    return a.protocol == b.protocol && a.behaviour == b.behaviour && a.vars == b.vars &&
           a.players.size() == b.players.size() &&
           std::equal(a.players.begin(), a.players.end(), b.players.begin(),
                      [](const auto& p, const auto& q) {
                          return p.name == q.name && p.score == q.score && p.ping == q.ping;
                      });
}

} // namespace

TEST(World, TheSeedDecidesTheWorldAndSpecialServersComeInExactNumbers)
{
    const auto seeded = [](const char* seed) {
        return Make({"--count", "300", "--seed", seed, "--other-protocols", "20", "--silent", "9"});
    };
    const CWorld a = seeded("7");
    const CWorld b = seeded("7");
    const CWorld other = seeded("8");
    ASSERT_EQ(a.servers.size(), 300u);
    int differing = 0;
    for (std::size_t i = 0; i < a.servers.size(); ++i) {
        EXPECT_TRUE(SameContents(a.servers[i], b.servers[i])) << i;
        differing += SameContents(a.servers[i], other.servers[i]) ? 0 : 1;
    }
    EXPECT_GT(differing, 250);

    // A larger world keeps what the smaller one had.
    const CWorld small = Make({"--count", "50", "--seed", "7"});
    const CWorld large = Make({"--count", "500", "--seed", "7"});
    for (std::size_t i = 0; i < small.servers.size(); ++i)
        EXPECT_TRUE(SameContents(small.servers[i], large.servers[i])) << i;

    const CWorld world = Make({"--count", "200", "--other-protocols", "25", "--silent", "5",
                               "--resend-only", "4", "--hostile", "11", "--duplicates", "3"});
    std::map<EBehaviour, int> behaviours;
    std::map<int, int> protocols;
    std::vector<EHostileKind> kinds;
    for (const auto& server : world.servers) {
        ++behaviours[server.behaviour];
        ++protocols[server.protocol];
        if (server.behaviour != EBehaviour::Normal) {
            EXPECT_EQ(server.protocol, 60) << "special servers run the main protocol";
        }
        if (server.behaviour == EBehaviour::Hostile)
            kinds.push_back(server.hostileKind);
        EXPECT_EQ(server.Var("protocol"), std::to_string(server.protocol));
    }
    EXPECT_EQ(behaviours[EBehaviour::Silent], 5);
    EXPECT_EQ(behaviours[EBehaviour::ResendOnly], 4);
    EXPECT_EQ(behaviours[EBehaviour::Hostile], 11);
    EXPECT_EQ(behaviours[EBehaviour::Duplicates], 3);
    EXPECT_EQ(protocols[60], 150);
    EXPECT_EQ(protocols[57] + protocols[58] + protocols[59], 50);
    EXPECT_GT(protocols[57] * protocols[58] * protocols[59], 0);
    // Hostile kinds in turn, so that eight hostile servers show every kind.
    for (std::size_t i = 0; i < kinds.size(); ++i)
        EXPECT_EQ(static_cast<int>(kinds[i]), static_cast<int>(i % testnet::kHostileKindCount));

    // Other protocols never include the main one.
    for (const auto& server :
         Make({"--count", "60", "--protocol", "58", "--other-protocols", "100"}).servers)
        EXPECT_NE(server.protocol, 58);
}

TEST(World, LooksLikeTheRealGame)
{
    // Every field a browser shows, texts that never break the reply format, and the odd
    // values (bots, negative scores, colours, high bytes, backslashes) parsers must meet.
    // A master counts public slots, a browser all slots (players >= sv_maxclients); the
    // world never puts a server between the two.
    std::set<int> gameTypes;
    std::set<std::string> mods;
    std::string names;
    bool negativeScore = false, bot = false, privateSlots = false;
    int full = 0;
    int empty = 0;
    for (const auto& server : Make({"--count", "3000", "--seed", "11"}).servers) {
        const int players = static_cast<int>(server.players.size());
        EXPECT_EQ(server.Full(), players >= IntVar(server, "sv_maxclients")) << server.index;
        EXPECT_LE(players, server.maxClients);
        EXPECT_EQ(server.Var("sv_privateClients"), std::to_string(server.privateClients));
        full += server.Full() ? 1 : 0;
        empty += server.Empty() ? 1 : 0;
        for (const char* key : {"sv_hostname", "mapname", "g_gametype", "sv_maxclients",
                                "g_friendlyFire", "g_maxlives", "sv_punkbuster", "gamename",
                                "protocol", "version", "sv_privateClients", "g_needpass"})
            EXPECT_FALSE(server.Var(key).empty()) << key;
        EXPECT_TRUE(server.Var("mapname").starts_with("mp_") ||
                    server.Var("mapname").starts_with("te_"));
        gameTypes.insert(IntVar(server, "g_gametype"));
        mods.insert(std::string(server.Var("mod_url")));
        privateSlots |= server.privateClients > 0;
        for (const auto& [key, value] : server.vars)
            EXPECT_EQ((key + value).find_first_of(std::string("\\\n\"\0", 4)), std::string::npos);
        for (const auto& player : server.players) {
            negativeScore |= player.score < 0;
            bot |= player.ping == 0;
            names += player.name;
            EXPECT_EQ(player.name.find_first_of(std::string("\n\"\0", 3)), std::string::npos);
        }
    }
    EXPECT_EQ(gameTypes, (std::set<int>{0, 4, 5, 6, 7, 8})) << "0, 4, 8: rare servers";
    for (const char* url : {"", "http://www.orangesmoothie.org", "http://www.banimod.net"})
        EXPECT_TRUE(mods.contains(url)) << url;
    EXPECT_TRUE(negativeScore && bot && privateSlots);
    EXPECT_GT(full, 150);
    EXPECT_GT(empty, 500);
    EXPECT_TRUE(names.find('\\') != std::string::npos && names.find('^') != std::string::npos);
    EXPECT_TRUE(std::any_of(names.begin(), names.end(),
                            [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
}
