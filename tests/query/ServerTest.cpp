#include "query/Server.h"

#include "net/SockUDP.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

using namespace std::string_view_literals;

namespace {

constexpr std::string_view kHeader = "\xFF\xFF\xFF\xFFstatusResponse\n";

CServer Parsed(std::string_view body)
{
    CServer server(CSockAddr("10.0.0.1:27960"));
    server.Reset();
    server.ParseStatus(std::string(kHeader) + std::string(body));
    return server;
}

std::string FirstPlayer(std::string_view players)
{
    const CServer server = Parsed("\\a\\b\n" + std::string(players));
    return server.players.empty() ? "<none>" : server.players[0].name;
}

constexpr std::int64_t Millis(std::int64_t ms)
{
    return ms * 1'000'000; // counter readings are nanoseconds
}

} // namespace

TEST(StatusParseTest, ValuesAndRepeatedKeys)
{
    const CServer server = Parsed("\\sv_hostname\\First\\sv_hostname\\Second\\g_friendlyfire\\abc"
                                  "\\sv_maxclients\\ 24 slots\\g_gametype\\99999999999"
                                  "\\mod_url\\\xC4X\\SV_PUNKBUSTER\\-1\\G_NEEDPASS\\1"
                                  "\\sv_privateClients\\4\n");
    EXPECT_EQ(server.name, "Second"); // the later value; both pairs are kept
    EXPECT_EQ(server.vars.size(), 9u);
    EXPECT_FALSE(server.friendlyFire);
    EXPECT_EQ(server.maxClients, 24);
    EXPECT_EQ(server.gameType, 2147483647);
    EXPECT_EQ(server.modUrl, "\xC4x");              // bytes above 7F stay as they are
    EXPECT_TRUE(server.punkBuster);                 // a key in capitals, and -1 is not 0
    EXPECT_EQ(server.vars[6].key, "SV_PUNKBUSTER"); // vars keep the case
    EXPECT_TRUE(server.needPass);
    EXPECT_EQ(server.privateClients, 4);
}

TEST(StatusParseTest, PlayerNames)
{
    EXPECT_EQ(FirstPlayer("5 48 \"a\\b\"\n"), "a\\b");
    EXPECT_EQ(FirstPlayer("5 48 \"  spaced \t\"\r\n"), "spaced");
    EXPECT_EQ(FirstPlayer("  7   9   \"x\"\n"), "x");
    EXPECT_EQ(FirstPlayer("1 2 \"x^\"y\"\n"), "xy");      // a colour code may hide a quote
    EXPECT_EQ(FirstPlayer("1 2 \"p^"), "p");              // a caret as the last byte
    EXPECT_EQ(FirstPlayer("1 2 \"open\nnext\n"), "open"); // a line feed ends even quotes
    const CServer numbers = Parsed("\\a\\b\n4294967297 - \"x\"\n+5 \t6 \"y\"\n");
    ASSERT_EQ(numbers.players.size(), 2u);
    EXPECT_EQ(numbers.players[0].score, 1); // 32-bit wrapping
    EXPECT_EQ(numbers.players[0].ping, 0);  // a lone minus reads as 0
    EXPECT_EQ(numbers.players[1].score, 0); // no plus sign, and blanks are spaces only
    EXPECT_EQ(numbers.players[1].name, "+5 \t6 y");
    // An unquoted backslash ends the name and the whole player section.
    EXPECT_EQ(Parsed("\\a\\b\n1 2 left\\right\n3 4 \"next\"\n").players.size(), 1u);
    EXPECT_EQ(FirstPlayer("1 2 left\\right\n"), "left");
    // A last line without a line feed still counts.
    EXPECT_EQ(Parsed("\n0 50 \"a\"\n1 60 \"b\"").players.size(), 2u);
}

