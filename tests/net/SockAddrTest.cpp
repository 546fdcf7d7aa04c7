#include "net/SockAddr.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

std::string Parsed(std::string_view text)
{
    CSockAddr address;
    address.Parse(text, CSockAddr::Lookup::NumericOnly);
    return address.ToString();
}

} // namespace

TEST(SockAddrTest, DefaultIsAnyAddressOnPortZero)
{
    const CSockAddr address;
    EXPECT_EQ(address.ToString(), "0.0.0.0:0");
    EXPECT_EQ(address.Raw().sin_family, AF_INET);
    EXPECT_EQ(address.GetPort(), 0);
    EXPECT_EQ(address.GetAddressNetworkOrder(), 0u);
    EXPECT_TRUE(address.IsValid());
}

TEST(SockAddrTest, ParsesBothSeparatorsAndMissingPorts)
{
    EXPECT_EQ(Parsed("1.2.3.4:27960"), "1.2.3.4:27960");
    EXPECT_EQ(Parsed("1.2.3.4[27960]"), "1.2.3.4:27960");
    EXPECT_EQ(Parsed("1.2.3.4"), "1.2.3.4:0");
    EXPECT_EQ(Parsed("1.2.3.4:"), "1.2.3.4:0");
    EXPECT_EQ(Parsed("1.2.3.4:x"), "1.2.3.4:0");
    EXPECT_EQ(Parsed("1.2.3.4: 27961junk"), "1.2.3.4:27961");
    // The first "[" wins over an earlier ":".
    EXPECT_EQ(Parsed("1.2.3.4:5[6"), "255.255.255.255:6");
}

TEST(SockAddrTest, PortWithoutSeparatorKeepsTheEarlierPort)
{
    CSockAddr address;
    address.SetPort(27960);
    address.Parse("10.0.0.1", CSockAddr::Lookup::NumericOnly);
    EXPECT_EQ(address.ToString(), "10.0.0.1:27960");
    const CSockAddr copy = address;
    EXPECT_EQ(copy, address);
}

TEST(SockAddrTest, PortsBeyondSixteenBitsKeepTheirLowBits)
{
    EXPECT_EQ(Parsed("1.2.3.4:65535"), "1.2.3.4:65535");
    EXPECT_EQ(Parsed("1.2.3.4:65536"), "1.2.3.4:0");
    EXPECT_EQ(Parsed("1.2.3.4:-1"), "1.2.3.4:65535");
    EXPECT_EQ(Parsed("1.2.3.4:99999999999999"), "1.2.3.4:65535"); // saturated, then cut
}

TEST(SockAddrTest, UnconvertibleHostsLeaveTheAddressAllOnes)
{
    for (const char* text : {"no.such.host.invalid:1", ":27960", "", "1.2.3.4.5:1", "[80"}) {
        CSockAddr address;
        address.Parse(text, CSockAddr::Lookup::NumericOnly);
        EXPECT_FALSE(address.IsValid()) << text;
        EXPECT_EQ(address.GetAddressNetworkOrder(), INADDR_NONE) << text;
    }
}

TEST(SockAddrTest, TextEndsAtItsFirstZeroByte)
{
    using namespace std::string_view_literals;
    EXPECT_EQ(Parsed("1.2.3.4\0:99"sv), "1.2.3.4:0");
    EXPECT_EQ(Parsed("1.2.3.4:80\0"
                     "1"sv),
              "1.2.3.4:80");
}

TEST(SockAddrTest, ResolvesHostNames)
{
    // "localhost" comes from the hosts file: no network is needed.
    const CSockAddr address("localhost:27950");
    EXPECT_EQ(address.ToString(), "127.0.0.1:27950");
    // The same text without lookups stays unresolved.
    CSockAddr numeric;
    numeric.Parse("localhost:27950", CSockAddr::Lookup::NumericOnly);
    EXPECT_FALSE(numeric.IsValid());
    EXPECT_EQ(numeric.GetPort(), 27950);
}

TEST(SockAddrTest, OrderIsByStoredBytesLastOctetFirst)
{
    // By stored bytes, the last octet weighs most: 9.0.0.1 < 1.0.0.2.
    EXPECT_LT(CSockAddr("9.0.0.1:1"), CSockAddr("1.0.0.2:1"));
    EXPECT_FALSE(CSockAddr("1.0.0.2:1") < CSockAddr("9.0.0.1:1"));
    // Same address: the port bytes as stored, least significant byte first.
    // Port 256 is stored 01 00 (reads 1), port 1 is stored 00 01 (reads 256).
    EXPECT_LT(CSockAddr("1.2.3.4:256"), CSockAddr("1.2.3.4:1"));
    // The address decides before the port.
    EXPECT_LT(CSockAddr("1.0.0.1:65535"), CSockAddr("1.0.0.2:0"));

    const CSockAddr a("1.2.3.4:5");
    EXPECT_FALSE(a < a);
    EXPECT_EQ(a, CSockAddr("1.2.3.4[5"));
    EXPECT_NE(a, CSockAddr("1.2.3.4:6"));

    std::map<CSockAddr, int> ordered;
    for (const char* text : {"1.0.0.2:1", "9.0.0.1:1", "1.2.3.4:1", "1.2.3.4:256"})
        ordered.emplace(CSockAddr(text), 0);
    std::vector<std::string> keys;
    for (const auto& entry : ordered)
        keys.push_back(entry.first.ToString());
    EXPECT_EQ(keys,
              (std::vector<std::string>{"9.0.0.1:1", "1.0.0.2:1", "1.2.3.4:256", "1.2.3.4:1"}));
}

TEST(SockAddrTest, ConstructsFromNumbers)
{
    const CSockAddr address(htonl(0x7F000001), 27960);
    EXPECT_EQ(address.ToString(), "127.0.0.1:27960");
    EXPECT_EQ(address.GetAddressNetworkOrder(), htonl(0x7F000001));
}
