#include "net/Wait.h"
#include "net/Event.h"
#include "net/SockUDP.h"
#include "net/WaitableTimer.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

std::chrono::milliseconds Since(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

} // namespace

TEST(WaitTest, AutoResetEventReleasesOneWait)
{
    CEvent event;
    EXPECT_FALSE(event.Wait(0ms));
    event.Set();
    event.Set(); // setting twice still releases one wait
    EXPECT_TRUE(event.Wait(0ms));
    EXPECT_FALSE(event.Wait(0ms));

    CEvent signalled(true);
    EXPECT_TRUE(signalled.Wait(0ms));
    EXPECT_FALSE(signalled.Wait(0ms));

    event.Set();
    event.Reset();
    EXPECT_FALSE(event.Wait(0ms));
}

TEST(WaitTest, ManualResetEventStaysSignalledUntilReset)
{
    CEvent event(false, true);
    event.Set();
    EXPECT_TRUE(event.Wait(0ms));
    EXPECT_TRUE(event.Wait(0ms));
    event.Reset();
    EXPECT_FALSE(event.Wait(0ms));
}

TEST(WaitTest, EventSetFromAnotherThreadWakesTheWait)
{
    CEvent event;
    const auto start = Clock::now();
    std::thread setter([&] {
        std::this_thread::sleep_for(30ms);
        event.Set();
    });
    EXPECT_TRUE(event.Wait(5000ms));
    setter.join();
    EXPECT_GE(Since(start), 25ms);
}

TEST(WaitTest, TimeOutReturnsAfterTheLimit)
{
    CEvent event;
    std::array<IWaitable*, 1> sources{&event};
    const auto start = Clock::now();
    EXPECT_EQ(WaitForAny(sources, 50ms), kWaitTimeout);
    const auto waited = Since(start);
    EXPECT_GE(waited, 50ms);
    EXPECT_LT(waited, 1000ms);
}

TEST(WaitTest, FirstReadySourceInArrayOrderWins)
{
    CEvent first;
    CEvent second;
    CEvent third;
    std::array<IWaitable*, 3> sources{&first, &second, &third};
    third.Set();
    second.Set();
    EXPECT_EQ(WaitForAny(sources, 0ms), 1);
    EXPECT_EQ(WaitForAny(sources, 0ms), 2);
    EXPECT_EQ(WaitForAny(sources, 0ms), kWaitTimeout);
    first.Set();
    third.Set();
    EXPECT_EQ(PollSources(sources, 0ms), 0b101u);
    EXPECT_EQ(WaitForAny(sources, 0ms), 0);
}

TEST(WaitTest, SocketReadinessIsLevelTriggered)
{
    CSockUDP receiver;
    CSockAddr loopback;
    loopback.Parse("127.0.0.1", CSockAddr::Lookup::NumericOnly);
    receiver.Create(loopback);
    CSockUDP sender;
    sender.Create(loopback);
    CEvent stop;
    std::array<IWaitable*, 2> sources{&stop, &receiver};

    EXPECT_EQ(WaitForAny(sources, 0ms), kWaitTimeout);
    ASSERT_EQ(sender.SendTo("a", receiver.LocalAddress()), 0);
    ASSERT_EQ(sender.SendTo("b", receiver.LocalAddress()), 0);
    EXPECT_EQ(WaitForAny(sources, 2000ms), 1);
    EXPECT_EQ(WaitForAny(sources, 0ms), 1); // still pending: still ready
    stop.Set();
    EXPECT_EQ(WaitForAny(sources, 0ms), 0); // the earlier source wins
    std::string text;
    EXPECT_EQ(receiver.Receive(text), 0);
    EXPECT_EQ(receiver.Receive(text), 0);
    EXPECT_EQ(WaitForAny(sources, 0ms), kWaitTimeout);
}

TEST(WaitTest, TimerTicksAtOnceThenEveryPeriod)
{
    const auto start = Clock::now();
    CWaitableTimer timer(150ms);
    std::array<IWaitable*, 1> sources{&timer};
    ASSERT_EQ(WaitForAny(sources, 1000ms), 0);
    EXPECT_LT(Since(start), 100ms); // the first tick is due at once, not after a period
    ASSERT_EQ(WaitForAny(sources, 1000ms), 0);
    EXPECT_GE(Since(start), 149ms);
    ASSERT_EQ(WaitForAny(sources, 1000ms), 0);
    EXPECT_GE(Since(start), 299ms);
    EXPECT_EQ(WaitForAny(sources, 0ms), kWaitTimeout); // the tick was consumed
}

TEST(WaitTest, MissedTicksDoNotPileUp)
{
    CWaitableTimer timer(10ms);
    std::this_thread::sleep_for(60ms); // several periods go by unobserved
    std::array<IWaitable*, 1> sources{&timer};
    EXPECT_EQ(WaitForAny(sources, 0ms), 0);
    EXPECT_EQ(WaitForAny(sources, 0ms), kWaitTimeout);

    timer.Stop();
    EXPECT_EQ(WaitForAny(sources, 50ms), kWaitTimeout);
    CWaitableTimer idle; // created without a period: never ticks
    std::array<IWaitable*, 1> idleSources{&idle};
    EXPECT_EQ(WaitForAny(idleSources, 20ms), kWaitTimeout);
}
