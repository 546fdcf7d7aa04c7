// The running farsighter-testnet, seen from outside on 127.0.0.1.

#include "tests/support/TestNetProcess.h"
#include "tests/support/UdpClient.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

using namespace std::chrono_literals;
using namespace std::string_literals;
using Json = nlohmann::json;

namespace {

const std::string kGetStatus("\xFF\xFF\xFF\xFFgetstatus\n\0", 15);
const std::string kGetInfo = "\xFF\xFF\xFF\xFFgetinfo\n";
const std::string kMasterHeader = "\xFF\xFF\xFF\xFFgetserversResponse";
const std::string kEndMarker("\\EOT\0\0\0", 7);

std::string GetServers(int protocol, bool full, bool empty)
{
    std::string request = "\xFF\xFF\xFF\xFFgetservers " + std::to_string(protocol);
    if (full)
        request += " full";
    if (empty)
        request += " empty";
    return request + '\0';
}

// The status reply the manifest says a server sends.
std::string ExpectedStatus(const Json& server)
{
    std::string reply = "\xFF\xFF\xFF\xFFstatusResponse\n";
    for (const auto& pair : server["vars"])
        reply +=
            "\\" + CTestNetProcess::RawBytes(pair[0]) + "\\" + CTestNetProcess::RawBytes(pair[1]);
    reply += "\n";
    for (const auto& p : server["players"]) {
        reply += std::to_string(p["score"].get<int>()) + " " +
                 std::to_string(p["ping"].get<int>()) + " \"" +
                 CTestNetProcess::RawBytes(p["name"]) + "\"\n";
    }
    return reply;
}

std::string Unhex(const std::string& hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

struct CMasterAnswer
{
    std::vector<std::string> datagrams;
    std::vector<std::uint16_t> ports; // in listed order
    bool sawEnd = false;
};

// Asks the master and reads its whole answer, checking the framing on the way.
CMasterAnswer AskMaster(CTestNetProcess& net, const std::string& request,
                        std::chrono::milliseconds wait = 2000ms)
{
    CUdpClient client;
    client.SetReceiveBuffer(1 << 20);
    client.Send(net.MasterPort(), request);
    CMasterAnswer answer;
    while (!answer.sawEnd) {
        auto datagram = client.Receive(wait);
        if (!datagram)
            break;
        const std::string& bytes = datagram->bytes;
        EXPECT_EQ(datagram->fromPort, net.MasterPort());
        EXPECT_TRUE(bytes.starts_with(kMasterHeader));
        EXPECT_LE(bytes.size(), 1400u);
        answer.sawEnd = bytes.ends_with(kEndMarker);
        const std::size_t end = bytes.size() - (answer.sawEnd ? kEndMarker.size() : 0);
        EXPECT_EQ((end - kMasterHeader.size()) % 7, 0u);
        for (std::size_t at = kMasterHeader.size(); at + 7 <= end; at += 7) {
            EXPECT_EQ(bytes.substr(at, 5), "\\\x7F\x00\x00\x01"s);
            answer.ports.push_back(
                static_cast<std::uint16_t>((static_cast<unsigned char>(bytes[at + 5]) << 8) |
                                           static_cast<unsigned char>(bytes[at + 6])));
        }
        answer.datagrams.push_back(bytes);
    }
    return answer;
}

std::vector<std::uint16_t> ManifestPorts(const Json& manifest, int protocol, bool full, bool empty)
{
    std::vector<std::uint16_t> ports;
    for (const auto& s : manifest["servers"]) {
        if (s["protocol"] == protocol && (full || !s["full"].get<bool>()) &&
            (empty || !s["empty"].get<bool>())) {
            ports.push_back(s["port"]);
        }
    }
    return ports;
}

const Json& ServerWith(const Json& manifest, const std::string& behaviour, int nth = 0)
{
    for (const auto& s : manifest["servers"]) {
        if (s["behaviour"] == behaviour && nth-- == 0)
            return s;
    }
    throw std::runtime_error("no server behaves " + behaviour);
}

std::vector<std::string> Split(const std::string& line, const std::string& delimiter)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = line.find(delimiter, start);
        fields.push_back(line.substr(start, at == std::string::npos ? at : at - start));
        if (at == std::string::npos)
            return fields;
        start = at + delimiter.size();
    }
}

