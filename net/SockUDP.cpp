#include "net/SockUDP.h"

#include "net/Error.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>

CSockUDP::~CSockUDP()
{
    Close();
}

void CSockUDP::Create(const CSockAddr& local)
{
    Close();
    m_fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        throw CSockErr();
    if (bind(m_fd, reinterpret_cast<const sockaddr*>(&local.Raw()), sizeof(sockaddr_in)) != 0)
        throw CSockErr();
}

void CSockUDP::Close()
{
    if (m_fd >= 0) {
        shutdown(m_fd, SHUT_RDWR);
        close(m_fd);
        m_fd = -1;
    }
}

CSockAddr CSockUDP::LocalAddress() const
{
    CSockAddr local;
    socklen_t length = sizeof(sockaddr_in);
    if (getsockname(m_fd, reinterpret_cast<sockaddr*>(&local.Raw()), &length) != 0)
        throw CSockErr();
    return local;
}

int CSockUDP::SetReceiveBufferSize(int bytes)
{
    setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
    return ReceiveBufferSize();
}

int CSockUDP::ReceiveBufferSize() const
{
    int bytes = 0;
    socklen_t length = sizeof bytes;
    if (getsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &bytes, &length) != 0)
        return 0;
    return bytes;
}

int CSockUDP::SendTo(const void* bytes, std::size_t& length, const CSockAddr& to)
{
    const ssize_t sent = sendto(m_fd, bytes, length, MSG_NOSIGNAL,
                                reinterpret_cast<const sockaddr*>(&to.Raw()), sizeof(sockaddr_in));
    if (sent < 0)
        return LastSockErr();
    length = static_cast<std::size_t>(sent);
    return 0;
}

int CSockUDP::SendTo(std::string_view text, const CSockAddr& to)
{
    // The text and its terminating zero byte, gathered without a copy.
    char zero = '\0';
    iovec parts[2] = {{const_cast<char*>(text.data()), text.size()}, {&zero, 1}};
    msghdr message{};
    message.msg_name = const_cast<sockaddr_in*>(&to.Raw());
    message.msg_namelen = sizeof(sockaddr_in);
    message.msg_iov = parts;
    message.msg_iovlen = 2;
    return sendmsg(m_fd, &message, MSG_NOSIGNAL) < 0 ? LastSockErr() : 0;
}

int CSockUDP::Receive(std::string& text)
{
    return ReceiveImpl(text, nullptr);
}

int CSockUDP::ReceiveFrom(std::string& text, CSockAddr& sender)
{
    return ReceiveImpl(text, &sender);
}

int CSockUDP::ReceiveImpl(std::string& text, CSockAddr* sender)
{
    // One read into a buffer that fits any datagram: asking first how much is pending would
    // race with a datagram that arrives between the question and the read.
    if (!m_buffer)
        m_buffer = std::make_unique<std::array<char, 65536>>();
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t received =
        recvfrom(m_fd, m_buffer->data(), m_buffer->size(), 0,
                 sender != nullptr ? reinterpret_cast<sockaddr*>(&from) : nullptr,
                 sender != nullptr ? &fromLength : nullptr);
    if (received < 0) {
        const int error = LastSockErr();
        text.clear();
        return error;
    }
    if (sender != nullptr) {
        if (fromLength != sizeof(sockaddr_in))
            throw CError("CSockUDP::Receive: CSockAddr Größenkonflikt!");
        sender->Raw() = from;
    }
    text.assign(m_buffer->data(), static_cast<std::size_t>(received));
    return 0;
}

NetworkEvents CSockUDP::EnumNetworkEvents()
{
    if (m_fd < 0)
        throw CSockErr(SockErrFromErrno(ENOTSOCK));
    NetworkEvents result;
    pollfd fd{m_fd, POLLIN | POLLOUT, 0};
    int count = 0;
    do {
        count = poll(&fd, 1, 0);
    } while (count < 0 && errno == EINTR);
    if (count < 0)
        throw CSockErr();
    if ((fd.revents & POLLERR) != 0) {
        int error = 0;
        socklen_t length = sizeof error;
        if (getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0)
            result.errorCodes[0] = SockErrFromErrno(error);
    }
    if ((fd.revents & POLLIN) != 0)
        result.events |= kNetworkRead;
    if ((fd.revents & POLLOUT) != 0)
        result.events |= kNetworkWrite;
    return result;
}
