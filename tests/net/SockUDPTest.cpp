#include "net/SockUDP.h"
#include "net/Error.h"
#include "net/Wait.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>

using namespace std::chrono_literals;

namespace {

CSockAddr Loopback()
{
    CSockAddr address;
    address.Parse("127.0.0.1", CSockAddr::Lookup::NumericOnly);
    return address;
}

// A created socket on 127.0.0.1 and the address it was bound to.
struct BoundSocket
{
    BoundSocket()
    {
        socket.Create(Loopback());
        address = socket.LocalAddress();
    }
    CSockUDP socket;
    CSockAddr address;
};

bool WaitReadable(CSockUDP& socket, std::chrono::milliseconds timeout = 2000ms)
{
    std::array<IWaitable*, 1> sources{&socket};
    return WaitForAny(sources, timeout) == 0;
}

} // namespace

TEST(SockUDPTest, SendsTextWithItsZeroByteAndReceivesItWithTheSender)
{
    BoundSocket sender;
    BoundSocket receiver;
    EXPECT_NE(receiver.address.GetPort(), 0);
    ASSERT_EQ(sender.socket.SendTo("getstatus", receiver.address), 0);
    ASSERT_TRUE(WaitReadable(receiver.socket));

    const NetworkEvents events = receiver.socket.EnumNetworkEvents();
    EXPECT_TRUE(CSockUDP::HasEvent(events, kNetworkRead));
    EXPECT_FALSE(CSockUDP::HasEvent(events, 4));

    std::string text;
    CSockAddr from;
    ASSERT_EQ(receiver.socket.ReceiveFrom(text, from), 0);
    EXPECT_EQ(text, std::string("getstatus\0", 10));
    EXPECT_EQ(from, sender.address);

    // Nothing pending any more: no read event, and a read would block.
    EXPECT_FALSE(CSockUDP::HasEvent(receiver.socket.EnumNetworkEvents(), kNetworkRead));
    EXPECT_EQ(receiver.socket.Receive(text), 10035);
    EXPECT_TRUE(text.empty());
}

TEST(SockUDPTest, ByteSendReportsLengthAndEmptyDatagramsArrive)
{
    BoundSocket sender;
    BoundSocket receiver;
    const char bytes[] = {'\xFF', '\0', 'x'};
    std::size_t length = sizeof bytes;
    ASSERT_EQ(sender.socket.SendTo(bytes, length, receiver.address), 0);
    EXPECT_EQ(length, sizeof bytes);
    std::size_t none = 0;
    ASSERT_EQ(sender.socket.SendTo(bytes, none, receiver.address), 0);

    std::string text;
    ASSERT_TRUE(WaitReadable(receiver.socket));
    ASSERT_EQ(receiver.socket.Receive(text), 0);
    EXPECT_EQ(text, std::string(bytes, sizeof bytes));
    ASSERT_TRUE(WaitReadable(receiver.socket));
    ASSERT_EQ(receiver.socket.Receive(text), 0);
    EXPECT_TRUE(text.empty());
}

TEST(SockUDPTest, LargestDatagramsArriveWholeOneAtATime)
{
    BoundSocket sender;
    BoundSocket receiver;
    receiver.socket.SetReceiveBufferSize(1 << 20);
    const std::size_t kMaxPayload = 65507; // the largest IPv4 UDP payload
    std::string big(kMaxPayload, 'a');
    big.back() = 'z';
    std::size_t length = big.size();
    ASSERT_EQ(sender.socket.SendTo(big.data(), length, receiver.address), 0);
    ASSERT_EQ(sender.socket.SendTo("small", receiver.address), 0);

    std::string text;
    ASSERT_TRUE(WaitReadable(receiver.socket));
    ASSERT_EQ(receiver.socket.Receive(text), 0);
    EXPECT_EQ(text, big);
    ASSERT_TRUE(WaitReadable(receiver.socket));
    ASSERT_EQ(receiver.socket.Receive(text), 0);
    EXPECT_EQ(text, std::string("small\0", 6)); // the buffer shrinks to the datagram

    // A datagram larger than the largest payload is refused by the sender.
    std::string tooBig(kMaxPayload + 1, 'a');
    length = tooBig.size();
    EXPECT_EQ(sender.socket.SendTo(tooBig.data(), length, receiver.address), 10040);
}

TEST(SockUDPTest, CreateFailuresThrowWithTheirText)
{
    BoundSocket first;
    CSockUDP second;
    try {
        second.Create(first.address);
        FAIL() << "bound twice";
    } catch (const CSockErr& error) {
        EXPECT_EQ(error.ErrorNumber(), 10048);
        EXPECT_STREQ(error.what(), "Socket Error 10048 : Address already in use");
    }
    // The socket made before the failing bind stays until Close; Create works again.
    EXPECT_TRUE(second.IsCreated());
    second.Close();
    EXPECT_FALSE(second.IsCreated());
    second.Create(Loopback());
    EXPECT_TRUE(second.IsCreated());

    CSockUDP closed;
    try {
        closed.EnumNetworkEvents();
        FAIL() << "no socket";
    } catch (const CSockErr& error) {
        EXPECT_EQ(error.ErrorNumber(), 10038);
    }
}

TEST(SockUDPTest, RecreatingAndClosingReleaseTheDescriptor)
{
    CSockUDP socket;
    socket.Create(Loopback());
    const CSockAddr firstAddress = socket.LocalAddress();
    socket.Create(Loopback()); // closes the first one
    // The first port is free again: another socket can bind it.
    CSockUDP other;
    EXPECT_NO_THROW(other.Create(firstAddress));
    socket.Close();
    socket.Close(); // harmless
    EXPECT_EQ(socket.WaitDescriptor(), -1);
}

TEST(SockUDPTest, SendErrorsAreReturnedNotThrown)
{
    BoundSocket sender;
    CSockAddr nowhere;
    nowhere.Parse("255.255.255.255:27960", CSockAddr::Lookup::NumericOnly);
    // Broadcasting needs a socket option that these sockets do not set.
    EXPECT_EQ(sender.socket.SendTo("x", nowhere), 10013);

    CSockUDP closed;
    EXPECT_EQ(closed.SendTo("x", Loopback()), 10009);
}
