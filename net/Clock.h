#pragma once

#include <cstdint>

// The high-resolution counter: the monotonic clock in nanoseconds.
inline constexpr std::int64_t kCounterFrequency = 1'000'000'000;

std::int64_t ReadCounter();
// Counts per second of ReadCounter: kCounterFrequency.
std::int64_t ReadFrequency();

// Whole milliseconds from `earlier` to `later` (counter readings), truncated toward zero.
// Computed without an intermediate product, so no difference of readings can overflow.
constexpr std::int64_t CounterSpanMs(std::int64_t earlier, std::int64_t later)
{
    return (later - earlier) / (kCounterFrequency / 1000);
}
