// The running farsighter-testnet, seen from outside on 127.0.0.1.

#include "tests/support/TestNetProcess.h"
#include "tests/support/ProgramRun.h"

#include "net/SockUDP.h"
#include "net/Wait.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <map>
#include <optional>
#include <ranges>
#include <set>
#include <sstream>

using namespace std::chrono_literals;
using namespace std::string_literals;
using namespace std::string_view_literals;
using Json = nlohmann::json;

namespace {

const std::string kGetStatus("\xFF\xFF\xFF\xFFgetstatus\n\0", 15);
const std::string kGetInfo = "\xFF\xFF\xFF\xFFgetinfo\n";
const std::string kMasterHeader = "\xFF\xFF\xFF\xFFgetserversResponse";
const std::string kEndMarker("\\EOT\0\0\0", 7);

std::string GetServers(int protocol, bool full, bool empty)
{
    return "\xFF\xFF\xFF\xFFgetservers " + std::to_string(protocol) + (full ? " full" : "") +
           (empty ? " empty" : "") + '\0';
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

// A client on 127.0.0.1 that sends raw bytes and waits a bounded time for each answer.
class CUdpClient
{
public:
    struct CDatagram
    {
        std::string bytes;
        std::uint16_t fromPort = 0;
    };

    CUdpClient()
    {
        m_socket.Create(CSockAddr("127.0.0.1"));
        m_socket.SetReceiveBufferSize(1 << 20); // room for whole master lists
    }
    void Send(std::uint16_t port, const std::string& bytes)
    {
        CSockAddr to("127.0.0.1");
        to.SetPort(port);
        std::size_t length = bytes.size();
        EXPECT_EQ(m_socket.SendTo(bytes.data(), length, to), 0);
    }
    std::optional<CDatagram> Receive(std::chrono::milliseconds timeout)
    {
        const std::array<IWaitable*, 1> sources{&m_socket};
        CDatagram datagram;
        CSockAddr from;
        if (WaitForAny(sources, timeout) != 0 || m_socket.ReceiveFrom(datagram.bytes, from) != 0)
            return std::nullopt;
        datagram.fromPort = from.GetPort();
        return datagram;
    }

private:
    CSockUDP m_socket;
};

struct CMasterAnswer
{
    std::vector<std::string> datagrams;
    std::vector<std::uint16_t> ports; // in listed order
    bool sawEnd = false;
};

// Asks the master and reads its whole answer, checking the framing on the way.
CMasterAnswer AskMaster(const CTestNetProcess& net, const std::string& request,
                        std::chrono::milliseconds wait = 2000ms)
{
    CUdpClient client;
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

// The nth server of a behaviour, of the main protocol or of another one.
const Json& ServerWith(const Json& manifest, const std::string& behaviour, int nth = 0,
                       bool otherProtocol = false)
{
    for (const auto& s : manifest["servers"]) {
        if (s["behaviour"] == behaviour && (s["protocol"] != 60) == otherProtocol && nth-- == 0)
            return s;
    }
    throw std::runtime_error("no server behaves " + behaviour);
}

} // namespace

// One world with a server of every behaviour, shared by the tests that only ask.
const CTestNetProcess& World()
{
    static const CTestNetProcess net({"--count", "24", "--seed", "9", "--other-protocols", "6",
                                      "--silent", "1", "--resend-only", "1", "--duplicates", "1",
                                      "--hostile", "8"});
    return net;
}
const Json& Manifest()
{
    return World().Manifest();
}

TEST(TestNetMaster, ListsByProtocolAndFullEmptyLikeRealMasters)
{
    for (const bool full : {false, true}) {
        for (const bool empty : {false, true}) {
            const CMasterAnswer answer = AskMaster(World(), GetServers(60, full, empty));
            EXPECT_TRUE(answer.sawEnd);
            EXPECT_EQ(answer.ports, ManifestPorts(Manifest(), 60, full, empty))
                << "full=" << full << " empty=" << empty;
        }
    }
    // Filters really filter in this world.
    EXPECT_LT(ManifestPorts(Manifest(), 60, false, false).size(),
              ManifestPorts(Manifest(), 60, true, false).size());
    EXPECT_LT(ManifestPorts(Manifest(), 60, true, false).size(),
              ManifestPorts(Manifest(), 60, true, true).size());

    // Another protocol, asked the way qstat asks (line feed, no zero byte, keywords in any
    // order), or without an end; a protocol nobody runs; and what is no master query at all.
    const std::string getservers = "\xFF\xFF\xFF\xFFgetservers ";
    const int other = ServerWith(Manifest(), "normal", 0, true)["protocol"];
    EXPECT_EQ(AskMaster(World(), getservers + std::to_string(other) + " empty full\n").ports,
              ManifestPorts(Manifest(), other, true, true));
    EXPECT_EQ(AskMaster(World(), getservers + std::to_string(other) + " empty\n").ports,
              ManifestPorts(Manifest(), other, false, true));
    EXPECT_EQ(AskMaster(World(), getservers + "60").ports,
              ManifestPorts(Manifest(), 60, false, false));
    EXPECT_EQ(AskMaster(World(), GetServers(61, true, true)).datagrams,
              std::vector<std::string>{kMasterHeader + kEndMarker});
    for (const std::string& junk : {"\xFF\xFF\xFF\xFFgetservers"s, getservers + "sixty",
                                    getservers + "60x", "\xFF\xFF\xFF\xFFgetstatus 60"s})
        EXPECT_TRUE(AskMaster(World(), junk, 200ms).datagrams.empty()) << junk;
}

TEST(TestNetProcess, DelaysSilenceAndPhantomEntriesAsAsked)
{
    // A silent master: QueryCommandLineTest.FailuresExitWithTheirCodeAndAHarmlessMessageOnly.
    CUdpClient client;
    CTestNetProcess net({"--count", "6", "--master-delay", "250", "--master-extra", "3", "--silent",
                         "2", "--delays", "0,300", "--jitter", "50"});
    auto sent = std::chrono::steady_clock::now();
    const CMasterAnswer answer = AskMaster(net, GetServers(60, true, true), 3000ms);
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 250ms);
    EXPECT_LT(std::chrono::steady_clock::now() - sent, 2000ms);
    // All six servers (the silent ones too), then three addresses where nothing answers.
    std::vector<std::uint16_t> expected = net.ServerPorts();
    for (const auto& port : net.Manifest()["master"]["extra_ports"])
        expected.push_back(port);
    EXPECT_EQ(answer.ports, expected);

    // Servers wait for their delay: the undelayed one answers first.
    std::uint16_t ports[2] = {};
    for (const auto& server : net.Manifest()["servers"]) {
        if (server["behaviour"] == "normal")
            ports[server["delay_ms"] == 300 ? 1 : 0] = server["port"];
    }
    ASSERT_TRUE(ports[0] != 0 && ports[1] != 0);
    sent = std::chrono::steady_clock::now();
    client.Send(ports[1], kGetStatus);
    client.Send(ports[0], kGetStatus);
    const auto first = client.Receive(3000ms);
    const auto second = client.Receive(3000ms);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->fromPort, ports[0]);
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 300ms);
    EXPECT_LT(std::chrono::steady_clock::now() - sent, 1500ms);

    for (std::size_t i = net.ServerPorts().size(); i < expected.size(); ++i)
        client.Send(expected[i], kGetStatus);
    for (int i = 0; i < 2; ++i)
        client.Send(ServerWith(net.Manifest(), "silent", i)["port"], kGetStatus);
    EXPECT_FALSE(client.Receive(300ms));
    EXPECT_EQ(net.Stop(), 0) << "ends cleanly on a signal";
}

