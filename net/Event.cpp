#include "net/Event.h"

#include "net/Error.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>

CEvent::CEvent(bool initiallySignalled, bool manualReset) : m_manualReset(manualReset)
{
    m_fd = eventfd(initiallySignalled ? 1 : 0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_fd < 0)
        throw CError(std::string("eventfd: ") + std::strerror(errno));
}

CEvent::~CEvent()
{
    close(m_fd);
}

void CEvent::Set()
{
    const std::uint64_t one = 1;
    // Only fails when the counter would overflow, and then the event is signalled anyway.
    [[maybe_unused]] const auto written = write(m_fd, &one, sizeof one);
}

void CEvent::Reset()
{
    std::uint64_t value = 0;
    [[maybe_unused]] const auto read = ::read(m_fd, &value, sizeof value);
}

bool CEvent::Acquire()
{
    if (m_manualReset) {
        pollfd fd{m_fd, POLLIN, 0};
        return poll(&fd, 1, 0) == 1 && (fd.revents & POLLIN) != 0;
    }
    std::uint64_t value = 0;
    return ::read(m_fd, &value, sizeof value) == static_cast<ssize_t>(sizeof value);
}

bool CEvent::Wait(std::optional<std::chrono::milliseconds> timeout)
{
    std::array<IWaitable*, 1> sources{this};
    return WaitForAny(sources, timeout) == 0;
}
