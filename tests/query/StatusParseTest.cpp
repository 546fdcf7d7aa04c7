#include "query/Server.h"
#include "query/StatusTokens.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

using namespace std::string_literals;
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

std::string Token(std::string_view text, std::size_t& pos)
{
    return ReadToken(text, pos);
}

} // namespace

TEST(StatusParseTest, ReadsATypicalReply)
{
    const CServer server = Parsed("\\sv_hostname\\^1Red ^7Server\\mapname\\mp_beach"
                                  "\\sv_maxclients\\16\\g_gametype\\5\\g_friendlyfire\\1"
                                  "\\g_maxlives\\0\\sv_punkbuster\\0"
                                  "\\mod_url\\http://www.OrangeSmoothie.org\\gamename\\main\n"
                                  "12 48 \"^3Play^7er\"\n"
                                  "-3 0 \"Bot\"\n");
    EXPECT_EQ(server.name, "Red Server");
    EXPECT_EQ(server.map, "mp_beach");
    EXPECT_EQ(server.maxClients, 16);
    EXPECT_EQ(server.gameType, 5);
    EXPECT_TRUE(server.friendlyFire);
    EXPECT_EQ(server.maxLives, 0);
    EXPECT_FALSE(server.punkBuster);
    EXPECT_EQ(server.modUrl, "http://www.orangesmoothie.org");
    ASSERT_EQ(server.vars.size(), 9u);
    EXPECT_EQ(server.vars[0].key, "sv_hostname");
    EXPECT_EQ(server.vars[0].value, "Red Server");
    EXPECT_EQ(server.vars[7].value, "http://www.OrangeSmoothie.org"); // vars keep the case
    EXPECT_EQ(server.vars[8].key, "gamename");
    ASSERT_EQ(server.players.size(), 2u);
    EXPECT_EQ(server.players[0].name, "Player");
    EXPECT_EQ(server.players[0].score, 12);
    EXPECT_EQ(server.players[0].ping, 48);
    EXPECT_EQ(server.players[1].name, "Bot");
    EXPECT_EQ(server.players[1].score, -3);
    EXPECT_EQ(server.players[1].ping, 0);
}

TEST(StatusParseTest, HeaderOnlyAndMissingLineFeed)
{
    const CServer headerOnly = Parsed("");
    EXPECT_TRUE(headerOnly.vars.empty());
    EXPECT_TRUE(headerOnly.players.empty());

    CServer noLineFeed(CSockAddr("10.0.0.1:1"));
    noLineFeed.Reset();
    noLineFeed.ParseStatus("\xFF\xFF\xFF\xFFstatusResponse\\sv_hostname\\x");
    EXPECT_TRUE(noLineFeed.vars.empty());
    EXPECT_EQ(noLineFeed.name, "10.0.0.1:1");
    noLineFeed.ParseStatus("");
    EXPECT_TRUE(noLineFeed.vars.empty());
}

TEST(StatusParseTest, KeysMatchInAnyCaseAndRepeatedKeysTakeTheLaterValue)
{
    const CServer server = Parsed("\\SV_HOSTNAME\\First\\Mod_URL\\HTTP://Shrub.COM"
                                  "\\sv_hostname\\Second\n");
    EXPECT_EQ(server.name, "Second");
    EXPECT_EQ(server.modUrl, "http://shrub.com");
    ASSERT_EQ(server.vars.size(), 3u);
    EXPECT_EQ(server.vars[0].key, "SV_HOSTNAME");
    EXPECT_EQ(server.vars[2].key, "sv_hostname");
    // Bytes above 7F are left as they are when lower-casing.
    EXPECT_EQ(Parsed("\\mod_url\\\xC4X\n").modUrl, "\xC4x");
}

