#include "net/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <thread>

TEST(ClockTest, CounterIsMonotonicNanoseconds)
{
    EXPECT_EQ(ReadFrequency(), 1'000'000'000);
    // The counter's span lies inside the standard steady clock's span around it.
    const auto outerBefore = std::chrono::steady_clock::now();
    const auto before = ReadCounter();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto after = ReadCounter();
    const auto outerSpan = std::chrono::steady_clock::now() - outerBefore;
    EXPECT_GE(CounterSpanMs(before, after), 20);
    EXPECT_LE(std::chrono::nanoseconds(after - before), outerSpan);
}

TEST(ClockTest, SpanTruncatesAndNeverOverflows)
{
    EXPECT_EQ(CounterSpanMs(0, 1'999'999), 1);
    EXPECT_EQ(CounterSpanMs(0, 2'000'000), 2);
    EXPECT_EQ(CounterSpanMs(2'000'000, 0), -2);
    EXPECT_EQ(CounterSpanMs(1'500'000, 0), -1); // truncated toward zero
    // Readings far apart (a counter of centuries) give whole milliseconds, not garbage.
    const std::int64_t large = std::numeric_limits<std::int64_t>::max() / 2;
    EXPECT_EQ(CounterSpanMs(0, large), large / 1'000'000);
}
