// farsighter-query as a user runs it: the built program against a local test network,
// its output compared with the network's manifest.
#include "cli/TerminalText.h"
#include "net/Version.h"
#include "tests/cli/ProgramRun.h"
#include "tests/support/TestNetProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#ifndef FARSIGHTER_QUERY_PATH
#error "FARSIGHTER_QUERY_PATH must name the built farsighter-query"
#endif

namespace {

using json = nlohmann::json;
using namespace std::chrono_literals;

constexpr auto kRunLimit = 60s;

ProgramResult Query(const std::vector<std::string>& args, bool terminal = false)
{
    return RunProgram(FARSIGHTER_QUERY_PATH, args, kRunLimit, terminal);
}

std::string Raw(const json& text)
{
    return CTestNetProcess::RawBytes(text);
}

// What the status parser keeps of a token: quotes dropped, colour codes (a caret and the
// byte after it) dropped.
std::string StripColours(std::string_view raw)
{
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '^') {
            ++i;
        } else if (raw[i] != '"') {
            out += raw[i];
        }
    }
    return out;
}

std::string Trim(std::string text)
{
    const char* blanks = " \t\n\r\v\f";
    text.erase(0, text.find_first_not_of(blanks));
    text.erase(text.find_last_not_of(blanks) + 1);
    return text;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return text;
}

// What a listing should show of one manifest server.
struct Expected
{
    std::string address;
    std::string name;
    std::string map;
    std::string modUrl;
    int gameType = 0;
    int maxClients = 0;
    int maxLives = 0;
    bool friendlyFire = false;
    bool punkBuster = false;
    json players = json::array(); // {name, score, ping} as the parser keeps them
    json vars = json::array();    // {key, value}, decoded, in reply order

    int PlayerCount() const { return static_cast<int>(players.size()); }
};

bool AnswersRegularly(const json& server)
{
    const std::string behaviour = server.at("behaviour");
    return behaviour == "normal" || behaviour == "duplicates" || behaviour == "resend-only";
}

Expected ExpectedOf(const json& server)
{
    Expected e;
    e.address = "127.0.0.1:" + std::to_string(server.at("port").get<int>());
    e.name = e.address;
    for (const auto& pair : server.at("vars")) {
        const std::string key = Raw(pair[0]);
        const std::string value = Raw(pair[1]);
        const std::string token = StripColours(value);
        e.vars.push_back(
            {{"key", Cp1252ToUtf8(StripColours(key))}, {"value", Cp1252ToUtf8(token)}});
        const std::string lower = Lower(key);
        if (lower == "sv_hostname") {
            e.name = token;
        } else if (lower == "mapname") {
            e.map = token;
        } else if (lower == "mod_url") {
            e.modUrl = Lower(token);
        } else if (lower == "g_gametype") {
            e.gameType = std::atoi(token.c_str());
        } else if (lower == "sv_maxclients") {
            e.maxClients = std::atoi(token.c_str());
        } else if (lower == "g_maxlives") {
            e.maxLives = std::atoi(token.c_str());
        } else if (lower == "g_friendlyfire") {
            e.friendlyFire = std::atoi(token.c_str()) != 0;
        } else if (lower == "sv_punkbuster") {
            e.punkBuster = std::atoi(token.c_str()) != 0;
        }
    }
    e.name = Cp1252ToUtf8(e.name);
    e.map = Cp1252ToUtf8(e.map);
    e.modUrl = Cp1252ToUtf8(e.modUrl);
    for (const auto& player : server.at("players")) {
        e.players.push_back({{"name", Cp1252ToUtf8(Trim(StripColours(Raw(player.at("name")))))},
                             {"score", player.at("score")},
                             {"ping", player.at("ping")}});
    }
    return e;
}

std::string ModName(const std::string& modUrl)
{
    for (const auto& [part, name] :
         std::vector<std::pair<std::string, std::string>>{{"orangesmoothie", "OSP"},
                                                          {"shrub", "Shrub"},
                                                          {"banimod", "Bani"},
                                                          {"soff", "Soff?"}}) {
        if (modUrl.find(part) != std::string::npos) {
            return name;
        }
    }
    return modUrl;
}

// The servers that a master scan should list, by address: answering servers of the
// network's protocol with a known game type that both the master's and the browser's
// empty/full rules let through.
std::map<std::string, Expected> ExpectedListing(const CTestNetProcess& net, bool includeEmpty,
                                                bool includeFull)
{
    std::map<std::string, Expected> listing;
    const int protocol = net.Manifest().at("protocol");
    for (const auto& server : net.Manifest().at("servers")) {
        if (server.at("protocol") != protocol || !AnswersRegularly(server)) {
            continue;
        }
        if ((!includeEmpty && server.at("empty").get<bool>()) ||
            (!includeFull && server.at("full").get<bool>())) {
            continue; // the master leaves it out
        }
        const Expected e = ExpectedOf(server);
        if (e.gameType == 0 || (!includeEmpty && e.PlayerCount() == 0) ||
            (!includeFull && e.PlayerCount() >= e.maxClients)) {
            continue;
        }
        listing.emplace(e.address, e);
    }
    return listing;
}