TEST(StatusParseTest, NumbersUseTheStandardConversion)
{
    EXPECT_FALSE(Parsed("\\g_friendlyfire\\abc\n").friendlyFire);
    EXPECT_TRUE(Parsed("\\sv_punkbuster\\-1\n").punkBuster);
    EXPECT_EQ(Parsed("\\sv_maxclients\\ 24 slots\n").maxClients, 24);
    EXPECT_EQ(Parsed("\\g_gametype\\99999999999\n").gameType, 2147483647);
    EXPECT_EQ(Parsed("\\g_maxlives\\\n").maxLives, 0);
}

TEST(StatusParseTest, PlayerNamesKeepQuotedBackslashesAndLoseWhiteSpace)
{
    EXPECT_EQ(Parsed("\\a\\b\n5 48 \"a\\b\"\n").players.at(0).name, "a\\b");
    EXPECT_EQ(Parsed("\\a\\b\n5 48 \"  spaced \t\"\r\n").players.at(0).name, "spaced");
    EXPECT_EQ(Parsed("\\a\\b\n  7   9   \"x\"\n").players.at(0).score, 7);
    // A colour code may hide a quote: ^" is dropped as a whole.
    EXPECT_EQ(Parsed("\\a\\b\n1 2 \"x^\"y\"\n").players.at(0).name, "xy");

    // An unquoted backslash ends the name and the whole player section.
    const CServer server = Parsed("\\a\\b\n1 2 left\\right\n3 4 \"next\"\n");
    ASSERT_EQ(server.players.size(), 1u);
    EXPECT_EQ(server.players[0].name, "left");
}

TEST(StatusParseTest, PlayersWithoutInfoPairs)
{
    // An empty infostring line, then players.
    const CServer server = Parsed("\n0 50 \"a\"\n1 60 \"b\"");
    EXPECT_TRUE(server.vars.empty());
    ASSERT_EQ(server.players.size(), 2u);
    EXPECT_EQ(server.players[1].name, "b"); // a last line without line feed still counts
    EXPECT_EQ(server.players[1].ping, 60);

    // Without the infostring line the player line is taken for a broken infostring.
    EXPECT_TRUE(Parsed("3 4 \"c\"\n").players.empty());
}

TEST(StatusParseTest, BrokenInfostringKeepsWhatWasReadAndReadsNoPlayers)
{
    CServer server = Parsed("\\sv_hostname\\Kept\\lonely_key\n1 2 \"p\"\n");
    EXPECT_EQ(server.name, "Kept");
    EXPECT_EQ(server.vars.size(), 1u); // the key without a value is not stored
    EXPECT_TRUE(server.players.empty());

    server = Parsed("\\mapname\\mp_ice garbage\\\n");
    EXPECT_EQ(server.map, "mp_ice garbage");
    server = Parsed("junk\\a\\b\n1 2 \"p\"\n");
    EXPECT_TRUE(server.vars.empty());
    EXPECT_TRUE(server.players.empty());
}

TEST(StatusParseTest, ZeroBytesAndCaretsAtTheEndStopReading)
{
    // The first zero byte ends the text.
    CServer server = Parsed("\\sv_hostname\\ab\0cd\\mapname\\m\n"sv);
    EXPECT_EQ(server.name, "ab");
    EXPECT_EQ(server.vars.size(), 1u);
    EXPECT_TRUE(server.map.empty());

    // A caret as the very last byte ends the token that holds it.
    server = Parsed("\\sv_hostname\\name^");
    EXPECT_EQ(server.name, "name");
    server = Parsed("\\a\\b\n1 2 \"p^");
    ASSERT_EQ(server.players.size(), 1u);
    EXPECT_EQ(server.players[0].name, "p");

    // A caret swallows a line feed or a backslash after it.
    server = Parsed("\\sv_hostname\\x^\ny\\mapname\\m\n");
    EXPECT_EQ(server.name, "xy");
    EXPECT_EQ(server.map, "m");
}