TEST(TestNetServer, EveryServerAnswersAsTheManifestSays)
{
    // Every server asked once by one client: the replies its behaviour calls for, each the
    // bytes the manifest gives.
    CUdpClient client;
    for (const auto& server : Manifest()["servers"])
        client.Send(server["port"], kGetStatus);
    std::map<std::uint16_t, std::vector<std::string>> replies;
    while (auto reply = client.Receive(500ms))
        replies[reply->fromPort].push_back(std::move(reply->bytes));
    std::set<std::string> kinds;
    for (const auto& server : Manifest()["servers"]) {
        const std::string behaviour = server["behaviour"];
        SCOPED_TRACE(behaviour + " " + server["index"].dump());
        const bool hostile = behaviour == "hostile";
        if (hostile)
            kinds.insert(server["hostile_kind"]);
        const std::size_t count = hostile                     ? 1
                                  : behaviour == "duplicates" ? 3
                                  : behaviour == "normal"     ? 1
                                                              : 0;
        const std::string expected = hostile     ? Unhex(server["status_hex"])
                                     : count > 0 ? ExpectedStatus(server)
                                                 : "";
        EXPECT_EQ(replies[server["port"].get<std::uint16_t>()],
                  std::vector<std::string>(count, expected));
    }
    EXPECT_EQ(kinds.size(), 8u);
}

