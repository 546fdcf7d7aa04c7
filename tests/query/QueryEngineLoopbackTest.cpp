// Whole scans against game servers played on 127.0.0.1, with the real timer and a clock
// that runs four times as fast as real time (so that the 1200 ms time-out takes 300 ms).
// Timing is checked with generous bounds only.
#include "LoopbackPeers.h"
#include "RecordingListener.h"

#include "net/Clock.h"
#include "query/QueryEngine.h"

#include <gtest/gtest.h>

#include <sys/socket.h>

#include <array>
#include <atomic>
#include <map>
#include <thread>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::int64_t kClockScale = 4;

QueryEngineOptions FastOptions()
{
    QueryEngineOptions options;
    options.tickPeriod = 20ms;
    options.clock = [] { return ReadCounter() * kClockScale; };
    return options;
}

void AddAll(CQueryEngine& engine, const CLoopbackPeers& peers)
{
    for (std::size_t i = 0; i < peers.Size(); ++i)
        engine.Servers().insert_or_assign(peers.Address(i), CServer(peers.Address(i)));
}

// Counts reports per address.
std::map<CSockAddr, std::vector<CRecordingListener::Report>>
ByAddress(const std::vector<CRecordingListener::Report>& reports)
{
    std::map<CSockAddr, std::vector<CRecordingListener::Report>> byAddress;
    for (const auto& report : reports)
        byAddress[report.address].push_back(report);
    return byAddress;
}

} // namespace

TEST(QueryEngineLoopbackTest, EmptyMapEndsAtTheFirstTickWithoutWaitingAPeriod)
{
    CRecordingListener listener;
    CQueryEngine engine(listener); // the real 200 ms tick
    const auto start = Clock::now();
    ASSERT_TRUE(engine.StartQuery(1));
    ASSERT_TRUE(listener.WaitEnded(1, 5s));
    EXPECT_LT(Clock::now() - start, 150ms);
    EXPECT_TRUE(listener.Reports().empty());
}

TEST(QueryEngineLoopbackTest, MixedServersAreEachReportedOnce)
{
    using B = CLoopbackPeers::Behaviour;
    const std::string reply =
        StatusReply("sv_hostname\\^2Green\\g_gametype\\6\\sv_maxclients\\12", "1 2 \"a\"\n");
    std::vector<CLoopbackPeers::Spec> specs;
    for (int i = 0; i < 10; ++i)
        specs.push_back({B::Answer, reply});
    for (int i = 0; i < 3; ++i)
        specs.push_back({B::Silent, ""});
    for (int i = 0; i < 2; ++i)
        specs.push_back({B::AnswerThrice, reply});
    for (int i = 0; i < 2; ++i)
        specs.push_back({B::AnswerSecond, reply});
    CLoopbackPeers peers(specs);

    CRecordingListener listener;
    CQueryEngine engine(listener, FastOptions());
    AddAll(engine, peers);
    ASSERT_TRUE(engine.StartQuery(4));
    ASSERT_TRUE(listener.WaitEnded(1, 20s));
    EXPECT_TRUE(listener.Errors().empty());

    const auto byAddress = ByAddress(listener.Reports());
    ASSERT_EQ(byAddress.size(), peers.Size());
    for (std::size_t i = 0; i < peers.Size(); ++i) {
        const auto& reports = byAddress.at(peers.Address(i));
        ASSERT_EQ(reports.size(), 1u) << i;
        const auto& report = reports[0];
        const B behaviour = specs[i].behaviour;
        if (behaviour == B::Silent) {
            EXPECT_EQ(report.tries, 3);
            EXPECT_EQ(report.ping, 9999);
            EXPECT_EQ(peers.Requests(i), 2);
        } else {
            EXPECT_EQ(report.tries, 999) << i;
            EXPECT_EQ(report.gameType, 6);
            EXPECT_EQ(report.vars, 3u);
            EXPECT_EQ(report.players, 1u);
            EXPECT_EQ(report.record->name, "Green");
            EXPECT_GE(report.ping, 0);
            EXPECT_LT(report.ping, 1200);
            EXPECT_EQ(peers.Requests(i), behaviour == B::AnswerSecond ? 2 : 1) << i;
        }
    }
}

