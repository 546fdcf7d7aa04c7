#include "net/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <thread>

TEST(ClockTest, CounterIsTheMonotonicClockInNanoseconds)
{
    EXPECT_EQ(ReadFrequency(), 1'000'000'000);
    const auto outerBefore = std::chrono::steady_clock::now();
    const auto before = ReadCounter();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto after = ReadCounter();
    EXPECT_GE(CounterSpanMs(before, after), 20);
    EXPECT_LE(std::chrono::nanoseconds(after - before),
              std::chrono::steady_clock::now() - outerBefore);

    EXPECT_EQ(CounterSpanMs(0, 1'999'999), 1);
    EXPECT_EQ(CounterSpanMs(1'500'000, 0), -1); // truncated toward zero
    // Readings centuries apart give whole milliseconds, not an overflowed product.
    const std::int64_t large = std::numeric_limits<std::int64_t>::max() / 2;
    EXPECT_EQ(CounterSpanMs(0, large), large / 1'000'000);
}
