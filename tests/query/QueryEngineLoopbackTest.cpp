// Scans with the real timer and the real clock against sockets on 127.0.0.1. Timing is
// checked with generous bounds only.
#include "Loopback.h"
#include "RecordingListener.h"

#include "net/Event.h"
#include "net/Wait.h"
#include "query/QueryEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <poll.h>
#include <thread>

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

TEST(QueryEngineLoopbackTest, PingIsMeasuredWithTheRealClock)
{
    CSockUDP peer;
    CreateOnLoopback(peer);
    CRecordingListener listener;
    CQueryEngine engine(listener);
    engine.Servers().insert_or_assign(peer.LocalAddress(), CServer(peer.LocalAddress()));
    const auto start = SteadyClock::now();
    ASSERT_TRUE(engine.StartQuery(1));

    // Play the server: answer the request after 40 ms.
    std::array<IWaitable*, 1> sources{&peer};
    ASSERT_EQ(WaitForAny(sources, 5000ms), 0);
    std::string request;
    CSockAddr client;
    ASSERT_EQ(peer.ReceiveFrom(request, client), 0);
    ASSERT_EQ(request, kStatusRequest);
    std::this_thread::sleep_for(40ms);
    ASSERT_EQ(peer.SendTo(StatusReply("g_gametype\\5"), client), 0);

    ASSERT_TRUE(listener.WaitEnded(1, 5s));
    EXPECT_LT(SteadyClock::now() - start, 1500ms); // reported and ended at the next ticks
    const auto reports = listener.Reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].tries, 999);
    EXPECT_GE(reports[0].ping, 40);
    EXPECT_LT(reports[0].ping, 1000);
    EXPECT_EQ(reports[0].record->gameType, 5);
}

TEST(QueryEngineLoopbackTest, UnpacedScanKeepsItsRepliesWithinASmallReceiveBuffer)
{
    // Servers that answer at once with 1 KB each, every request due in the first tick and a
    // receive buffer of a few replies: the requests must wait for room, so that no reply is
    // dropped and (almost) no server needs its second request.
    constexpr int kServers = 300;
    std::vector<CSockUDP> peers(kServers);
    std::vector<pollfd> fds;
    for (auto& peer : peers) {
        CreateOnLoopback(peer);
        fds.push_back({peer.WaitDescriptor(), POLLIN, 0});
    }
    CEvent stop(false, true);
    fds.push_back({stop.WaitDescriptor(), POLLIN, 0});
    std::atomic<int> requests{0};
    std::thread servers([&] {
        const std::string reply = StatusReply("g_gametype\\5\\pad\\" + std::string(1000, 'x'));
        std::string request;
        CSockAddr client;
        while (poll(fds.data(), fds.size(), -1) > 0 && fds.back().revents == 0) {
            for (int i = 0; i < kServers; ++i) {
                while ((fds[i].revents & POLLIN) != 0 &&
                       peers[i].ReceiveFrom(request, client) == 0) {
                    requests.fetch_add(1);
                    peers[i].SendTo(reply, client);
                }
            }
        }
    });
    QueryEngineOptions options;
    options.receiveBufferBytes = 8192;
    CRecordingListener listener;
    CQueryEngine engine(listener, options);
    for (auto& peer : peers)
        engine.Servers().insert_or_assign(peer.LocalAddress(), CServer(peer.LocalAddress()));
    ASSERT_TRUE(engine.StartQuery(kServers));
    const bool ended = listener.WaitEnded(1, 20s);
    stop.Set();
    servers.join();
    ASSERT_TRUE(ended);
    const auto reports = listener.Reports();
    EXPECT_EQ(std::count_if(reports.begin(), reports.end(),
                            [](const auto& report) { return report.tries == kAnsweredTries; }),
              kServers);
    // A busy machine may hold the servers up past the tick's wait for a few of them.
    EXPECT_LT(requests.load(), kServers + kServers / 20);
}