// Runs a command and returns its standard output.
std::string Capture(const std::string& command)
{
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    ::pclose(pipe);
    return output;
}

} // namespace

TEST(TestNetMaster, ListsByProtocolAndFullEmptyLikeRealMasters)
{
    CTestNetProcess net({"--count", "80", "--other-protocols", "25", "--seed", "4"});
    const Json& manifest = net.Manifest();
    for (const bool full : {false, true}) {
        for (const bool empty : {false, true}) {
            const CMasterAnswer answer = AskMaster(net, GetServers(60, full, empty));
            EXPECT_TRUE(answer.sawEnd);
            EXPECT_EQ(answer.ports, ManifestPorts(manifest, 60, full, empty))
                << "full=" << full << " empty=" << empty;
        }
    }
    // Filters really filter in this world.
    EXPECT_LT(ManifestPorts(manifest, 60, false, false).size(),
              ManifestPorts(manifest, 60, true, false).size());
    EXPECT_LT(ManifestPorts(manifest, 60, true, false).size(),
              ManifestPorts(manifest, 60, true, true).size());

    // Another protocol, and the request the way qstat sends it (line feed, no zero).
    const CMasterAnswer old = AskMaster(net, "\xFF\xFF\xFF\xFFgetservers 58 empty full\n");
    EXPECT_EQ(old.ports, ManifestPorts(manifest, 58, true, true));
    EXPECT_FALSE(old.ports.empty());
    const CMasterAnswer none = AskMaster(net, GetServers(61, true, true));
    EXPECT_EQ(none.datagrams, std::vector<std::string>{kMasterHeader + kEndMarker});
}

TEST(TestNetMaster, SilentDelayedAndPhantomEntries)
{
    {
        CTestNetProcess net({"--count", "5", "--master-silent"});
        CUdpClient client;
        client.Send(net.MasterPort(), GetServers(60, true, true));
        EXPECT_FALSE(client.Receive(300ms));
    }
    {
        CTestNetProcess net(
            {"--count", "5", "--master-delay", "250", "--master-extra", "3", "--silent", "2"});
        const auto sent = std::chrono::steady_clock::now();
        const CMasterAnswer answer = AskMaster(net, GetServers(60, true, true), 3000ms);
        const auto elapsed = std::chrono::steady_clock::now() - sent;
        EXPECT_GE(elapsed, 250ms);
        EXPECT_LT(elapsed, 2000ms);

        // All five servers (the silent ones too), then the three addresses where
        // nothing answers.
        std::vector<std::uint16_t> expected = net.ServerPorts();
        for (const auto& port : net.Manifest()["master"]["extra_ports"])
            expected.push_back(port);
        EXPECT_EQ(answer.ports, expected);
        CUdpClient client;
        for (const auto& port : net.Manifest()["master"]["extra_ports"])
            client.Send(port, kGetStatus);
        for (int i = 0; i < 2; ++i)
            client.Send(ServerWith(net.Manifest(), "silent", i)["port"], kGetStatus);
        EXPECT_FALSE(client.Receive(300ms));
    }
}

// One world with a server of every behaviour, shared by the tests of the game servers.
const Json& Manifest()
{
    static const CTestNetProcess net({"--count", "20", "--seed", "9", "--other-protocols", "5",
                                      "--silent", "1", "--resend-only", "1", "--duplicates", "1",
                                      "--hostile", "8"});
    return net.Manifest();
}

TEST(TestNetServer, EveryServerAnswersAsTheManifestSays)
{
    // Every server asked once by one client: the replies its behaviour calls for, each the
    // bytes the manifest gives.
    CUdpClient client;
    client.SetReceiveBuffer(1 << 20);
    for (const auto& server : Manifest()["servers"])
        client.Send(server["port"], kGetStatus);
    std::map<std::uint16_t, std::vector<std::string>> replies;
    for (auto& reply : client.ReceiveUntilQuiet(500ms, 5000ms))
        replies[reply.fromPort].push_back(std::move(reply.bytes));
    std::set<std::string> kinds;
    for (const auto& server : Manifest()["servers"]) {
        const std::string behaviour = server["behaviour"];
        SCOPED_TRACE(behaviour + " " + server["index"].dump());
        std::size_t count = 1;
        std::string expected;
        if (behaviour == "hostile") {
            kinds.insert(server["hostile_kind"]);
            expected = Unhex(server["status_hex"]);
        } else {
            count = behaviour == "duplicates" ? 3 : behaviour == "normal" ? 1 : 0;
            expected = count > 0 ? ExpectedStatus(server) : "";
        }
        EXPECT_EQ(replies[server["port"].get<std::uint16_t>()],
                  std::vector<std::string>(count, expected));
    }
    EXPECT_EQ(kinds.size(), 8u);
}

