#include "cli/CsvFormat.h"
#include "cli/JsonFormat.h"
#include "cli/ResultFormat.h"
#include "cli/TableFormat.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace {

ServerRow Objective()
{
    ServerRow s;
    s.address = "127.0.0.1:27960";
    s.name = "Caf\xC3\xA9 \"Base\", EU";
    s.gameType = 5;
    s.mod = "OSP";
    s.modUrl = "http://www.orangesmoothie.org";
    s.friendlyFire = true;
    s.ping = 48;
    s.playersText = "2/16";
    s.playerCount = 2;
    s.maxClients = 16;
    s.map = "mp_beach";
    s.country = "DE";
    s.players = {{"Blazko\\Jr", -3, 50}, {"bot", 12, 0}};
    s.vars = {{"sv_hostname", "Caf\xC3\xA9"}, {"g_gametype", "5"}};
    return s;
}

ServerRow Odd()
{
    ServerRow s;
    s.address = "10.0.0.2:27961";
    s.name = "esc\x1B[2Jape";
    s.gameType = 9;
    s.ping = 120;
    s.playersText = "0/8";
    s.maxClients = 8;
    s.punkBuster = true;
    s.map = "te_frostbite";
    s.maxLives = 3;
    return s;
}

template <typename Write>
std::string Capture(Write write)
{
    std::ostringstream out;
    write(out);
    return out.str();
}

TEST(TableFormatTest, ServersPlayersAndInfoInTheDesktopColumns)
{
    const std::vector<ServerRow> rows = {Objective(), Odd()};
    const std::string text =
        Capture([&](std::ostream& out) { CTableFormat().WriteServers(out, rows); });
    EXPECT_EQ(text,
              "Server           Type            Mod  FF   Ping  Players  PB   Map"
              "           MaxLives  Ip               Country\n"
              "---------------  --------------  ---  ---  ----  -------  ---  ------------"
              "  --------  ---------------  -------\n"
              "Caf\xC3\xA9 \"Base\", EU  MP - Objective  OSP  yes    48     2/16  no   mp_beach"
              "             0  127.0.0.1:27960  DE\n"
              "esc\xEF\xBF\xBD[2Jape       9?                   no    120      0/8  yes  "
              "te_frostbite         3  10.0.0.2:27961\n");

    const std::vector<PlayerListRow> players = {{&rows[0], &rows[0].players[1]},
                                                {&rows[0], &rows[0].players[0]}};
    EXPECT_EQ(Capture([&](std::ostream& out) { CTableFormat().WritePlayers(out, players); }),
              "Player     ServerPing  Ping  Frags  Server           Map       Players  Type\n"
              "---------  ----------  ----  -----  ---------------  --------  -------  "
              "--------------\n"
              "bot                48     0     12  Caf\xC3\xA9 \"Base\", EU  mp_beach     2/16  "
              "MP - Objective\n"
              "Blazko\\Jr          48    50     -3  Caf\xC3\xA9 \"Base\", EU  mp_beach     2/16  "
              "MP - Objective\n");
    EXPECT_EQ(Capture([&](std::ostream& out) { CTableFormat().WriteInfo(out, rows[0]); }),
              "Caf\xC3\xA9 \"Base\", EU (127.0.0.1:27960)\n"
              "Variable     Value\n"
              "-----------  -----\n"
              "sv_hostname  Caf\xC3\xA9\n"
              "g_gametype   5\n");
    // The heading of a server with control characters in its name stays harmless too.
    EXPECT_EQ(
        Capture([&](std::ostream& out) { CTableFormat().WriteInfo(out, Odd()); }).find('\x1B'),
        std::string::npos);
}

TEST(QuotingTest, JsonEscapesWhatItRequiresAndCsvQuotesOnlyWhereNeeded)
{
    EXPECT_EQ(CJsonFormat::Quote("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(CJsonFormat::Quote("\n\r\t\x01\x1F\x7F"), R"("\n\r\t\u0001\u001f\u007f")");
    EXPECT_EQ(CJsonFormat::Quote("\xE2\x82\xAC/"), "\"\xE2\x82\xAC/\"");
    EXPECT_EQ(nlohmann::json::parse(CJsonFormat::Quote(std::string("\0x", 2))),
              std::string("\0x", 2));
    EXPECT_EQ(CCsvFormat::Line({"plain", "a,b", "say \"hi\"", ""}),
              "plain,\"a,b\",\"say \"\"hi\"\"\",\n");
    // Tabs and line breaks stay inside their quoted field; other control bytes cannot reach
    // the terminal.
    EXPECT_EQ(CCsvFormat::Line({"a\nb", "\x1B", "t\tab", "cr\r\n"}),
              "\"a\nb\",\xEF\xBF\xBD,\"t\tab\",\"cr\r\n\"\n");
}

TEST(CsvFormatTest, ServersPlayersAndInfo)
{
    const std::vector<ServerRow> rows = {Objective()};
    EXPECT_EQ(Capture([&](std::ostream& out) { CCsvFormat().WriteServers(out, rows); }),
              "Server,Type,GameType,Mod,ModUrl,FF,Ping,Players,NumPlayers,MaxPlayers,PB,Map,"
              "MaxLives,Ip,Country\n"
              "\"Caf\xC3\xA9 \"\"Base\"\", EU\",MP - Objective,5,OSP,http://www.orangesmoothie.org,"
              "yes,48,2/16,2,16,no,mp_beach,0,127.0.0.1:27960,DE\n");
    const std::vector<PlayerListRow> players = {{&rows[0], &rows[0].players[0]}};
    EXPECT_EQ(Capture([&](std::ostream& out) { CCsvFormat().WritePlayers(out, players); }),
              "Player,ServerPing,Ping,Frags,Server,Map,Players,Type,GameType,Ip\n"
              "Blazko\\Jr,48,50,-3,\"Caf\xC3\xA9 \"\"Base\"\", EU\",mp_beach,2/16,MP - Objective,"
              "5,127.0.0.1:27960\n");
    EXPECT_EQ(Capture([&](std::ostream& out) { CCsvFormat().WriteInfo(out, rows[0]); }),
              "Variable,Value\nsv_hostname,Caf\xC3\xA9\ng_gametype,5\n");
}

} // namespace