TEST(TestNetServer, ResendOnlyAnswersEverySecondRequestAndVariantsAndChallengesAreAccepted)
{
    const std::uint16_t resendOnly = ServerWith(Manifest(), "resend-only")["port"];
    CUdpClient first;
    CUdpClient second; // another client's count is its own
    std::vector<bool> answered;
    for (CUdpClient* client : {&first, &first, &second, &first, &second, &first}) {
        client->Send(resendOnly, kGetStatus);
        answered.push_back(client->Receive(300ms).has_value());
    }
    EXPECT_EQ(answered, (std::vector<bool>{false, true, false, false, true, true}));

    const Json& server = ServerWith(Manifest(), "normal");
    const std::uint16_t port = server["port"];
    const std::string expected = ExpectedStatus(server);
    const std::size_t infoEnd = expected.find('\n', expected.find('\n') + 1);
    CUdpClient client;
    const std::pair<std::string, std::string> cases[] = {
        {kGetStatus, expected},
        {"\xFF\xFF\xFF\xFFgetstatus\n", expected},
        {"\xFF\xFF\xFF\xFFgetstatus", expected},
        {"\xFF\xFF\xFF\xFFgetstatus 4711\n",
         expected.substr(0, infoEnd) + "\\challenge\\4711" + expected.substr(infoEnd)},
    };
    for (const auto& [request, reply] : cases) {
        client.Send(port, request);
        const auto got = client.Receive(2000ms);
        ASSERT_TRUE(got);
        EXPECT_EQ(got->bytes, reply);
    }
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
    ASSERT_EQ(std::set<std::uint16_t>(answer.ports.begin(), answer.ports.end()).size(), 10000u);
    // 195 records fill a datagram of 1400 bytes; only the last one ends the list.
    ASSERT_EQ(answer.datagrams.size(), 52u);
    for (std::size_t i = 0; i + 1 < answer.datagrams.size(); ++i)
        EXPECT_EQ(answer.datagrams[i].size(), kMasterHeader.size() + 195 * 7);
    CUdpClient client;
    for (const std::size_t i : {0u, 4999u, 9999u}) {
        client.Send(answer.ports[i], kGetStatus);
        const auto reply = client.Receive(2000ms);
        ASSERT_TRUE(reply) << i;
        EXPECT_TRUE(reply->bytes.starts_with("\xFF\xFF\xFF\xFFstatusResponse\n\\"));
    }
}

TEST(TestNetProcess, EndsCleanlyAfterItsRunTime)
{
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

    // quakestat asks for "getservers 60 empty full" and then asks every server for its rules
    // (name, map, slots) and player lines.
    const std::string output =
        RunProgram(
            quakestat,
            {"-nocfg", "-raw", "@@", "-mi", "0.3", "-retry", "2", "-rwm", net.MasterAddress()}, 60s)
            .out;
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
        std::vector<std::string> fields;
        for (const auto field : std::views::split(line, "@@"sv))
            fields.emplace_back(field.begin(), field.end());
        ASSERT_GE(fields.size(), 6u) << line;
        const auto port = static_cast<std::uint16_t>(std::stoi(fields[1].substr(10)));
        ASSERT_TRUE(byPort.contains(port)) << line;
        const Json& server = byPort[port];
        EXPECT_EQ(server["protocol"], 60);
        EXPECT_TRUE(fields[2].ends_with(" #" + std::to_string(server["index"].get<int>() + 1)))
            << line;
        EXPECT_EQ(fields[3], server["vars"][12][1]) << line;
        EXPECT_EQ(std::stoi(fields[4]),
                  server["max_clients"].get<int>() - server["private_clients"].get<int>())
            << line; // public slots
        EXPECT_EQ(std::stoul(fields[5]), server["players"].size()) << line;
        ++servers;
    }
    EXPECT_EQ(servers, listed) << output;
}
