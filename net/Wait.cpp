#include "net/Wait.h"

#include "net/Error.h"

#include <poll.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>

namespace {

constexpr std::size_t kMaxSources = 32;

int PollTimeoutMs(std::optional<std::chrono::steady_clock::time_point> deadline)
{
    if (!deadline)
        return -1;
    const auto left = *deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero())
        return 0;
    // Round up so that a wait never returns before its deadline.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<std::int64_t>(ms, INT_MAX));
}

} // namespace

std::uint32_t PollSources(std::span<IWaitable* const> sources,
                          std::optional<std::chrono::milliseconds> timeout)
{
    if (sources.size() > kMaxSources)
        throw CError("PollSources: too many sources");
    std::array<pollfd, kMaxSources> fds{};
    for (std::size_t i = 0; i < sources.size(); ++i)
        fds[i] = pollfd{sources[i]->WaitDescriptor(), POLLIN, 0};

    std::optional<std::chrono::steady_clock::time_point> deadline;
    if (timeout)
        deadline = std::chrono::steady_clock::now() + std::max(*timeout, timeout->zero());

    for (;;) {
        const int count = poll(fds.data(), sources.size(), PollTimeoutMs(deadline));
        if (count < 0) {
            if (errno == EINTR)
                continue;
            throw CError(std::string("poll: ") + std::strerror(errno));
        }
        if (count == 0) {
            // poll may wake a little early on coarse clocks; wait out the rest.
            if (deadline && std::chrono::steady_clock::now() < *deadline)
                continue;
            return 0;
        }
        std::uint32_t ready = 0;
        for (std::size_t i = 0; i < sources.size(); ++i)
            if (fds[i].revents != 0)
                ready |= std::uint32_t{1} << i;
        return ready;
    }
}

int WaitForAny(std::span<IWaitable* const> sources,
               std::optional<std::chrono::milliseconds> timeout)
{
    std::optional<std::chrono::steady_clock::time_point> deadline;
    if (timeout)
        deadline = std::chrono::steady_clock::now() + std::max(*timeout, timeout->zero());
    for (;;) {
        std::optional<std::chrono::milliseconds> left;
        if (deadline)
            left = std::chrono::ceil<std::chrono::milliseconds>(
                std::max(*deadline - std::chrono::steady_clock::now(),
                         std::chrono::steady_clock::duration::zero()));
        const std::uint32_t ready = PollSources(sources, left);
        if (ready == 0)
            return kWaitTimeout;
        for (std::size_t i = 0; i < sources.size(); ++i)
            if ((ready & (std::uint32_t{1} << i)) != 0 && sources[i]->Acquire())
                return static_cast<int>(i);
        // Every ready source had lost its signal already: wait again.
    }
}