void ExpectServerFields(const json& row, const Expected& e)
{
    SCOPED_TRACE(e.address);
    EXPECT_EQ(row.at("name"), e.name);
    EXPECT_EQ(row.at("map"), e.map);
    EXPECT_EQ(row.at("modUrl"), e.modUrl);
    EXPECT_EQ(row.at("mod"), ModName(e.modUrl));
    EXPECT_EQ(row.at("gameType"), e.gameType);
    EXPECT_EQ(row.at("maxClients"), e.maxClients);
    EXPECT_EQ(row.at("maxLives"), e.maxLives);
    EXPECT_EQ(row.at("friendlyFire"), e.friendlyFire);
    EXPECT_EQ(row.at("punkBuster"), e.punkBuster);
    EXPECT_EQ(row.at("numPlayers"), e.PlayerCount());
    EXPECT_EQ(row.at("playersText"),
              std::to_string(e.PlayerCount()) + "/" + std::to_string(e.maxClients));
    EXPECT_EQ(row.at("players"), e.players);
    EXPECT_EQ(row.at("vars"), e.vars);
    EXPECT_GE(row.at("ping").get<int>(), 0);
    EXPECT_LT(row.at("ping").get<int>(), 1000);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(QueryEndToEndTest, MasterScanListsEveryAnsweringServerWithItsFields)
{
    // Every kind of server that answers, silent ones and servers of other protocols.
    CTestNetProcess net({"--count", "40", "--seed", "11", "--silent", "3", "--duplicates", "2",
                         "--resend-only", "2", "--other-protocols", "15"});
    const ProgramResult run =
        Query({"--master", net.MasterAddress(), "--empty", "--full", "--json", "--limit", "64"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "") << "no progress output when standard error is not a terminal";

    const json doc = json::parse(run.out);
    const auto expected = ExpectedListing(net, true, true);
    ASSERT_GT(expected.size(), 20u);
    std::set<std::string> seen;
    int lastPing = -1;
    for (const json& row : doc.at("servers")) {
        const std::string address = row.at("address");
        ASSERT_TRUE(expected.contains(address)) << address << " should not be listed";
        EXPECT_TRUE(seen.insert(address).second) << address << " listed twice";
        ExpectServerFields(row, expected.at(address));
        EXPECT_GE(row.at("ping").get<int>(), lastPing) << "sorted by ping";
        lastPing = row.at("ping");
    }
    EXPECT_EQ(seen.size(), expected.size());
}

TEST(QueryEndToEndTest, FiltersLeaveOutEmptyOrFullServersAndPlayersAreSortedByName)
{
    // Servers that all answer the first request, so that each scan ends soon.
    CTestNetProcess net(
        {"--count", "40", "--seed", "11", "--duplicates", "2", "--other-protocols", "15"});
    auto listed = [&](std::vector<std::string> filters) {
        std::vector<std::string> args = {"--master", net.MasterAddress(), "--csv", "--limit", "64"};
        args.insert(args.end(), filters.begin(), filters.end());
        const ProgramResult run = Query(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::set<std::string> addresses;
        const auto lines = Lines(run.out);
        for (std::size_t i = 1; i < lines.size(); ++i) {
            addresses.insert(lines[i].substr(lines[i].rfind(',') + 1));
        }
        return addresses;
    };
    auto keys = [](const std::map<std::string, Expected>& listing) {
        std::set<std::string> addresses;
        for (const auto& [address, e] : listing) {
            addresses.insert(address);
        }
        return addresses;
    };
    const auto all = keys(ExpectedListing(net, true, true));
    const auto noEmpty = keys(ExpectedListing(net, false, true));
    const auto noFull = keys(ExpectedListing(net, true, false));
    ASSERT_LT(noEmpty.size(), all.size()) << "the world needs empty servers";
    ASSERT_LT(noFull.size(), all.size()) << "the world needs full servers";

    EXPECT_EQ(listed({}), noEmpty) << "defaults: full servers on, empty servers off";
    EXPECT_EQ(listed({"--empty", "--no-full"}), noFull);
    EXPECT_EQ(listed({"--no-empty", "--no-full"}), keys(ExpectedListing(net, false, false)));

    // Every player of the listed servers, by name with letter case ignored.
    const ProgramResult run =
        Query({"--master", net.MasterAddress(), "--players", "--json", "--limit", "64"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::multiset<std::pair<std::string, std::string>> expected;
    for (const auto& [address, e] : ExpectedListing(net, false, true)) {
        for (const json& player : e.players) {
            expected.emplace(address, player.at("name"));
        }
    }
    std::multiset<std::pair<std::string, std::string>> players;
    std::string last;
    const json doc = json::parse(run.out);
    for (const json& row : doc.at("players")) {
        players.emplace(row.at("serverAddress"), row.at("name"));
        const std::string name = Lower(row.at("name"));
        EXPECT_LE(last, name) << "sorted by name, letter case ignored";
        last = name;
    }
    EXPECT_GT(expected.size(), 50u);
    EXPECT_EQ(players, expected);
}

TEST(QueryEndToEndTest, InfoShowsEveryVariableOfOneServerSortedByName)
{
    CTestNetProcess net({"--count", "3", "--seed", "8", "--silent", "1"});
    const json& servers = net.Manifest().at("servers");
    const auto regular = std::find_if(servers.begin(), servers.end(), AnswersRegularly);
    const auto silent = std::find_if(servers.begin(), servers.end(),
                                     [](const json& s) { return s.at("behaviour") == "silent"; });
    ASSERT_NE(regular, servers.end());
    ASSERT_NE(silent, servers.end());
    const Expected e = ExpectedOf(*regular);

    const ProgramResult run = Query({"--info", e.address, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json info = json::parse(run.out);
    json sorted = e.vars;
    std::stable_sort(sorted.begin(), sorted.end(), [](const json& a, const json& b) {
        return Lower(a.at("key")) < Lower(b.at("key"));
    });
    EXPECT_EQ(info.at("vars"), sorted);
    EXPECT_EQ(info.at("name"), e.name);

    const ProgramResult table = Query({"--info", e.address, "--limit", "8"});
    ASSERT_EQ(table.exitCode, 0) << table.err;
    const auto lines = Lines(table.out);
    ASSERT_EQ(lines.size(), sorted.size() + 3);
    EXPECT_EQ(lines[0], TerminalSafe(e.name) + " (" + e.address + ")");
    EXPECT_EQ(lines[1].substr(0, 8), "Variable");

    const std::string silentAddress = "127.0.0.1:" + std::to_string(silent->at("port").get<int>());
    const ProgramResult none = Query({"--info", silentAddress, "--limit", "8"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, "No response from server " + silentAddress + ".\n");
    EXPECT_EQ(Lines(none.out).size(), 3u) << "heading and column titles, no rows";
}

TEST(QueryEndToEndTest, FavoritesFileAndServersOnTheCommandLine)
{
    CTestNetProcess net({"--count", "6", "--seed", "21", "--silent", "1"});
    std::vector<Expected> answering;
    std::string silentAddress;
    for (const json& server : net.Manifest().at("servers")) {
        if (AnswersRegularly(server)) {
            answering.push_back(ExpectedOf(server));
        } else {
            silentAddress = "127.0.0.1:" + std::to_string(server.at("port").get<int>());
        }
    }
    ASSERT_GE(answering.size(), 3u);
    ASSERT_FALSE(silentAddress.empty());
    std::erase_if(answering, [](const Expected& e) { return e.gameType == 0; });

    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("fs-cli-favorites-" + std::to_string(::getpid()) + ".dat");
    {
        std::ofstream out(file, std::ios::binary);
        for (const Expected& e : answering) {
            out << e.address << "\tMy favorite\tsecret\r\n";
        }
        out << silentAddress << "\tGone\t\r\n";
    }
    const ProgramResult run =
        Query({"--favorites", file.string(), "--empty", "--csv", "--limit", "32"});
    std::filesystem::remove(file);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), answering.size() + 1);
    for (const Expected& e : answering) {
        const bool found = std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.ends_with("," + e.address);
        });
        EXPECT_TRUE(found) << e.address;
    }
    EXPECT_EQ(run.out.find("secret"), std::string::npos) << "passwords are not printed";
    EXPECT_EQ(run.out.find(silentAddress), std::string::npos);

    // The same servers given on the command line.
    std::vector<std::string> args = {"--empty", "--json", "--limit", "32", silentAddress};
    for (const Expected& e : answering) {
        args.push_back(e.address);
    }
    const ProgramResult direct = Query(args);
    ASSERT_EQ(direct.exitCode, 0) << direct.err;
    const json doc = json::parse(direct.out);
    ASSERT_EQ(doc.at("servers").size(), answering.size());
    for (const json& row : doc["servers"]) {
        EXPECT_TRUE(std::any_of(answering.begin(), answering.end(), [&](const Expected& e) {
            return e.address == row.at("address");
        })) << row;
    }

    const ProgramResult missing = Query({"--favorites", file.string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Cannot read the favorites file '" + file.string() +
                               "': No such file or directory\n");
}

TEST(QueryEndToEndTest, SilentMasterExitsWithOneAndItsMessage)
{
    CTestNetProcess net({"--count", "2", "--master-silent"});
    const ProgramResult run = Query({"--master", net.MasterAddress()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "No response from master server.\n");
    EXPECT_EQ(run.out, "");
    // Three attempts, waiting 1000, 1500 and 2000 ms.
    EXPECT_GE(run.elapsed, 4400ms);
    EXPECT_LT(run.elapsed, 9000ms);
}

TEST(QueryEndToEndTest, HostileRepliesCannotBreakTheOutput)
{
    CTestNetProcess net({"--count", "24", "--seed", "3", "--hostile", "16"});
    const ProgramResult table =
        Query({"--master", net.MasterAddress(), "--empty", "--limit", "64"});
    ASSERT_EQ(table.exitCode, 0) << table.err;
    for (char c : table.out) {
        const auto byte = static_cast<unsigned char>(c);
        ASSERT_TRUE((byte >= 0x20 && byte != 0x7F) || c == '\n') << "control byte " << int(byte);
    }
    for (const char* format : {"--json", "--csv"}) {
        const ProgramResult run = Query(
            {"--master", net.MasterAddress(), "--empty", "--players", format, "--limit", "64"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        if (std::string(format) == "--json") {
            EXPECT_TRUE(json::accept(run.out));
        }
    }
}

TEST(QueryEndToEndTest, ProgressIsShownOnATerminalOnly)
{
    CTestNetProcess net({"--count", "10", "--seed", "4"});
    const ProgramResult run =
        Query({"--master", net.MasterAddress(), "--empty", "--limit", "2"}, true);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::size_t listed = Lines(run.out).size() - 2;
    EXPECT_NE(run.err.find("Asking the master server " + net.MasterAddress()), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("Servers to query: 10"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Servers to query: 0  Answered: 10  Listed: " + std::to_string(listed) +
                           "\x1B[K\r\n"),
              std::string::npos)
        << run.err;
}

TEST(QueryCommandLineTest, WrongCommandLinesExitWithTwoAndNameTheProblem)
{
    // The messages themselves are the option parser's; here: exit code 2, the program's
    // name, the hint, nothing on standard output, nothing sent.
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--master", "127.0.0.1:99999"}, "invalid port in '127.0.0.1:99999' for --master"},
        {{"--info", ":1"}, "no host in ':1' for --info"},
        {{}, "nothing to scan"},
    };
    for (const auto& [args, message] : cases) {
        const ProgramResult run = Query(args);
        EXPECT_EQ(run.exitCode, 2) << message;
        EXPECT_NE(run.err.find("farsighter-query: " + message), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("--help"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST(QueryCommandLineTest, UnreadableFavoritesFilesFailWithTheirReason)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("fs-cli-unreadable-" + std::to_string(::getpid()));
    std::filesystem::create_directory(folder);
    const std::filesystem::path fifo = folder / "fifo.dat"; // never waited on
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {folder.string(), fifo.string(), std::string("/proc/self/mem"),
                                    std::string("/dev/zero")}) {
        const ProgramResult run = Query({"--favorites", path});
        EXPECT_EQ(run.exitCode, 1) << path;
        EXPECT_EQ(run.err.rfind("Cannot read the favorites file '" + path + "': ", 0), 0u)
            << run.err;
        EXPECT_EQ(run.out, "");
    }
    std::filesystem::remove_all(folder);
}

TEST(QueryCommandLineTest, ControlBytesOfArgumentsAndFileNamesDoNotReachTheTerminal)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--master", "\x1B]0;title\x07h:99999"},
          std::vector<std::string>{"--favorites", "/nonexistent/\x1B[2J"},
          std::vector<std::string>{"--bogus\x1B[31m"}}) {
        const ProgramResult run = Query(args);
        EXPECT_NE(run.exitCode, 0);
        EXPECT_FALSE(run.err.empty());
        for (char c : run.err) {
            const auto byte = static_cast<unsigned char>(c);
            EXPECT_TRUE((byte >= 0x20 && byte != 0x7F) || c == '\n')
                << "control byte " << int(byte);
        }
    }
}

TEST(QueryCommandLineTest, VersionListsTheLibrariesThatRegisteredAtStartUp)
{
    const ProgramResult version = Query({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind(std::string("farsighter-query ") + FARSIGHTER_VERSION + "\n", 0),
              0u)
        << version.out;
    for (const char* library : {"Sockets", "System"}) {
        EXPECT_NE(version.out.find(std::string("\n  Farsighter ") + library + " " +
                                   FARSIGHTER_VERSION + "\n"),
                  std::string::npos)
            << version.out;
    }
}

} // namespace
