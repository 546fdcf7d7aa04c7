#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

// Something a thread can wait for: a descriptor that becomes readable when the source is
// signalled. Acquire is called when the descriptor has been reported ready; it consumes
// the signal where the source works that way (an auto-reset event, a timer) and returns
// false when the signal was already gone.
class IWaitable
{
public:
    virtual int WaitDescriptor() const = 0;
    virtual bool Acquire() = 0;

protected:
    ~IWaitable() = default;
};

inline constexpr int kWaitTimeout = -1;

// One poll over the sources; bit i of the result is set when source i is ready (readable,
// or in an error state). 0 when the time-out ran out first; no time-out waits for ever.
// At most 32 sources. Throws CError with the system's error on a failing poll.
std::uint32_t PollSources(std::span<IWaitable* const> sources,
                          std::optional<std::chrono::milliseconds> timeout);

// Waits until one source is signalled and acquires it. When several are ready at once, the
// first of them in array order is taken. Returns its index, or kWaitTimeout.
int WaitForAny(std::span<IWaitable* const> sources,
               std::optional<std::chrono::milliseconds> timeout = std::nullopt);