TEST(StatusParseTest, NothingPastTheViewIsRead)
{
    // Parsing a cut view of a longer buffer gives what parsing the cut bytes alone gives
    // (a copy of its own, so that AddressSanitizer sees any read past it).
    const std::string buffer =
        std::string(kHeader) + "\\sv_hostname\\abc^Zdef\\mapname\\m\n1 2 \"q^\"r\"\n";
    for (std::size_t cut = 0; cut <= buffer.size(); ++cut) {
        const std::vector<char> alone(buffer.begin(), buffer.begin() + static_cast<long>(cut));
        CServer fromView;
        fromView.ParseStatus(std::string_view(buffer).substr(0, cut));
        CServer fromCopy;
        fromCopy.ParseStatus(std::string_view(alone.data(), alone.size()));
        EXPECT_EQ(fromView.name, fromCopy.name) << cut;
        EXPECT_EQ(fromView.map, fromCopy.map) << cut;
        EXPECT_EQ(fromView.vars.size(), fromCopy.vars.size()) << cut;
        ASSERT_EQ(fromView.players.size(), fromCopy.players.size()) << cut;
        if (!fromView.players.empty()) {
            EXPECT_EQ(fromView.players[0].name, fromCopy.players[0].name) << cut;
        }
    }

    const std::string_view text = "ab^c"sv.substr(0, 3); // "ab^": the caret ends the view
    std::size_t pos = 0;
    EXPECT_EQ(Token(text, pos), "ab");
    EXPECT_EQ(pos, 3u);
}

TEST(StatusParseTest, HostileRepliesStayBounded)
{
    // 5,000 players in one reply.
    std::string body = "\\sv_maxclients\\64\\g_gametype\\5\n";
    for (int i = 0; i < 5000; ++i)
        body +=
            std::to_string(i) + " " + std::to_string(i % 999) + " \"p" + std::to_string(i) + "\"\n";
    CServer server = Parsed(body);
    ASSERT_EQ(server.players.size(), 5000u);
    EXPECT_EQ(server.players[4999].name, "p4999");
    EXPECT_EQ(server.players[4999].score, 4999);

    // A 64 KiB name of colour codes and an unterminated quote.
    std::string huge(65000, '^');
    server = Parsed("\\sv_hostname\\\"" + huge + "\n");
    EXPECT_TRUE(server.name.empty());
    server = Parsed("\\sv_hostname\\\"" + std::string(65000, 'n'));
    EXPECT_EQ(server.name.size(), 65000u);
}

TEST(StatusTokensTest, ReadTokenStopsAtSeparatorsOutsideQuotes)
{
    std::size_t pos = 0;
    EXPECT_EQ(Token("key\\value", pos), "key");
    EXPECT_EQ(pos, 3u);
    pos = 0;
    EXPECT_EQ(Token("\"a\\b\" c\nd", pos), "a\\b c");
    EXPECT_EQ(pos, 7u);
    pos = 0;
    EXPECT_EQ(Token("\"open\nnext", pos), "open"); // a line feed ends even a quoted token
    pos = 0;
    EXPECT_EQ(Token("", pos), "");
    EXPECT_EQ(pos, 0u);
    pos = 5;
    EXPECT_EQ(Token("abc", pos), ""); // a position past the end reads as the end
}

TEST(StatusTokensTest, ReadIntReadsSpacesSignAndDigits)
{
    std::size_t pos = 0;
    EXPECT_EQ(ReadInt("   42 7", pos), 42);
    EXPECT_EQ(pos, 5u);
    EXPECT_EQ(ReadInt("   42 7", pos), 7);
    pos = 0;
    EXPECT_EQ(ReadInt("-", pos), 0); // a lone minus is consumed
    EXPECT_EQ(pos, 1u);
    pos = 0;
    EXPECT_EQ(ReadInt("+5", pos), 0); // no plus sign
    EXPECT_EQ(pos, 0u);
    pos = 0;
    EXPECT_EQ(ReadInt("\t5", pos), 0); // blanks are spaces only
    pos = 0;
    EXPECT_EQ(ReadInt("4294967297", pos), 1); // 32-bit wrapping
    pos = 0;
    EXPECT_EQ(ReadInt("-2147483648", pos), -2147483647 - 1);
}
