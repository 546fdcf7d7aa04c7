#include "Loopback.h"

#include "net/Error.h"
#include "net/Event.h"
#include "query/MasterQuery.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <algorithm>
#include <mutex>
#include <thread>

using namespace std::chrono_literals;
using namespace std::string_literals;
using SteadyClock = std::chrono::steady_clock;

namespace {

// 7-byte records of servers given as host-order address and port, after a master's header.
std::string MasterDatagram(const std::vector<std::pair<std::uint32_t, std::uint16_t>>& servers,
                           bool endMarker)
{
    std::string datagram = "\xFF\xFF\xFF\xFFgetserversResponse";
    for (const auto& [address, port] : servers) {
        datagram += '\\';
        for (int shift = 24; shift >= 0; shift -= 8)
            datagram += static_cast<char>(address >> shift);
        datagram += static_cast<char>(port >> 8);
        datagram += static_cast<char>(port);
    }
    return endMarker ? datagram + "\\EOT\0\0\0"s : datagram;
}

// The sorted keys of a map, checking that every record is named by its address.
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

// A master on 127.0.0.1, served by a thread: records the requests and answers each one,
// after ignoring the first few, with its datagrams (and, if given, an impostor's datagram
// from another port first).
class CFakeMaster
{
public:
    int ignoreFirst = 0;
    bool endless = false;           // keeps sending its datagrams until stopped
    bool floodFromImpostor = false; // then keeps sending fromImpostor until stopped
    std::vector<std::string> datagrams;
    std::string fromImpostor;

