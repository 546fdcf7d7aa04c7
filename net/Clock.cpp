#include "net/Clock.h"

#include <ctime>

std::int64_t ReadCounter()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * kCounterFrequency + now.tv_nsec;
}

std::int64_t ReadFrequency()
{
    return kCounterFrequency;
}
