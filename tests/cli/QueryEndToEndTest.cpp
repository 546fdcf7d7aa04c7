// farsighter-query as a user runs it: the built program against a local test network,
// its output compared with the network's manifest.
#include "cli/TerminalText.h"
#include "net/Version.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestNetProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <set>
#include <sstream>

#ifndef FARSIGHTER_QUERY_PATH
#error "FARSIGHTER_QUERY_PATH must name the built farsighter-query"
#endif

namespace {

using json = nlohmann::json;
using namespace std::chrono_literals;

ProgramResult Query(const std::vector<std::string>& args, bool terminal = false)
{
    return RunProgram(FARSIGHTER_QUERY_PATH, args, 60s, terminal);
}

// A manifest text as the status parser keeps it: quotes and colour codes (a caret and the
// byte after it) dropped, Windows-1252 decoded.
std::string Shown(const json& text)
{
    const std::string raw = CTestNetProcess::RawBytes(text);
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '^')
            ++i;
        else if (raw[i] != '"')
            out += raw[i];
    }
    return Cp1252ToUtf8(out);
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return text;
}

std::string Address(const json& server)
{
    return "127.0.0.1:" + std::to_string(server.at("port").get<int>());
}

std::string Var(const json& server, const std::string& key)
{
    for (const auto& pair : server.at("vars")) {
        if (pair[0] == key)
            return Shown(pair[1]);
    }
    return "";
}

// The fields of a JSON row that come from the server's reply.
json ExpectedRow(const json& server)
{
    const std::string name = Var(server, "sv_hostname");
    json e = {{"name", name.empty() ? Address(server) : name},
              {"vars", json::array()},
              {"players", json::array()}};
    for (const auto& pair : server.at("vars"))
        e["vars"].push_back({{"key", Shown(pair[0])}, {"value", Shown(pair[1])}});
    for (const auto& player : server.at("players")) {
        std::string shown = Shown(player.at("name"));
        shown.erase(0, shown.find_first_not_of(" \t"));
        shown.erase(shown.find_last_not_of(" \t") + 1);
        e["players"].push_back(
            {{"name", shown}, {"score", player.at("score")}, {"ping", player.at("ping")}});
    }
    e["numPlayers"] = e["players"].size();
    return e;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

void ExpectNoControlBytes(const std::string& text)
{
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        ASSERT_TRUE((byte >= 0x20 && byte != 0x7F) || c == '\n') << "control byte " << int(byte);
    }
}

// One world shared by the suite: servers of every behaviour, other protocols and hostile
// replies. Hostile servers are left out of the comparisons; their rows must only not
// break the output.
class QueryEndToEndTest : public ::testing::Test
{
protected:
    static const CTestNetProcess& Net()
    {
        static const CTestNetProcess net({"--count", "40", "--seed", "11", "--silent", "2",
                                          "--duplicates", "2", "--resend-only", "2",
                                          "--other-protocols", "15", "--hostile", "8"});
        return net;
    }
    static std::vector<json> Servers(const std::string& behaviour)
    {
        std::vector<json> servers;
        for (const json& s : Net().Manifest().at("servers")) {
            if (s.at("behaviour") == behaviour)
                servers.push_back(s);
        }
        return servers;
    }
    static bool IsHostile(const std::string& address)
    {
        const auto hostile = Servers("hostile");
        return std::any_of(hostile.begin(), hostile.end(),
                           [&](const json& s) { return Address(s) == address; });
    }
    // The answering servers of the master's protocol with a known game type that pass the
    // empty and full filters, by address.
    static std::map<std::string, json> Listing(bool includeEmpty, bool includeFull)
    {
        std::map<std::string, json> listing;
        for (const json& s : Net().Manifest().at("servers")) {
            const std::string behaviour = s.at("behaviour");
            if (s.at("protocol") == 60 && behaviour != "silent" && behaviour != "hostile" &&
                Var(s, "g_gametype") != "0" && (includeEmpty || !s.at("empty").get<bool>()) &&
                (includeFull || !s.at("full").get<bool>()))
                listing.emplace(Address(s), s);
        }
        return listing;
    }
    // The rows of a scan in JSON, hostile servers left out.
    static std::vector<json> ScanRows(std::vector<std::string> args, const char* view = "servers")
    {
        args.insert(args.begin(), {"--json", "--limit", "64"});
        const ProgramResult run = Query(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "") << "no progress output when standard error is not a terminal";
        EXPECT_EQ(run.out.find("secret"), std::string::npos) << "passwords are not printed";
        std::vector<json> rows;
        const json doc = json::parse(run.out);
        for (const json& row : doc.at(view)) {
            if (!IsHostile(row.value("address", row.value("serverAddress", ""))))
                rows.push_back(row);
        }
        return rows;
    }
};

