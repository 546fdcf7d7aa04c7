#include "LoopbackPeers.h"

#include "net/Error.h"
#include "net/Event.h"
#include "query/MasterQuery.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <mutex>
#include <thread>

using namespace std::chrono_literals;
using namespace std::string_literals;
using SteadyClock = std::chrono::steady_clock;

namespace {

struct Listed
{
    std::uint32_t address; // host order: 0x01020304 is 1.2.3.4
    std::uint16_t port;
};

std::string Record(Listed server)
{
    std::string record = "\\";
    for (int shift = 24; shift >= 0; shift -= 8)
        record.push_back(static_cast<char>((server.address >> shift) & 0xFF));
    record.push_back(static_cast<char>(server.port >> 8));
    record.push_back(static_cast<char>(server.port & 0xFF));
    return record;
}

// A reply datagram as masters send it: header, records, and the end marker if asked.
std::string MasterDatagram(const std::vector<Listed>& servers, bool endMarker)
{
    std::string datagram = "\xFF\xFF\xFF\xFFgetserversResponse";
    for (const auto& server : servers)
        datagram += Record(server);
    if (endMarker)
        datagram += "\\EOT\0\0\0"s;
    return datagram;
}

std::vector<std::string> Keys(const CServerMap& map)
{
    std::vector<std::string> keys;
    for (const auto& [address, server] : map) {
        EXPECT_EQ(server.name, address.ToString());
        keys.push_back(address.ToString());
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

// A master server on 127.0.0.1, served by a thread: records the requests and answers each
// one (after ignoring the first few) with its datagrams.
class CFakeMaster
{
public:
    struct Setup
    {
        int ignoreFirst = 0;
        bool silent = false;
        std::vector<std::string> datagrams;
        std::string fromImpostor; // sent from another port before each answer
        bool endless = false;     // keeps sending its datagrams until stopped
    };

    explicit CFakeMaster(Setup setup) : m_setup(std::move(setup))
    {
        CreateOnLoopback(m_socket);
        CreateOnLoopback(m_impostor);
        m_thread = std::thread([this] { Serve(); });
    }
    ~CFakeMaster()
    {
        m_stop.Set();
        m_thread.join();
    }

    CSockAddr Address() const { return m_socket.LocalAddress(); }
    std::vector<std::string> Requests() const
    {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    void Serve()
    {
        pollfd fds[2] = {{m_stop.WaitDescriptor(), POLLIN, 0},
                         {m_socket.WaitDescriptor(), POLLIN, 0}};
        std::string request;
        CSockAddr from;
        for (;;) {
            poll(fds, 2, -1);
            if (fds[0].revents != 0)
                return;
            if (m_socket.ReceiveFrom(request, from) != 0)
                continue;
            std::size_t count = 0;
            {
                std::lock_guard lock(m_mutex);
                m_requests.push_back(request);
                count = m_requests.size();
            }
            if (m_setup.silent || count <= static_cast<std::size_t>(m_setup.ignoreFirst))
                continue;
            if (!m_setup.fromImpostor.empty())
                m_impostor.SendTo(m_setup.fromImpostor, from);
            do {
                for (std::size_t i = 0; i < m_setup.datagrams.size(); ++i) {
                    std::size_t length = m_setup.datagrams[i].size();
                    m_socket.SendTo(m_setup.datagrams[i].data(), length, from);
                    if (i % 32 == 31) // let the reader keep up with long lists
                        std::this_thread::sleep_for(1ms);
                }
            } while (m_setup.endless && !m_stop.Wait(0ms));
        }
    }

    Setup m_setup;
    CSockUDP m_socket;
    CSockUDP m_impostor;
    CEvent m_stop{false, true}; // manual reset: stays set once set
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};

MasterQueryOptions FastOptions()
{
    MasterQueryOptions options;
    options.firstTimeout = 100ms;
    options.timeoutStep = 50ms;
    return options;
}

} // namespace

TEST(MasterRequestTest, RequestTextByVersionAndFlags)
{
    EXPECT_EQ(BuildMasterRequest(ProtocolForVersionIndex(4), true, true),
              "\xFF\xFF\xFF\xFFgetservers 60 full empty");
    EXPECT_EQ(BuildMasterRequest(60, false, true), "\xFF\xFF\xFF\xFFgetservers 60 empty");
    EXPECT_EQ(BuildMasterRequest(57, true, false), "\xFF\xFF\xFF\xFFgetservers 57 full");
    EXPECT_EQ(BuildMasterRequest(56, false, false), "\xFF\xFF\xFF\xFFgetservers 56");
    EXPECT_EQ(ProtocolForVersionIndex(0), 56);
    EXPECT_EQ(kVersionNames[3], "1.32 - 1.33");
    EXPECT_EQ(kNoMasterResponse, "No response from master server.");
}

TEST(MasterReplyTest, ReadsRecordsUpToTheMarkerOrTheEnd)
{
    CServerMap map;
    ParseMasterReply(MasterDatagram({{0x01020304, 27960}, {0x0A000001, 256}}, true) + "\\junk",
                     map);
    EXPECT_EQ(Keys(map), (std::vector<std::string>{"1.2.3.4:27960", "10.0.0.1:256"}));

    map.clear();
    // No marker; the last record is cut off by the end of the datagram.
    ParseMasterReply(MasterDatagram({{0x01020304, 1}, {0x05060708, 2}}, false) + "\\\x09\x09", map);
    EXPECT_EQ(Keys(map), (std::vector<std::string>{"1.2.3.4:1", "5.6.7.8:2"}));

    map.clear();
    ParseMasterReply("no backslash at all", map);
    ParseMasterReply("", map);
    ParseMasterReply("\\EOT", map);
    EXPECT_TRUE(map.empty());
}

TEST(MasterReplyTest, ZeroBytesAreDataButEndTheListAsSeparators)
{
    CServerMap map;
    // Address 0.0.0.0 port 0 is a record; a zero byte in the separator position ends.
    const std::string datagram =
        MasterDatagram({{0, 0}, {0x00000100, 0x0100}}, false) + "\0"s + Record({9, 9}).substr(1);
    ParseMasterReply(datagram, map);
    EXPECT_EQ(Keys(map), (std::vector<std::string>{"0.0.0.0:0", "0.0.1.0:256"}));
}

TEST(MasterReplyTest, AnAddressThatSpellsEotEndsTheList)
{
    CServerMap map;
    // 69.79.84.x is "EOT" followed by x: read as the end marker.
    ParseMasterReply(MasterDatagram({{0x01010101, 1}, {0x454F5407, 27960}, {0x02020202, 2}}, false),
                     map);
    EXPECT_EQ(Keys(map), std::vector<std::string>{"1.1.1.1:1"});
}

TEST(MasterReplyTest, GarbageBetweenRecordsIsTakenAsRecords)
{
    CServerMap map;
    // The separator is not checked: seven bytes after the first backslash make a record.
    ParseMasterReply("hdr\\"
                     "\x01\x02\x03\x04\x00\x50"
                     "X\x05\x06\x07\x08\x00\x51"s,
                     map);
    EXPECT_EQ(Keys(map), (std::vector<std::string>{"1.2.3.4:80", "5.6.7.8:81"}));
}

TEST(MasterReplyTest, AServerListedTwiceGetsOneFreshRecord)
{
    CServerMap map;
    const CSockAddr address("1.2.3.4:27960");
    map.insert_or_assign(address, CServer(address, "old name", "old password"));
    ParseMasterReply(MasterDatagram({{0x01020304, 27960}}, false), map);
    ParseMasterReply(MasterDatagram({{0x01020304, 27960}, {0x01020305, 1}}, true), map);
    ASSERT_EQ(map.size(), 2u);
    EXPECT_EQ(map.at(address).name, "1.2.3.4:27960");
    EXPECT_EQ(map.at(address).password, "");
    EXPECT_EQ(map.at(address).timeout, 1000u);
}

TEST(MasterQueryTest, AnsweringMasterFillsTheMap)
{
    CFakeMaster::Setup setup;
    setup.datagrams = {MasterDatagram({{0x01020304, 27960}}, false),
                       MasterDatagram({{0x01020304, 27960}, {0x05060708, 27961}}, true)};
    CFakeMaster master(setup);
    CServerMap map;
    map.insert_or_assign(CSockAddr("9.9.9.9:9"), CServer(CSockAddr("9.9.9.9:9")));
    MasterQueryStats stats;
    const std::string request = BuildMasterRequest(60, true, false);
    ASSERT_EQ(QueryMaster(master.Address(), request, map, FastOptions(), &stats),
              MasterResult::Answered);
    EXPECT_EQ(Keys(map), (std::vector<std::string>{"1.2.3.4:27960", "5.6.7.8:27961"}));
    EXPECT_EQ(stats.attempts, 1);
    EXPECT_EQ(stats.listWait, 200ms);
    EXPECT_EQ(stats.datagrams, 4u); // the list twice: for the probe and for the request

    const auto requests = master.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], request + '\0');
    EXPECT_EQ(requests[1], requests[0]);
}

TEST(MasterQueryTest, AnswerToTheSecondAttemptIsUsedWithItsLongerTimeOut)
{
    CFakeMaster::Setup setup;
    setup.ignoreFirst = 1;
    setup.datagrams = {MasterDatagram({{0x01020304, 27960}}, true)};
    CFakeMaster master(setup);
    CServerMap map;
    MasterQueryStats stats;
    const auto start = SteadyClock::now();
    ASSERT_EQ(QueryMaster(master.Address(), BuildMasterRequest(60, true, true), map, FastOptions(),
                          &stats),
              MasterResult::Answered);
    const auto took = SteadyClock::now() - start;
    EXPECT_EQ(stats.attempts, 2);
    EXPECT_EQ(stats.listWait, 300ms); // twice the second attempt's 150 ms
    EXPECT_EQ(master.Requests().size(), 3u);
    EXPECT_EQ(Keys(map), std::vector<std::string>{"1.2.3.4:27960"});
    // The first attempt's 100 ms, then the list's final silence of 300 ms.
    EXPECT_GE(took, 400ms);
    EXPECT_LT(took, 2000ms);
}

TEST(MasterQueryTest, SilentMasterLeavesTheMapUntouched)
{
    CFakeMaster::Setup setup;
    setup.silent = true;
    CFakeMaster master(setup);
    CServerMap map;
    const CSockAddr kept("9.9.9.9:9");
    map.insert_or_assign(kept, CServer(kept, "kept"));
    MasterQueryStats stats;
    const auto start = SteadyClock::now();
    EXPECT_EQ(QueryMaster(master.Address(), BuildMasterRequest(60, false, false), map,
                          FastOptions(), &stats),
              MasterResult::NoResponse);
    const auto took = SteadyClock::now() - start;
    EXPECT_EQ(stats.attempts, 3);
    EXPECT_EQ(master.Requests().size(), 3u);
    ASSERT_EQ(map.size(), 1u);
    EXPECT_EQ(map.at(kept).name, "kept");
    EXPECT_GE(took, 450ms); // 100 + 150 + 200
    EXPECT_LT(took, 2000ms);
}

TEST(MasterQueryTest, DatagramsFromOtherAddressesAreIgnored)
{
    CFakeMaster::Setup setup;
    setup.datagrams = {MasterDatagram({{0x01020304, 1}}, true)};
    setup.fromImpostor = MasterDatagram({{0x06060606, 6}}, true);
    CFakeMaster master(setup);
    CServerMap map;
    ASSERT_EQ(
        QueryMaster(master.Address(), BuildMasterRequest(60, false, false), map, FastOptions()),
        MasterResult::Answered);
    EXPECT_EQ(Keys(map), std::vector<std::string>{"1.2.3.4:1"});
}

TEST(MasterQueryTest, SocketErrorsAreThrownWithTheirText)
{
    CServerMap map;
    map.insert_or_assign(CSockAddr("9.9.9.9:9"), CServer(CSockAddr("9.9.9.9:9")));
    CSockAddr broadcast;
    broadcast.Parse("255.255.255.255:27950", CSockAddr::Lookup::NumericOnly);
    try {
        QueryMaster(broadcast, BuildMasterRequest(60, false, false), map, FastOptions());
        FAIL() << "no exception";
    } catch (const CSockErr& error) {
        EXPECT_STREQ(error.what(), "Socket Error 10013 : Permission denied");
    }
    EXPECT_EQ(map.size(), 1u);
}

TEST(MasterQueryTest, HostileMasterListingAHundredThousandAddresses)
{
    constexpr std::uint32_t kServers = 100'000;
    constexpr std::uint32_t kPerDatagram = 200;
    std::vector<std::string> datagrams;
    for (std::uint32_t first = 0; first < kServers; first += kPerDatagram) {
        std::vector<Listed> servers;
        for (std::uint32_t i = first; i < first + kPerDatagram; ++i)
            servers.push_back({0x0A000000 + i, 27960});
        datagrams.push_back(MasterDatagram(servers, first + kPerDatagram >= kServers));
    }
    CFakeMaster::Setup setup;
    setup.datagrams = datagrams;
    CFakeMaster master(setup);
    CServerMap map;
    MasterQueryStats stats;
    ASSERT_EQ(QueryMaster(master.Address(), BuildMasterRequest(60, true, true), map, FastOptions(),
                          &stats),
              MasterResult::Answered);
    EXPECT_EQ(map.size(), kServers);
    EXPECT_EQ(stats.datagrams, 2 * datagrams.size());          // every datagram of both answers
    EXPECT_EQ(map.count(CSockAddr("10.1.134.159:27960")), 1u); // the last one: 0x0A01869F
}

TEST(MasterQueryTest, AMasterThatNeverStopsSendingIsCutOff)
{
    CFakeMaster::Setup setup;
    setup.datagrams = {MasterDatagram({{0x01020304, 1}, {0x01020305, 1}}, false)};
    setup.endless = true;
    CFakeMaster master(setup);
    MasterQueryOptions options = FastOptions();
    options.maxListTime = 300ms;
    CServerMap map;
    const auto start = SteadyClock::now();
    ASSERT_EQ(QueryMaster(master.Address(), BuildMasterRequest(60, true, true), map, options),
              MasterResult::Answered);
    EXPECT_LT(SteadyClock::now() - start, 3000ms);
    EXPECT_EQ(map.size(), 2u); // a flood of duplicates leaves one record each
}
