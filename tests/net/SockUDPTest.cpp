#include "net/SockUDP.h"
#include "net/Error.h"
#include "net/Wait.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

using namespace std::chrono_literals;

namespace {

const CSockAddr kLoopback("127.0.0.1");

struct BoundSocket
{
    BoundSocket() { socket.Create(kLoopback); }
    CSockAddr Address() const { return socket.LocalAddress(); }
    CSockUDP socket;
};

} // namespace

TEST(SockUDPTest, DatagramsArriveWholeWithTheirSenderAndFailuresGiveTheirCodes)
{
    BoundSocket sender;
    BoundSocket receiver;
    receiver.socket.SetReceiveBufferSize(1 << 20);
    ASSERT_EQ(sender.socket.SendTo("getstatus", receiver.Address()), 0);
    std::string big(65507, 'a'); // the largest IPv4 datagram
    std::size_t length = big.size();
    ASSERT_EQ(sender.socket.SendTo(big.data(), length, receiver.Address()), 0);
    EXPECT_EQ(length, big.size());
    std::size_t none = 0;
    ASSERT_EQ(sender.socket.SendTo("", none, receiver.Address()), 0);

    std::string text;
    CSockAddr from;
    const std::array<IWaitable*, 1> sources{&receiver.socket};
    ASSERT_EQ(WaitForAny(sources, 2000ms), 0);
    EXPECT_TRUE(CSockUDP::HasEvent(receiver.socket.EnumNetworkEvents(), kNetworkRead));
    ASSERT_EQ(receiver.socket.ReceiveFrom(text, from), 0);
    EXPECT_EQ(text, std::string("getstatus\0", 10)); // the text and its zero byte
    EXPECT_EQ(from, sender.Address());
    ASSERT_EQ(receiver.socket.Receive(text), 0);
    EXPECT_EQ(text, big);
    ASSERT_EQ(receiver.socket.Receive(text), 0);
    EXPECT_TRUE(text.empty());

    // Nothing pending: no read event, and a read would block.
    EXPECT_FALSE(CSockUDP::HasEvent(receiver.socket.EnumNetworkEvents(), kNetworkRead));
    EXPECT_EQ(receiver.socket.Receive(text), 10035);
    big.push_back('a'); // one byte too many for a datagram
    length = big.size();
    EXPECT_EQ(sender.socket.SendTo(big.data(), length, receiver.Address()), 10040);

    // A second bind fails; sends on a closed socket or to the broadcast address return codes.
    CSockUDP second;
    try {
        second.Create(sender.Address());
        FAIL() << "bound twice";
    } catch (const CSockErr& error) {
        EXPECT_STREQ(error.what(), "Socket Error 10048 : Address already in use");
    }
    // The socket made before the failing bind stays until Close; Create works again.
    EXPECT_TRUE(second.IsCreated());
    second.Close();
    EXPECT_FALSE(second.IsCreated());
    EXPECT_EQ(second.SendTo("x", kLoopback), 10009);
    EXPECT_THROW(second.EnumNetworkEvents(), CSockErr);

    CSockAddr broadcast;
    broadcast.Parse("255.255.255.255:27960", CSockAddr::Lookup::NumericOnly);
    EXPECT_EQ(sender.socket.SendTo("x", broadcast), 10013); // not allowed to broadcast
}

TEST(SockUDPTest, ReadsRacingABurstLoseNothing)
{
    // The reader polls without waiting while bursts arrive, as the drain of a tick does: a
    // datagram that lands between "is anything pending" and the read must not be eaten.
    BoundSocket sender;
    BoundSocket receiver;
    constexpr int kBursts = 200;
    constexpr int kPerBurst = 50;
    std::atomic<int> received{0};
    std::thread burst([&] {
        for (int b = 0; b < kBursts; ++b) {
            while (received.load() < b * kPerBurst) // keep within the receive buffer
                std::this_thread::yield();
            for (int i = 0; i < kPerBurst; ++i)
                sender.socket.SendTo("statusResponse", receiver.Address());
        }
    });
    std::string text;
    int tooLong = 0;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (received.load() < kBursts * kPerBurst && std::chrono::steady_clock::now() < deadline) {
        const int code = receiver.socket.Receive(text);
        if (code == 0)
            received.fetch_add(1);
        else if (code == 10040)
            ++tooLong;
        else
            ASSERT_EQ(code, 10035); // nothing pending, nothing consumed
    }
    if (received.load() < kBursts * kPerBurst)
        received.store(kBursts * kPerBurst); // release the sender
    burst.join();
    EXPECT_EQ(tooLong, 0);
    EXPECT_EQ(text, std::string("statusResponse\0", 15));
}