TEST_F(QueryEndToEndTest, ScansListTheAnsweringServersThatPassTheFiltersWithTheirFields)
{
    struct Case
    {
        std::vector<std::string> args;
        std::map<std::string, json> expected;
    };
    const auto all = Listing(true, true);
    ASSERT_GT(all.size(), 15u);
    ASSERT_LT(Listing(false, true).size(), all.size()) << "needs empty servers";
    ASSERT_LT(Listing(true, false).size(), all.size()) << "needs full servers";
    // Five answering servers and a silent one, in a favorites file (with passwords) and on the
    // command line.
    const std::map<std::string, json> five(all.begin(), std::next(all.begin(), 5));
    const std::string silent = Address(Servers("silent").at(0));
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("fs-cli-favorites-" + std::to_string(::getpid()) + ".dat");
    std::vector<std::string> direct = {"--empty", silent};
    {
        std::ofstream out(file, std::ios::binary);
        for (const auto& [address, server] : five) {
            out << address << "\tMy favorite\tsecret\r\n";
            direct.push_back(address);
        }
        out << silent << "\tGone\t\r\n";
    }
    const std::string master = Net().MasterAddress();
    const std::vector<Case> cases = {
        {{"--master", master, "--empty", "--full"}, all},
        {{"--master", master}, Listing(false, true)}, // the defaults
        {{"--master", master, "--empty", "--no-full"}, Listing(true, false)},
        {{"--master", master, "--no-empty", "--no-full"}, Listing(false, false)},
        {{"--favorites", file.string(), "--empty"}, five},
        {direct, five}};
    // The scans run side by side: each waits out the silent servers.
    std::vector<std::future<std::vector<json>>> scans;
    for (const Case& c : cases)
        scans.push_back(std::async(std::launch::async, [&c] { return ScanRows(c.args); }));
    auto playerScan = std::async(std::launch::async, [&master] {
        return ScanRows({"--master", master, "--players"}, "players");
    });
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(testing::PrintToString(cases[i].args));
        const auto& expected = cases[i].expected;
        std::set<std::string> listed;
        int lastPing = -1;
        for (const json& row : scans[i].get()) {
            const std::string address = row.at("address");
            ASSERT_TRUE(expected.contains(address)) << address << " should not be listed";
            EXPECT_TRUE(listed.insert(address).second) << address << " listed twice";
            const json e = ExpectedRow(expected.at(address));
            for (const char* field : {"name", "vars", "players", "numPlayers"})
                EXPECT_EQ(row.at(field), e.at(field)) << address << " " << field;
            EXPECT_EQ(row.at("country"), "") << "loopback has no country";
            EXPECT_LT(row.at("ping").get<int>(), 1000);
            EXPECT_GE(row.at("ping").get<int>(), lastPing) << "sorted by ping";
            lastPing = row.at("ping");
        }
        EXPECT_EQ(listed.size(), expected.size());
    }
    std::filesystem::remove(file);

    // Every player of the listed servers, by name with letter case ignored.
    std::multiset<std::pair<std::string, std::string>> expected, players;
    for (const auto& [address, server] : Listing(false, true)) {
        const json e = ExpectedRow(server);
        for (const json& player : e.at("players"))
            expected.emplace(address, player.at("name"));
    }
    std::string last;
    for (const json& row : playerScan.get()) {
        players.emplace(row.at("serverAddress"), row.at("name"));
        EXPECT_LE(last, Lower(row.at("name"))) << "sorted by name, letter case ignored";
        last = Lower(row.at("name"));
    }
    EXPECT_GT(expected.size(), 30u);
    EXPECT_EQ(players, expected);
}

