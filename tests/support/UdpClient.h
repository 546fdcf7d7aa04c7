#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A UDP socket on 127.0.0.1 for tests that talk to servers on the loopback
// interface. Every call that waits takes a time-out; nothing blocks without one.
class CUdpClient
{
public:
    struct CDatagram
    {
        std::string bytes;
        std::uint16_t fromPort = 0;
    };

    // Binds 127.0.0.1 on a port chosen by the system. Throws std::system_error.
    CUdpClient();
    CUdpClient(const CUdpClient&) = delete;
    CUdpClient& operator=(const CUdpClient&) = delete;
    ~CUdpClient();

    // Asks for a larger receive buffer (the system may grant less); for tests that
    // let many replies queue up.
    void SetReceiveBuffer(int bytes);

    // Sends one datagram to 127.0.0.1:port. Throws std::system_error.
    void Send(std::uint16_t port, std::string_view bytes);

    // The next datagram, or nothing when none arrives within timeout.
    std::optional<CDatagram> Receive(std::chrono::milliseconds timeout);

    // Datagrams until none has arrived for quiet (or limit has passed since the call).
    std::vector<CDatagram> ReceiveUntilQuiet(std::chrono::milliseconds quiet,
                                             std::chrono::milliseconds limit);

private:
    int m_fd = -1;
};
