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

TEST(WaitTest, EventsReleaseAsTheirResetModeSaysAndTheFirstReadySourceWins)
{
    CEvent event;
    EXPECT_FALSE(event.Wait(0ms));
    event.Set();
    event.Set(); // setting twice still releases one wait
    EXPECT_TRUE(event.Wait(0ms));
    EXPECT_FALSE(event.Wait(0ms));
    event.Set();
    event.Reset();
    EXPECT_FALSE(event.Wait(0ms));
    CEvent signalled(true);
    EXPECT_TRUE(signalled.Wait(0ms));

    CEvent manual(false, true);
    manual.Set();
    EXPECT_TRUE(manual.Wait(0ms));
    EXPECT_TRUE(manual.Wait(0ms));
    manual.Reset();
    EXPECT_FALSE(manual.Wait(0ms));

    const auto timeoutStart = Clock::now();
    EXPECT_FALSE(event.Wait(50ms));
    EXPECT_GE(Clock::now() - timeoutStart, 50ms);

    // Of several sources the first ready one in array order wins; sockets stay ready.
    CEvent first;
    CSockUDP receiver;
    CSockUDP sender;
    const CSockAddr loopback("127.0.0.1");
    receiver.Create(loopback);
    sender.Create(loopback);
    CEvent third;
    std::array<IWaitable*, 3> sources{&first, &receiver, &third};

    third.Set();
    ASSERT_EQ(sender.SendTo("a", receiver.LocalAddress()), 0);
    EXPECT_EQ(PollSources(sources, 1000ms), 0b110u);
    EXPECT_EQ(WaitForAny(sources, 0ms), 1);
    EXPECT_EQ(WaitForAny(sources, 0ms), 1); // a pending datagram keeps the socket ready
    first.Set();
    EXPECT_EQ(WaitForAny(sources, 0ms), 0);
    std::string text;
    EXPECT_EQ(receiver.Receive(text), 0);
    EXPECT_EQ(WaitForAny(sources, 0ms), 2);
    EXPECT_EQ(WaitForAny(sources, 0ms), kWaitTimeout);
}

TEST(WaitTest, TimerTicksAtOnceThenEveryPeriodWithoutPilingUp)
{
    {
        // With a period far longer than the wait, only a tick due at once can come.
        CWaitableTimer slow(60s);
        std::array<IWaitable*, 1> sources{&slow};
        EXPECT_EQ(WaitForAny(sources, 5000ms), 0);
        EXPECT_EQ(WaitForAny(sources, 0ms), kWaitTimeout);
    }
    const auto start = Clock::now();
    CWaitableTimer timer(150ms);
    std::array<IWaitable*, 1> sources{&timer};
    ASSERT_EQ(WaitForAny(sources, 1000ms), 0);
    ASSERT_EQ(WaitForAny(sources, 1000ms), 0);
    EXPECT_GE(Clock::now() - start, 149ms);
    std::this_thread::sleep_for(400ms); // periods go by unobserved
    EXPECT_EQ(WaitForAny(sources, 0ms), 0);
    EXPECT_EQ(WaitForAny(sources, 0ms), kWaitTimeout); // one tick, not three
    timer.Stop();
    EXPECT_EQ(WaitForAny(sources, 200ms), kWaitTimeout);
}
