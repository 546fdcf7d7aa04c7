// The scan engine with its ticks and its clock in the test's hand: each tick is fired by the
// test at a chosen counter reading, so pacing, resends, time-outs and report order are
// checked exactly, without timing tolerances.
#include "Loopback.h"
#include "RecordingListener.h"

#include "net/Error.h"
#include "net/Event.h"
#include "query/QueryEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <stdexcept>

using namespace std::chrono_literals;

namespace {

constexpr std::int64_t Ms(std::int64_t ms)
{
    return ms * 1'000'000;
}

class SteppedScanTest : public ::testing::Test
{
protected:
    SteppedScanTest() { engine = std::make_unique<CQueryEngine>(listener, Options()); }
    QueryEngineOptions Options()
    {
        QueryEngineOptions options;
        options.clock = [this] { return m_now.load(); };
        options.tickSource = &m_tick;
        options.afterTick = [this](int sent) {
            std::unique_lock lock(m_mutex);
            m_sentPerTick.push_back(sent);
            m_tickDone.notify_all();
            m_tickDone.wait(lock, [this] { return !m_hold; }); // a held worker waits here
        };
        return options;
    }
    // The engine goes first: its worker uses the tick source and the callbacks above.
    ~SteppedScanTest() override
    {
        Hold(false);
        engine.reset();
    }

    // Adds silent loopback peers to the map, kept in map order.
    void AddPeers(int count)
    {
        for (int i = 0; i < count; ++i) {
            m_peers.push_back(std::make_unique<CSockUDP>());
            CreateOnLoopback(*m_peers.back());
            const CSockAddr address = m_peers.back()->LocalAddress();
            engine->Servers().insert_or_assign(address, CServer(address));
        }
        std::sort(m_peers.begin(), m_peers.end(), [](const auto& a, const auto& b) {
            return a->LocalAddress() < b->LocalAddress();
        });
    }
    CSockUDP& Peer(std::size_t index) { return *m_peers.at(index); }

    // Sets the counter to `ms` and runs one tick; returns the requests it sent, or -1 when
    // the tick did not come back (because it ended the scan, say).
    int Tick(std::int64_t ms)
    {
        std::unique_lock lock(m_mutex);
        const std::size_t before = m_sentPerTick.size();
        FireTick(ms);
        if (!m_tickDone.wait_for(lock, 5s, [&] { return m_sentPerTick.size() > before; }))
            return -1;
        return m_sentPerTick.back();
    }
    void FireTick(std::int64_t ms)
    {
        m_now = Ms(ms);
        m_tick.Set();
    }
    // A tick that is to end the scan.
    bool FinalTick(std::int64_t ms)
    {
        const std::size_t ended = listener.Ended();
        FireTick(ms);
        return listener.WaitEnded(ended + 1, 5s);
    }
    bool WaitTicks(std::size_t count)
    {
        std::unique_lock lock(m_mutex);
        return m_tickDone.wait_for(lock, 5s, [&] { return m_sentPerTick.size() >= count; });
    }
    // While held, the worker stops at the end of each tick.
    void Hold(bool hold)
    {
        std::lock_guard lock(m_mutex);
        m_hold = hold;
        m_tickDone.notify_all();
    }
    void SetNow(std::int64_t ms) { m_now = Ms(ms); }

    // Reads the requests that reached a peer (the loopback delivers them at once).
    int Drain(CSockUDP& peer, CSockAddr* from = nullptr)
    {
        int count = 0;
        std::string text;
        CSockAddr sender;
        for (; peer.ReceiveFrom(text, sender) == 0; ++count) {
            EXPECT_EQ(text, kStatusRequest);
            if (from != nullptr)
                *from = sender;
        }
        return count;
    }

    CRecordingListener listener;
    std::unique_ptr<CQueryEngine> engine;

private:
    std::atomic<std::int64_t> m_now{0};
    CEvent m_tick;
    std::mutex m_mutex;
    std::condition_variable m_tickDone;
    std::vector<int> m_sentPerTick;
    bool m_hold = false;
    std::vector<std::unique_ptr<CSockUDP>> m_peers;
};

} // namespace