TEST(TestNetServer, ResendOnlyAnswersEverySecondRequestOfEachClient)
{
    const std::uint16_t port = ServerWith(Manifest(), "resend-only")["port"];
    CUdpClient first;
    CUdpClient second;
    std::vector<bool> answered;
    for (int i = 0; i < 4; ++i) {
        first.Send(port, kGetStatus);
        answered.push_back(first.Receive(300ms).has_value());
        if (i == 0) {
            // Another client's count is its own.
            second.Send(port, kGetStatus);
            EXPECT_FALSE(second.Receive(300ms));
            second.Send(port, kGetStatus);
            EXPECT_TRUE(second.Receive(2000ms));
        }
    }
    EXPECT_EQ(answered, (std::vector<bool>{false, true, false, true}));
}

TEST(TestNetServer, AcceptsRequestVariantsAndEchoesChallenges)
{
    const Json& server = ServerWith(Manifest(), "normal");
    const std::uint16_t port = server["port"];
    const std::string expected = ExpectedStatus(server);
    CUdpClient client;
    for (const std::string& request :
         {kGetStatus, "\xFF\xFF\xFF\xFFgetstatus\n"s, "\xFF\xFF\xFF\xFFgetstatus"s}) {
        client.Send(port, request);
        const auto reply = client.Receive(2000ms);
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->bytes, expected);
    }
    client.Send(port, "\xFF\xFF\xFF\xFFgetstatus 4711\n"s);
    const auto challenged = client.Receive(2000ms);
    ASSERT_TRUE(challenged);
    const std::size_t infoEnd = expected.find('\n', expected.find('\n') + 1);
    EXPECT_EQ(challenged->bytes,
              expected.substr(0, infoEnd) + "\\challenge\\4711" + expected.substr(infoEnd));

    client.Send(port, kGetInfo);
    const auto info = client.Receive(2000ms);
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->bytes.starts_with("\xFF\xFF\xFF\xFFinfoResponse\n\\"));
    EXPECT_NE(info->bytes.find("\\mapname\\" + CTestNetProcess::RawBytes(server["vars"][12][1])),
              std::string::npos);

    // Anything else is not answered.
    for (const std::string& junk : {"getstatus\n"s, "\xFF\xFF\xFF\xFFgetchallenge\n"s, ""s})
        client.Send(port, junk);
    EXPECT_FALSE(client.Receive(200ms));
}

TEST(TestNetServer, RepliesWaitForTheirDelay)
{
    CTestNetProcess net({"--count", "2", "--delays", "0,300", "--jitter", "50"});
    CUdpClient client;
    const auto& servers = net.Manifest()["servers"];
    ASSERT_EQ(servers[1]["delay_ms"], 300);
    const auto sent = std::chrono::steady_clock::now();
    client.Send(servers[1]["port"], kGetStatus);
    client.Send(servers[0]["port"], kGetStatus);
    const auto replies = client.ReceiveUntil(2, 3000ms);
    const auto elapsed = std::chrono::steady_clock::now() - sent;
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].fromPort, servers[0]["port"]) << "the undelayed server answers first";
    EXPECT_GE(elapsed, 300ms);
    EXPECT_LT(elapsed, 1500ms);
}