    CFakeMaster()
    {
        CreateOnLoopback(m_socket);
        CreateOnLoopback(m_impostor);
    }
    ~CFakeMaster()
    {
        m_stop.Set();
        if (m_thread.joinable())
            m_thread.join();
    }
    // Starts serving; the settings above must be made before.
    CSockAddr Start()
    {
        m_thread = std::thread([this] { Serve(); });
        return m_socket.LocalAddress();
    }
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
        while (poll(fds, 2, -1) >= 0 && fds[0].revents == 0) {
            if (m_socket.ReceiveFrom(request, from) != 0)
                continue;
            std::lock_guard lock(m_mutex);
            m_requests.push_back(request);
            if (m_requests.size() <= static_cast<std::size_t>(ignoreFirst))
                continue;
            if (!fromImpostor.empty())
                m_impostor.SendTo(fromImpostor, from);
            do {
                for (std::size_t i = 0; i < datagrams.size(); ++i) {
                    std::size_t length = datagrams[i].size();
                    m_socket.SendTo(datagrams[i].data(), length, from);
                    if (i % 32 == 31) // let the reader keep up with long lists
                        std::this_thread::sleep_for(1ms);
                }
            } while (endless && !m_stop.Wait(0ms));
            while (floodFromImpostor && !m_stop.Wait(2ms))
                m_impostor.SendTo(fromImpostor, from);
        }
    }

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

TEST(MasterQueryTest, RepliesAreReadUpToTheEndOfTheList)
{
    const auto keys = [](const std::string& datagram) {
        CServerMap map;
        ParseMasterReply(datagram, map);
        return Keys(map);
    };
    using Keys = std::vector<std::string>;
    EXPECT_EQ(keys(MasterDatagram({{0x01020304, 27960}, {0x0A000001, 256}}, true) + "\\junk"),
              (Keys{"1.2.3.4:27960", "10.0.0.1:256"}));
    // Without a marker, up to the last whole record.
    EXPECT_EQ(keys(MasterDatagram({{0x01020304, 1}}, false) + "\\\x09\x09"), Keys{"1.2.3.4:1"});
    // 69.79.84.x spells "\EOT", but with a real port it is a server; the marker is followed
    // by zero bytes, or cut off by the end of the datagram.
    EXPECT_EQ(keys(MasterDatagram({{0x01010101, 1}, {0x454F5407, 2}, {0x02020202, 3}}, true)),
              (Keys{"1.1.1.1:1", "2.2.2.2:3", "69.79.84.7:2"}));
    EXPECT_EQ(keys(MasterDatagram({{0x01010101, 1}}, false) + "\\EOT\x07\0\0"s +
                   MasterDatagram({{0x02020202, 3}}, false)),
              Keys{"1.1.1.1:1"});
    EXPECT_EQ(keys(MasterDatagram({{0x01010101, 1}}, false) + "\\EOT"), Keys{"1.1.1.1:1"});
    // Zero bytes are data inside a record but end the list where a separator is due.
    EXPECT_EQ(keys(MasterDatagram({{0, 0}}, false) + "\0\x09\x09\x09\x09\0\x09"s),
              Keys{"0.0.0.0:0"});
    // The separator is not checked: garbage there starts a record all the same.
    EXPECT_EQ(keys("hdr\\\x01\x02\x03\x04\x00\x50X\x05\x06\x07\x08\x00\x51"s),
              (Keys{"1.2.3.4:80", "5.6.7.8:81"}));
    EXPECT_EQ(keys("no backslash"), Keys{});

    // A listed address replaces an earlier record with a fresh one.
    CServerMap map;
    const CSockAddr address("1.2.3.4:27960");
    map.insert_or_assign(address, CServer(address, "old name", "old password"));
    ParseMasterReply(MasterDatagram({{0x01020304, 27960}}, false), map);
    EXPECT_EQ(map.at(address).name, "1.2.3.4:27960");
    EXPECT_EQ(map.at(address).password, "");
}

// An attempt left unanswered is repeated with a longer time-out; a master silent to every
// attempt, a cancelled query and a socket error leave the map untouched.
TEST(MasterQueryTest, AttemptsAreRepeatedWithLongerTimeOutsAndFailuresLeaveTheMapUntouched)
{
    CFakeMaster second;
    second.ignoreFirst = 1;
    second.datagrams = {MasterDatagram({{0x01020304, 27960}}, true)};
    CServerMap map;
    MasterQueryStats stats;
    auto start = SteadyClock::now();
    ASSERT_EQ(QueryMaster(second.Start(),
                          BuildMasterRequest(ProtocolForVersionIndex(4), true, true), map,
                          FastOptions(), &stats),
              MasterResult::Answered);
    const auto took = SteadyClock::now() - start;
    EXPECT_EQ(stats.attempts, 2);
    EXPECT_EQ(stats.listWait, 300ms); // twice the second attempt's 150 ms
    EXPECT_EQ(second.Requests(),
              std::vector<std::string>(3, "\xFF\xFF\xFF\xFFgetservers 60 full empty\0"s));
    EXPECT_EQ(Keys(map), std::vector<std::string>{"1.2.3.4:27960"});
    EXPECT_GE(took, 400ms); // the first attempt's 100 ms, then 300 ms of final silence
    EXPECT_LT(took, 2000ms);

    CFakeMaster silent;
    silent.ignoreFirst = 3; // every attempt
    const CSockAddr address = silent.Start();
    map.begin()->second.name = "kept";
    start = SteadyClock::now();
    EXPECT_EQ(QueryMaster(address, BuildMasterRequest(56, false, false), map, FastOptions()),
              MasterResult::NoResponse);
    EXPECT_GE(SteadyClock::now() - start, 450ms); // 100 + 150 + 200
    EXPECT_EQ(silent.Requests(), std::vector<std::string>(3, "\xFF\xFF\xFF\xFFgetservers 56\0"s));
    // A cancelled query ends at its first wait instead of waiting the attempts out.
    CEvent cancel(true, true);
    MasterQueryOptions cancelled = FastOptions();
    cancelled.cancel = &cancel;
    start = SteadyClock::now();
    EXPECT_EQ(QueryMaster(address, BuildMasterRequest(60, false, false), map, cancelled),
              MasterResult::Cancelled);
    EXPECT_LT(SteadyClock::now() - start, 100ms);

    CSockAddr broadcast;
    broadcast.Parse("255.255.255.255:27950", CSockAddr::Lookup::NumericOnly);
    // Which error depends on the machine's network (no broadcast, no route, ...).
    EXPECT_THROW(QueryMaster(broadcast, BuildMasterRequest(60, false, false), map, FastOptions()),
                 CSockErr);
    ASSERT_EQ(map.size(), 1u);
    EXPECT_EQ(map.begin()->second.name, "kept");
}

TEST(MasterQueryTest, HostileMastersListingVeryManyServersOrNeverStopping)
{
    CFakeMaster master;
    for (std::uint32_t first = 0; first < 100'000; first += 200) {
        std::vector<std::pair<std::uint32_t, std::uint16_t>> servers;
        for (std::uint32_t i = first; i < first + 200; ++i)
            servers.emplace_back(0x0A000000 + i, 27960);
        master.datagrams.push_back(MasterDatagram(servers, first + 200 == 100'000));
    }
    CServerMap map;
    MasterQueryStats stats;
    ASSERT_EQ(QueryMaster(master.Start(), BuildMasterRequest(60, false, true), map, FastOptions(),
                          &stats),
              MasterResult::Answered);
    EXPECT_EQ(master.Requests().at(0), "\xFF\xFF\xFF\xFFgetservers 60 empty\0"s);
    // Reading stops at the cap: the first kMaxListedServers addresses, and a note of it.
    EXPECT_EQ(map.size(), kMaxListedServers);
    EXPECT_TRUE(stats.capped);
    EXPECT_EQ(map.count(CSockAddr("10.0.255.255:27960")), 1u);
    EXPECT_EQ(map.count(CSockAddr("10.1.0.0:27960")), 0u);

    CFakeMaster endless;
    endless.datagrams = {MasterDatagram({{0x01020304, 1}, {0x01020305, 1}}, false)};
    endless.endless = true;
    MasterQueryOptions options = FastOptions();
    options.maxListTime = 300ms;
    const auto start = SteadyClock::now();
    ASSERT_EQ(
        QueryMaster(endless.Start(), BuildMasterRequest(60, true, true), map, options, &stats),
        MasterResult::Answered);
    EXPECT_LT(SteadyClock::now() - start, 3000ms);
    EXPECT_EQ(map.size(), 2u); // a flood of duplicates leaves one record each
    EXPECT_FALSE(stats.capped);
}

TEST(MasterQueryTest, ForeignDatagramsDoNotHoldTheListOpen)
{
    CFakeMaster master;
    master.datagrams = {MasterDatagram({{0x01020304, 27960}}, true)};
    master.fromImpostor = MasterDatagram({{0x06060606, 6}}, true);
    master.floodFromImpostor = true;
    MasterQueryOptions options = FastOptions();
    options.maxListTime = 10s;
    CServerMap map;
    const auto start = SteadyClock::now();
    ASSERT_EQ(QueryMaster(master.Start(), BuildMasterRequest(60, true, true), map, options),
              MasterResult::Answered);
    // 200 ms of silence from the master end the list, however much the impostor sends.
    EXPECT_LT(SteadyClock::now() - start, 2000ms);
    EXPECT_EQ(Keys(map), std::vector<std::string>{"1.2.3.4:27960"});
}