TEST_F(QueryEndToEndTest, InfoShowsEveryVariableOfOneServerSortedByName)
{
    const json server = Servers("normal").at(0);
    const std::string address = Address(server);
    const json e = ExpectedRow(server);
    const ProgramResult run = Query({"--info", address, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    json sorted = e.at("vars");
    std::stable_sort(sorted.begin(), sorted.end(), [](const json& a, const json& b) {
        return Lower(a.at("key")) < Lower(b.at("key"));
    });
    EXPECT_EQ(json::parse(run.out).at("vars"), sorted);

    // The table's layout: TableFormatTest.ServersPlayersAndInfoInTheDesktopColumns.
    const std::string silent = Address(Servers("silent").at(0));
    const ProgramResult none = Query({"--info", silent, "--limit", "8"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, "No response from server " + silent + ".\n");
    EXPECT_EQ(Lines(none.out).size(), 3u) << "heading and column titles, no rows";
}

TEST_F(QueryEndToEndTest, ProgressOnATerminalAndHostileRepliesCannotBreakTheOutput)
{
    const json& all = Net().Manifest().at("servers");
    const std::string servers = std::to_string(std::count_if(
        all.begin(), all.end(), [](const json& s) { return s.at("protocol") == 60; }));
    const std::string answered = std::to_string(std::stoi(servers) - 2); // all but the silent
    auto csv = std::async(std::launch::async, [] {
        return Query(
            {"--master", Net().MasterAddress(), "--empty", "--players", "--csv", "--limit", "64"});
    });
    const ProgramResult run =
        Query({"--master", Net().MasterAddress(), "--empty", "--limit", "8"}, true);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ExpectNoControlBytes(run.out);
    const std::string listed = std::to_string(Lines(run.out).size() - 2);
    for (const std::string& part :
         {"Asking the master server " + Net().MasterAddress(), "Servers to query: " + servers,
          "Servers to query: 0  Answered: " + answered + "  Listed: " + listed + "\x1B[K\r\n"})
        EXPECT_NE(run.err.find(part), std::string::npos) << part << "\n" << run.err;
    const ProgramResult players = csv.get();
    EXPECT_EQ(players.exitCode, 0) << players.err;
}

TEST(QueryCommandLineTest, FailuresExitWithTheirCodeAndAHarmlessMessageOnly)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("fs-cli-unreadable-" + std::to_string(::getpid()));
    std::filesystem::create_directory(folder);
    const std::string fifo = (folder / "fifo.dat").string(); // never waited on
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string missing = (folder / "missing.dat").string();
    CTestNetProcess silentMaster({"--count", "1", "--master-silent"});
    const std::string unreadable = "Cannot read the favorites file '";
    struct Case
    {
        std::vector<std::string> args;
        int exitCode;
        std::string err; // how standard error starts
    };
    const Case cases[] = {
        // Usage errors name the problem and point to the help.
        {{"--bogus"}, 2, "farsighter-query: unknown option '--bogus'\nTry "},
        {{"--master", "127.0.0.1:99999"},
         2,
         "farsighter-query: invalid port in '127.0.0.1:99999' for --master"},
        {{"--info", ":1"}, 2, "farsighter-query: no host in ':1' for --info"},
        {{}, 2, "farsighter-query: nothing to scan"},
        // Control bytes of arguments and file names do not reach the terminal.
        {{"--master", "\x1B]0;title\x07h:99999"}, 2, "farsighter-query: '"},
        {{"--bogus\x1B[31m"}, 2, "farsighter-query: unknown option '--bogus"},
        {{"--favorites", "/nonexistent/\x1B[2J"}, 1, unreadable + "/nonexistent/"},
        {{"--favorites", missing}, 1, unreadable + missing + "': No such file or directory\n"},
        // A country database that is named must be usable; nothing is sent then.
        {{"--country-db", missing, "127.0.0.1:1"},
         1,
         "Cannot use the country database '" + missing},
        {{"--favorites", folder.string()}, 1, unreadable + folder.string() + "': "},
        {{"--favorites", fifo}, 1, unreadable + fifo + "': "},
        {{"--favorites", "/proc/self/mem"}, 1, unreadable + "/proc/self/mem': "},
        {{"--favorites", "/dev/zero"}, 1, unreadable + "/dev/zero': "},
        {{"--master", silentMaster.MasterAddress()}, 1, "No response from master server.\n"},
    };
    for (const Case& c : cases) {
        const ProgramResult run = Query(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.err;
        EXPECT_TRUE(run.err.starts_with(c.err)) << run.err;
        EXPECT_EQ(run.out, "") << c.err;
        ExpectNoControlBytes(run.err);
        EXPECT_EQ(run.err.find("--help") != std::string::npos, c.exitCode == 2) << run.err;
        if (c.err.starts_with("No response")) {
            // Three attempts, waiting 1000, 1500 and 2000 ms.
            EXPECT_GE(run.elapsed, 4400ms);
            EXPECT_LT(run.elapsed, 9000ms);
        }
    }
    std::filesystem::remove_all(folder);
}

TEST(QueryCommandLineTest, VersionListsTheLibrariesThatRegisteredAtStartUp)
{
    const ProgramResult version = Query({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(
        version.out.starts_with(std::string("farsighter-query ") + FARSIGHTER_VERSION + "\n"))
        << version.out;
    for (const char* library : {"Sockets", "System"}) {
        EXPECT_NE(version.out.find(std::string("\n  Farsighter ") + library + " " +
                                   FARSIGHTER_VERSION + "\n"),
                  std::string::npos)
            << version.out;
    }
}

} // namespace
