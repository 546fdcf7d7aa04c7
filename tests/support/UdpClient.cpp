#include "tests/support/UdpClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void ThrowErrno(const char* what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

sockaddr_in Loopback(std::uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

} // namespace

CUdpClient::CUdpClient()
{
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        ThrowErrno("cannot create a UDP socket");
    const sockaddr_in address = Loopback(0);
    if (::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int error = errno;
        ::close(m_fd);
        throw std::system_error(error, std::generic_category(), "cannot bind 127.0.0.1");
    }
}

CUdpClient::~CUdpClient()
{
    ::close(m_fd);
}

void CUdpClient::SetReceiveBuffer(int bytes)
{
    ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
}

void CUdpClient::Send(std::uint16_t port, std::string_view bytes)
{
    const sockaddr_in to = Loopback(port);
    if (::sendto(m_fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                 sizeof to) < 0) {
        ThrowErrno("cannot send a datagram");
    }
}

std::optional<CUdpClient::CDatagram> CUdpClient::Receive(std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    std::string buffer(65536, '\0');
    while (true) {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n = ::recvfrom(m_fd, buffer.data(), buffer.size(), 0,
                                     reinterpret_cast<sockaddr*>(&from), &length);
        if (n >= 0) {
            buffer.resize(static_cast<std::size_t>(n));
            return CDatagram{std::move(buffer), ntohs(from.sin_port)};
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            ThrowErrno("cannot receive a datagram");
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return std::nullopt;
        pollfd ready{m_fd, POLLIN, 0};
        ::poll(&ready, 1, static_cast<int>(std::min<long long>(left, 60000)));
    }
}

std::vector<CUdpClient::CDatagram> CUdpClient::ReceiveUntilQuiet(std::chrono::milliseconds quiet,
                                                                 std::chrono::milliseconds limit)
{
    const auto deadline = Clock::now() + limit;
    std::vector<CDatagram> received;
    while (true) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            break;
        auto datagram = Receive(std::min(quiet, left));
        if (!datagram)
            break;
        received.push_back(std::move(*datagram));
    }
    return received;
}
