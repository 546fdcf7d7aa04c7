#pragma once

#include "net/SockAddr.h"
#include "net/Wait.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Network events of a socket since the last EnumNetworkEvents: a bit set (read = 1,
// write = 2) and one error code per event kind (socket error codes, 0 for none).
struct NetworkEvents
{
    std::uint32_t events = 0;
    std::array<int, 10> errorCodes{};
};

inline constexpr std::uint32_t kNetworkRead = 1;
inline constexpr std::uint32_t kNetworkWrite = 2;

// A non-blocking IPv4 UDP socket. The descriptor itself is the readiness source: it is
// waitable together with other sources (events, timers) and reports ready while a datagram
// is pending. Single sends and receives return socket error codes (0 for success);
// creation and event queries throw CSockErr. Used by one thread at a time.
class CSockUDP final : public IWaitable
{
public:
    CSockUDP() = default;
    ~CSockUDP();
    CSockUDP(const CSockUDP&) = delete;
    CSockUDP& operator=(const CSockUDP&) = delete;

    // Creates the socket and binds it to the local address (any address and port by
    // default). A socket that was already open is closed first.
    void Create(const CSockAddr& local = CSockAddr());
    // Shuts the socket down and closes it; harmless when it is not open.
    void Close();
    bool IsCreated() const { return m_fd >= 0; }

    // The bound local address (for a socket bound to port 0: the port that was chosen).
    CSockAddr LocalAddress() const;
    // Asks for a receive buffer of this many bytes and returns what the system granted (it
    // may grant less, and counts its own bookkeeping in it).
    int SetReceiveBufferSize(int bytes);
    // The receive buffer in force, as the system reports it; 0 when it cannot be read.
    int ReceiveBufferSize() const;

    // Sends one datagram. On success length is set to the number of bytes sent.
    int SendTo(const void* bytes, std::size_t& length, const CSockAddr& to);
    // Sends the text's bytes followed by a terminating zero byte.
    int SendTo(std::string_view text, const CSockAddr& to);

    // Reads one datagram into the text, whatever its size. When nothing is pending it
    // consumes nothing and returns "Operation would block" (10035). On any error the text is
    // left empty.
    int Receive(std::string& text);
    // As Receive, and fills the sender's address.
    int ReceiveFrom(std::string& text, CSockAddr& sender);

    // The events that occurred since the last call: read while a datagram is pending. A
    // pending socket error is read (and so cleared) into errorCodes[0].
    NetworkEvents EnumNetworkEvents();
    static bool HasEvent(const NetworkEvents& events, std::uint32_t mask)
    {
        return (events.events & mask) != 0;
    }

    int WaitDescriptor() const override { return m_fd; }
    // Readiness is level-triggered: nothing to consume.
    bool Acquire() override { return true; }

private:
    int ReceiveImpl(std::string& text, CSockAddr* sender);

    int m_fd = -1;
    // Room for the largest datagram: a read never has to guess a datagram's size first.
    std::unique_ptr<std::array<char, 65536>> m_buffer;
};
