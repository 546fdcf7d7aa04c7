#include "net/WaitableTimer.h"

#include "net/Error.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

timespec ToTimespec(std::chrono::nanoseconds span)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(span);
    return timespec{static_cast<time_t>(seconds.count()),
                    static_cast<long>((span - seconds).count())};
}

} // namespace

CWaitableTimer::CWaitableTimer(std::chrono::milliseconds period)
{
    m_fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd < 0)
        throw CError(std::string("timerfd_create: ") + std::strerror(errno));
    if (period.count() != 0)
        Start(period);
}

CWaitableTimer::~CWaitableTimer()
{
    close(m_fd);
}

void CWaitableTimer::Start(std::chrono::milliseconds period)
{
    if (period.count() <= 0)
        throw CError("CWaitableTimer::Start: the period must be positive");
    itimerspec timing{};
    timing.it_interval = ToTimespec(period);
    // A zero due time would disarm the timer: the first tick is due one nanosecond from now.
    timing.it_value = timespec{0, 1};
    if (timerfd_settime(m_fd, 0, &timing, nullptr) != 0)
        throw CError(std::string("timerfd_settime: ") + std::strerror(errno));
}

void CWaitableTimer::Stop()
{
    itimerspec timing{};
    timerfd_settime(m_fd, 0, &timing, nullptr);
    std::uint64_t expirations = 0;
    [[maybe_unused]] const auto read = ::read(m_fd, &expirations, sizeof expirations);
}

bool CWaitableTimer::Acquire()
{
    std::uint64_t expirations = 0;
    return ::read(m_fd, &expirations, sizeof expirations) ==
           static_cast<ssize_t>(sizeof expirations);
}