TEST_F(SteppedScanTest, LimitOneSendsTwoRequestsPerSilentServerAndResendsUseTheLimit)
{
    AddPeers(3);
    EXPECT_EQ(SpeedLimit(1000), 32);                 // past the last speed: the fastest
    ASSERT_TRUE(engine->StartQuery(SpeedLimit(-1))); // no speed selected: the slowest, 1
    EXPECT_EQ(Tick(0), 1);                           // S0 starts
    EXPECT_EQ(Drain(Peer(0)), 1);
    EXPECT_EQ(Tick(1201), 1); // S0 is resent; the resend uses the limit, so S1 waits
    EXPECT_EQ(Drain(Peer(0)), 1);
    EXPECT_EQ(Drain(Peer(1)), 0);
    EXPECT_EQ(Tick(1202), 1); // S1 starts
    EXPECT_EQ(Tick(2402), 1); // S0 times out; S1 waits (exactly its time-out); S2 starts
    EXPECT_EQ(listener.Reports().size(), 1u);
    EXPECT_EQ(Tick(2403), 1); // S1 is resent
    EXPECT_EQ(Tick(3603), 1); // S2 is resent
    EXPECT_EQ(Tick(3604), 0); // S1 times out
    EXPECT_EQ(Tick(4804), 0); // S2 times out
    ASSERT_TRUE(FinalTick(5000));

    const auto reports = listener.Reports();
    ASSERT_EQ(reports.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Drain(Peer(i)), i == 0 ? 0 : 2);
        EXPECT_EQ(reports[i].address, Peer(i).LocalAddress());
        EXPECT_EQ(reports[i].tries, 3);
        EXPECT_EQ(reports[i].ping, 9999);
    }
    EXPECT_EQ(listener.Calls().back(), "ended 1");
}

// An empty scan ends at its first tick. Resends are not held back by the limit, which only
// paces new servers; servers that time out in one tick are reported in first request order.
TEST_F(SteppedScanTest, ResendsPassTheLimitAndTimeOutsAreReportedInFirstRequestOrder)
{
    ASSERT_TRUE(engine->StartQuery(1));
    ASSERT_TRUE(FinalTick(0));
    ASSERT_TRUE(engine->StopQuery(5s));
    AddPeers(4);
    ASSERT_TRUE(engine->StartQuery(1));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Tick(i), 1);
    EXPECT_EQ(Tick(1300), 4);
    EXPECT_EQ(Tick(2600), 0); // all four time out in this tick
    ASSERT_TRUE(FinalTick(2800));
    const auto reports = listener.Reports();
    ASSERT_EQ(reports.size(), 4u);
    for (std::size_t i = 0; i < reports.size(); ++i)
        EXPECT_EQ(reports[i].address, Peer(i).LocalAddress());
}

// Scans report at ticks; a refresh hands each answered record over as its reply is read.
class ReportTimingTest : public SteppedScanTest, public ::testing::WithParamInterface<bool>
{
};

// An answered server is reported once however often it answers, in first request order, at
// the next tick or (for a refresh) as its reply is read; a silent server times out at a tick.
TEST_P(ReportTimingTest, AnsweredServersAreReportedOnceInFirstRequestOrder)
{
    QueryEngineOptions options = Options();
    options.reportOnReply = GetParam();
    engine = std::make_unique<CQueryEngine>(listener, std::move(options));
    AddPeers(3);
    std::promise<void> answered;
    const CSockAddr answering = Peer(1).LocalAddress();
    listener.beforeReport = [&](CServer& server) {
        if (GetParam() && server.address == answering)
            answered.set_value();
    };
    ASSERT_TRUE(engine->StartQuery(3));
    EXPECT_EQ(Tick(0), 3);
    CSockAddr client;
    for (std::size_t i = 0; i < 3; ++i)
        ASSERT_EQ(Drain(Peer(i), &client), 1);

    // S1 answers three times at 45 ms, and a stranger sends the same reply.
    SetNow(45);
    const std::string reply = StatusReply("sv_hostname\\^1One\\g_gametype\\5", "3 20 \"p\"\n");
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(Peer(1).SendTo(reply, client), 0);
    CSockUDP stranger;
    CreateOnLoopback(stranger);
    ASSERT_EQ(stranger.SendTo(reply, client), 0);
    if (GetParam()) { // no tick has come since the requests
        ASSERT_EQ(answered.get_future().wait_for(5s), std::future_status::ready);
    }
    EXPECT_EQ(Tick(45), 0); // datagrams queued before a tick are read before it

    auto reports = listener.Reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].address, answering);
    EXPECT_EQ(reports[0].ping, 45);
    EXPECT_EQ(reports[0].tries, 999);
    EXPECT_EQ(reports[0].record->name, "One");
    EXPECT_EQ(reports[0].record->vars.size(), 2u); // the duplicates were ignored
    EXPECT_EQ(reports[0].record->players.size(), 1u);

    EXPECT_EQ(Tick(1201), 2); // S0 and S2 are resent
    SetNow(1300);
    ASSERT_EQ(Peer(2).SendTo(reply, client), 0); // S2 answers the resend
    EXPECT_EQ(Tick(1300), 0);
    EXPECT_EQ(Tick(2402), 0); // S0 times out
    ASSERT_TRUE(FinalTick(2600));
    reports = listener.Reports();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[1].address, Peer(2).LocalAddress());
    EXPECT_EQ(reports[1].ping, 99); // from the resend
    EXPECT_EQ(reports[2].address, Peer(0).LocalAddress());
    EXPECT_EQ(reports[2].tries, 3);
}