TEST(StatusParseTest, MalformedRepliesKeepWhatWasReadAndHostileOnesStayBounded)
{
    EXPECT_TRUE(Parsed("").vars.empty());
    CServer server(CSockAddr("10.0.0.1:1"));
    server.ParseStatus("\xFF\xFF\xFF\xFFstatusResponse\\sv_hostname\\x"); // no line feed
    EXPECT_TRUE(server.vars.empty());
    EXPECT_EQ(server.name, "10.0.0.1:1");

    server = Parsed("\\sv_hostname\\Kept\\lonely_key\n1 2 \"p\"\n");
    EXPECT_EQ(server.name, "Kept");
    EXPECT_EQ(server.vars.size(), 1u); // the key without a value is not stored
    EXPECT_TRUE(server.players.empty());
    EXPECT_TRUE(Parsed("3 4 \"c\"\n").players.empty()); // taken for a broken infostring

    server = Parsed("\\sv_hostname\\ab\0cd\\mapname\\m\n"sv); // a zero byte ends the text
    EXPECT_EQ(server.name, "ab");
    EXPECT_TRUE(server.map.empty());
    server = Parsed("\\sv_hostname\\name^");
    EXPECT_EQ(server.name, "name");
    server = Parsed("\\sv_hostname\\x^\ny\\mapname\\m\n"); // a caret swallows a line feed
    EXPECT_EQ(server.name, "xy");
    EXPECT_EQ(server.map, "m");

    // 64 KiB of empty pairs or of bare line feeds must not become tens of thousands of
    // entries; keys after the bound still fill their fields.
    const std::string pairs(2 * 32000, '\\');
    const CServer manyVars = Parsed(pairs.substr(0, pairs.size() - 2) + "\\g_gametype\\5\n");
    EXPECT_EQ(manyVars.vars.size(), kMaxVarsPerRecord);
    EXPECT_EQ(manyVars.gameType, 5);

    const CServer manyPlayers = Parsed("\\g_gametype\\5\n" + std::string(65000, '\n'));
    EXPECT_EQ(manyPlayers.players.size(), kMaxPlayersPerRecord);
    EXPECT_GE(kMaxPlayersPerRecord, 4 * 64u); // far above the game's 64 client slots

    // Colour codes and open quotes over a whole datagram.
    EXPECT_TRUE(Parsed("\\sv_hostname\\\"" + std::string(65000, '^') + "\n").name.empty());
    EXPECT_EQ(Parsed("\\sv_hostname\\\"" + std::string(65000, 'n')).name.size(), 65000u);
}

TEST(StatusParseTest, NothingPastTheViewIsRead)
{
    // A cut view of a longer buffer parses like the cut bytes alone (in a buffer of their
    // own, so that AddressSanitizer sees any read past it).
    const std::string buffer =
        std::string(kHeader) + "\\sv_hostname\\abc^Zdef\\mapname\\m\n1 2 \"q^\"r\"\n";
    for (std::size_t cut = 0; cut <= buffer.size(); ++cut) {
        const std::vector<char> alone(buffer.begin(), buffer.begin() + static_cast<long>(cut));
        CServer fromView;
        fromView.ParseStatus(std::string_view(buffer).substr(0, cut));
        CServer fromCopy;
        fromCopy.ParseStatus(std::string_view(alone.data(), alone.size()));
        EXPECT_EQ(fromView.name, fromCopy.name) << cut;
        EXPECT_EQ(fromView.vars.size(), fromCopy.vars.size()) << cut;
        ASSERT_EQ(fromView.players.size(), fromCopy.players.size()) << cut;
        if (!fromView.players.empty()) {
            EXPECT_EQ(fromView.players[0].name, fromCopy.players[0].name) << cut;
        }
    }
}

// The retry rule over real sockets is driven by the stepped engine tests; this covers what a
// record does on its own.
TEST(ServerTest, RepliesCountOnlyBetweenARequestAndTheFinish)
{
    CServer server(CSockAddr("10.1.2.3:27960"));
    server.Reset();
    server.HandleReply("x\n\\g_gametype\\7\n", Millis(5)); // nothing sent: nothing to time by
    EXPECT_EQ(server.tries, 0);
    EXPECT_TRUE(server.vars.empty());

    server.tries = 3; // timed out
    server.HandleReply("x\n\\g_gametype\\7\n", Millis(5));
    EXPECT_EQ(server.ping, 9999);
    EXPECT_TRUE(server.vars.empty());

    server.tries = 999; // answered: only counts on, and sends nothing
    CSockUDP closed;
    EXPECT_FALSE(server.SendStatusRequest(closed, Millis(5000)));
    EXPECT_EQ(server.tries, 1000);
    EXPECT_TRUE(server.IsFinished());

    server.sendTime = Millis(1000); // milliseconds keep their low 32 bits
    EXPECT_EQ(server.ElapsedMs(Millis(1000 + (std::int64_t{1} << 32) + 5)), 5u);
}