TEST(QueryEngineLoopbackTest, HostileRepliesAreReadWhole)
{
    using B = CLoopbackPeers::Behaviour;
    std::string players;
    for (int i = 0; i < 5000; ++i) // 8 bytes a line: the whole reply fits one datagram
        players += std::to_string(i % 10) + " 0 \"" + static_cast<char>('a' + i % 26) + "\"\n";
    // The largest datagram there is, most of it a host name.
    std::string huge = "\xFF\xFF\xFF\xFFstatusResponse\n\\g_gametype\\5\\sv_hostname\\";
    const std::size_t nameSize = 65507 - huge.size();
    huge.append(nameSize, 'x');
    CLoopbackPeers peers({{B::Answer, StatusReply("g_gametype\\7", players)},
                          {B::Answer, huge},
                          {B::Answer, std::string(100, '\0')}});

    CRecordingListener listener;
    CQueryEngine engine(listener, FastOptions());
    AddAll(engine, peers);
    ASSERT_TRUE(engine.StartQuery(32));
    ASSERT_TRUE(listener.WaitEnded(1, 20s));
    const auto byAddress = ByAddress(listener.Reports());
    ASSERT_EQ(byAddress.size(), 3u);
    const auto& many = byAddress.at(peers.Address(0)).at(0);
    ASSERT_EQ(many.players, 5000u);
    EXPECT_EQ(many.record->players.back().name, "h"); // 4999 % 26 == 7
    EXPECT_EQ(many.record->players.back().score, 9);
    const auto& big = byAddress.at(peers.Address(1)).at(0);
    EXPECT_EQ(big.tries, 999);
    EXPECT_EQ(big.record->name.size(), nameSize);
    const auto& zeros = byAddress.at(peers.Address(2)).at(0);
    EXPECT_EQ(zeros.tries, 999); // answered, but nothing to read
    EXPECT_EQ(zeros.gameType, 0);
}

TEST(QueryEngineLoopbackTest, AFloodOfJunkDoesNotStarveTheTick)
{
    using B = CLoopbackPeers::Behaviour;
    CLoopbackPeers peers(std::vector<CLoopbackPeers::Spec>(4, {B::Silent, ""}));
    CRecordingListener listener;
    CQueryEngine engine(listener, FastOptions());
    AddAll(engine, peers);
    ASSERT_TRUE(engine.StartQuery(4));

    // Once the engine's address is known, a stranger floods it as fast as it can.
    std::atomic<bool> flooding{true};
    std::atomic<long> sent{0};
    std::thread flood([&] {
        CSockUDP stranger;
        CreateOnLoopback(stranger);
        while (flooding && !peers.Client())
            std::this_thread::yield();
        auto target = peers.Client();
        if (!target)
            return;
        // Batches of small datagrams, far faster than one read per readiness can take them.
        char junk = 'j';
        iovec part{&junk, 1};
        std::array<mmsghdr, 64> batch{};
        for (auto& message : batch) {
            message.msg_hdr.msg_name = &target->Raw();
            message.msg_hdr.msg_namelen = sizeof(sockaddr_in);
            message.msg_hdr.msg_iov = &part;
            message.msg_hdr.msg_iovlen = 1;
        }
        while (flooding) {
            const int count = sendmmsg(stranger.WaitDescriptor(), batch.data(), batch.size(), 0);
            if (count > 0)
                sent += count;
        }
    });
    const bool ended = listener.WaitEnded(1, 10s);
    flooding = false;
    flood.join();
    ASSERT_TRUE(ended) << "the scan never ended under the flood";
    EXPECT_GT(sent.load(), 1000);
    const auto reports = listener.Reports();
    ASSERT_EQ(reports.size(), 4u);
    for (const auto& report : reports)
        EXPECT_EQ(report.tries, 3);
    EXPECT_EQ(peers.TotalRequests(), 8);
}

TEST(QueryEngineLoopbackTest, StopEndsARunningScanPromptly)
{
    using B = CLoopbackPeers::Behaviour;
    CLoopbackPeers peers(std::vector<CLoopbackPeers::Spec>(20, {B::Silent, ""}));
    CRecordingListener listener;
    {
        CQueryEngine engine(listener); // real timing: this scan would take seconds
        AddAll(engine, peers);
        ASSERT_TRUE(engine.StartQuery(1));
        while (peers.TotalRequests() == 0)
            std::this_thread::yield();
        const auto start = Clock::now();
        EXPECT_TRUE(engine.StopQuery(5000ms));
        EXPECT_LT(Clock::now() - start, 1000ms);
        EXPECT_FALSE(engine.IsRunning());

        // A second scan, left running: the destructor stops it and waits.
        ASSERT_TRUE(engine.StartQuery(1));
        EXPECT_EQ(engine.ScanNumber(), 2u);
    }
    EXPECT_EQ(listener.Ended(), (std::vector<unsigned>{1, 2}));
    EXPECT_TRUE(listener.Reports().empty());
}