INSTANTIATE_TEST_SUITE_P(SteppedScan, ReportTimingTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "OnReply" : "AtTheNextTick"; });

TEST_F(SteppedScanTest, ATickDueBehindManyDatagramsWaitsForOnlyAFewOfThem)
{
    AddPeers(1);
    Hold(true);
    ASSERT_TRUE(engine->StartQuery(1));
    EXPECT_EQ(Tick(0), 1); // the worker is held at the end of this tick
    CSockAddr client;
    ASSERT_EQ(Drain(Peer(0), &client), 1);

    // Far more junk than a due tick waits for, then S0's reply, then the tick.
    CSockUDP stranger;
    CreateOnLoopback(stranger);
    for (int i = 0; i < 3 * kMaxDatagramsWhileTickDue; ++i)
        ASSERT_EQ(stranger.SendTo("junk", client), 0);
    SetNow(45);
    ASSERT_EQ(Peer(0).SendTo(StatusReply("g_gametype\\5"), client), 0);
    FireTick(45);
    Hold(false);
    ASSERT_TRUE(WaitTicks(2));
    EXPECT_TRUE(listener.Reports().empty()); // the tick came before the reply was read

    for (int i = 0; i < 100 && listener.Reports().empty(); ++i)
        Tick(45);
    ASSERT_EQ(listener.Reports().size(), 1u);
    EXPECT_EQ(listener.Reports()[0].ping, 45);
    // Waiting for a tick that does not come, the scan stops at once when asked.
    const auto stop = std::chrono::steady_clock::now();
    ASSERT_TRUE(engine->StopQuery(5s));
    EXPECT_LT(std::chrono::steady_clock::now() - stop, 1s);
    EXPECT_EQ(listener.Calls().back(), "ended 1");
}

TEST_F(SteppedScanTest, AWorkerThatDoesNotEndInTimeIsWaitedForAgain)
{
    AddPeers(1);
    std::promise<void> entered;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    listener.beforeReport = [&](CServer&) {
        entered.set_value();
        released.wait();
    };
    ASSERT_TRUE(engine->StartQuery(1));
    EXPECT_EQ(Tick(0), 1);
    EXPECT_EQ(Tick(1201), 1);
    std::thread ticker([this] { Tick(2402); });
    entered.get_future().wait(); // the worker is inside the listener now

    EXPECT_FALSE(engine->StopQuery(50ms));
    EXPECT_TRUE(engine->IsRunning());
    EXPECT_FALSE(engine->StartQuery(1));
    release.set_value();
    ticker.join();
    EXPECT_TRUE(engine->StopQuery(5s));
    EXPECT_EQ(listener.Calls(), (std::vector<std::string>{"queried", "ended 1"}));
}

// Each scan starts afresh with the next number, even with a limit below 1, and an exception
// on the worker ends it with the exception's text.
TEST_F(SteppedScanTest, EachScanResetsItsRecordsAndExceptionsOnTheWorkerReachTheListener)
{
    AddPeers(1);
    const std::vector<std::pair<std::function<void()>, std::string>> cases{
        {[] { throw CSockErr(10055); }, "Socket Error 10055 : No buffer space available"},
        {[] { throw std::runtime_error("plain"); }, "plain"},
        {[] { throw 42; }, "Unhandled Unknown Exception!"},
    };
    unsigned scan = 0;
    for (const auto& [thrower, text] : cases) {
        listener.beforeReport = [&thrower = thrower](CServer&) { thrower(); };
        ASSERT_TRUE(engine->StartQuery(0));
        EXPECT_FALSE(engine->StartQuery(1));
        EXPECT_EQ(engine->ScanNumber(), ++scan);
        EXPECT_EQ(engine->Servers().begin()->second.tries, 0);
        EXPECT_EQ(Tick(0), 1);
        EXPECT_EQ(Tick(1201), 1);
        ASSERT_TRUE(FinalTick(2402)); // the report throws, which ends the scan
        const auto calls = listener.Calls();
        const auto number = std::to_string(scan);
        EXPECT_EQ(calls[calls.size() - 2], "error " + number + ": " + text);
        EXPECT_EQ(calls.back(), "ended " + number);
        ASSERT_TRUE(engine->StopQuery(5s));
        Drain(Peer(0));
    }
}