TEST(TestNetProcess, ServesTenThousandServers)
{
    CTestNetProcess::COptions options;
    options.args = {"--count", "10000"};
    options.readManifest = false;
    options.readyTimeout = std::chrono::seconds(90); // slow under the sanitizers
    CTestNetProcess net(options);
    EXPECT_EQ(net.ServerCount(), 10000);
    const CMasterAnswer answer = AskMaster(net, GetServers(60, true, true));
    EXPECT_TRUE(answer.sawEnd);
    ASSERT_EQ(answer.ports.size(), 10000u);
    EXPECT_EQ(std::set<std::uint16_t>(answer.ports.begin(), answer.ports.end()).size(), 10000u);
    // 195 records fill a datagram of 1400 bytes; only the last one ends the list.
    ASSERT_EQ(answer.datagrams.size(), 52u);
    for (std::size_t i = 0; i + 1 < answer.datagrams.size(); ++i) {
        EXPECT_EQ(answer.datagrams[i].size(), kMasterHeader.size() + 195 * 7);
        EXPECT_EQ(answer.datagrams[i].find("\\EOT"), std::string::npos);
    }
    CUdpClient client;
    for (const std::size_t i : {0u, 4999u, 9999u}) {
        client.Send(answer.ports[i], kGetStatus);
        const auto reply = client.Receive(2000ms);
        ASSERT_TRUE(reply) << i;
        EXPECT_TRUE(reply->bytes.starts_with("\xFF\xFF\xFF\xFFstatusResponse\n\\"));
    }
}

TEST(TestNetProcess, EndsCleanlyOnSignalAndAfterItsRunTime)
{
    CTestNetProcess stopped({"--count", "3"});
    EXPECT_EQ(stopped.Stop(), 0);

    CTestNetProcess timed({"--count", "3", "--run-time", "1"});
    const auto exit = timed.WaitForExit(5000ms);
    ASSERT_TRUE(exit) << "still running after its run time";
    EXPECT_EQ(*exit, 0);
}

TEST(TestNetQstat, QuakestatReadsMasterAndServers)
{
    const std::string quakestat = QUAKESTAT_PATH;
    if (quakestat.empty() || ::access(quakestat.c_str(), X_OK) != 0)
        GTEST_SKIP() << "quakestat is not installed";
    CTestNetProcess net({"--count", "24", "--seed", "3", "--other-protocols", "20"});
    std::map<std::uint16_t, Json> byPort;
    for (const auto& s : net.Manifest()["servers"])
        byPort[s["port"]] = s;

    // quakestat asks for "getservers 60 empty full" and then asks every server.
    const std::string output = Capture(quakestat + " -nocfg -raw '@@' -mi 0.3 -retry 2 -rwm " +
                                       net.MasterAddress() + " 2>&1");
    const std::size_t listed = ManifestPorts(net.Manifest(), 60, true, true).size();
    EXPECT_NE(output.find("RWM@@" + net.MasterAddress() + "@@" + std::to_string(listed) + "\n"),
              std::string::npos)
        << output;
    std::istringstream lines(output);
    std::string line;
    std::size_t servers = 0;
    while (std::getline(lines, line)) {
        if (!line.starts_with("RWS@@127.0.0.1:"))
            continue;
        // RWS@@address@@name@@map@@max players@@players@@ping@@retries
        const std::vector<std::string> fields = Split(line, "@@");
        ASSERT_GE(fields.size(), 6u) << line;
        const auto port = static_cast<std::uint16_t>(std::stoi(fields[1].substr(10)));
        ASSERT_TRUE(byPort.contains(port)) << line;
        const Json& server = byPort[port];
        EXPECT_EQ(server["protocol"], 60);
        EXPECT_TRUE(fields[2].ends_with(" #" + std::to_string(server["index"].get<int>() + 1)))
            << line;
        std::string map;
        for (const auto& pair : server["vars"]) {
            if (pair[0] == "mapname")
                map = pair[1];
        }
        EXPECT_EQ(fields[3], map) << line;
        EXPECT_EQ(std::stoul(fields[5]), server["players"].size()) << line;
        ++servers;
    }
    EXPECT_EQ(servers, listed) << output;

    // One server with its rules and players.
    const Json& one = ServerWith(net.Manifest(), "normal");
    const std::string detail = Capture(quakestat + " -nocfg -raw '@@' -R -P -rws 127.0.0.1:" +
                                       std::to_string(one["port"].get<int>()) + " 2>&1");
    EXPECT_NE(detail.find("g_gametype="), std::string::npos) << detail;
    EXPECT_NE(detail.find("@@" + std::to_string(one["max_clients"].get<int>()) + "@@" +
                          std::to_string(one["players"].size()) + "@@"),
              std::string::npos)
        << detail;
    // The server line, the rules line, then one line per player.
    std::size_t playerLines = 0;
    std::istringstream detailLines(detail);
    for (int n = 0; std::getline(detailLines, line); ++n) {
        if (n >= 2 && !line.empty())
            ++playerLines;
    }
    EXPECT_EQ(playerLines, one["players"].size()) << detail;
}
