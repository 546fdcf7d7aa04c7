#include "net/SockAddr.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <string>

using namespace std::string_view_literals;

namespace {

std::string Parsed(std::string_view text)
{
    CSockAddr address;
    address.Parse(text, CSockAddr::Lookup::NumericOnly);
    return address.ToString();
}

} // namespace

TEST(SockAddrTest, ParsesBothSeparatorsAndOrdersByStoredBytes)
{
    EXPECT_EQ(CSockAddr().ToString(), "0.0.0.0:0");
    EXPECT_EQ(Parsed("1.2.3.4:27960"), "1.2.3.4:27960");
    EXPECT_EQ(Parsed("1.2.3.4[27960]"), "1.2.3.4:27960");
    for (const char* noPort : {"1.2.3.4", "1.2.3.4:", "1.2.3.4:x"})
        EXPECT_EQ(Parsed(noPort), "1.2.3.4:0") << noPort;
    EXPECT_EQ(Parsed("1.2.3.4: 27961junk"), "1.2.3.4:27961");
    EXPECT_EQ(Parsed("1.2.3.4:5[6"), "255.255.255.255:6"); // "[" wins over an earlier ":"
    EXPECT_EQ(Parsed("1.2.3.4:65536"), "1.2.3.4:0");       // ports keep their low 16 bits
    EXPECT_EQ(Parsed("1.2.3.4:99999999999999"), "1.2.3.4:65535");
    EXPECT_EQ(Parsed("1.2.3.4\0:99"sv), "1.2.3.4:0"); // the text ends at a zero byte

    CSockAddr address;
    address.SetPort(27960);
    address.Parse("10.0.0.1", CSockAddr::Lookup::NumericOnly);
    EXPECT_EQ(address.ToString(), "10.0.0.1:27960"); // no separator: the port stays
    EXPECT_EQ(CSockAddr(htonl(0x7F000001), 80).ToString(), "127.0.0.1:80");
    EXPECT_LT(CSockAddr("9.0.0.1:1"), CSockAddr("1.0.0.2:1"));
    EXPECT_FALSE(CSockAddr("1.0.0.2:1") < CSockAddr("9.0.0.1:1"));
    // Port 256 is stored 01 00 and reads 1; port 1 is stored 00 01 and reads 256.
    EXPECT_LT(CSockAddr("1.2.3.4:256"), CSockAddr("1.2.3.4:1"));
    EXPECT_LT(CSockAddr("1.0.0.1:65535"), CSockAddr("1.0.0.2:0")); // address before port
    EXPECT_EQ(CSockAddr("1.2.3.4:5"), CSockAddr("1.2.3.4[5"));
    EXPECT_NE(CSockAddr("1.2.3.4:5"), CSockAddr("1.2.3.4:6"));
}

TEST(SockAddrTest, UnconvertibleHostsLeaveTheAddressAllOnes)
{
    for (const char* text : {"no.such.host.invalid:1", ":27960", "", "1.2.3.4.5:1"}) {
        CSockAddr address;
        address.Parse(text, CSockAddr::Lookup::NumericOnly);
        EXPECT_FALSE(address.IsValid()) << text;
        EXPECT_EQ(address.GetAddressNetworkOrder(), INADDR_NONE) << text;
    }
    // Names are looked up unless asked not to ("localhost" needs no network).
    EXPECT_EQ(CSockAddr("localhost:27950").ToString(), "127.0.0.1:27950");
    CSockAddr numeric;
    numeric.Parse("localhost:27950", CSockAddr::Lookup::NumericOnly);
    EXPECT_FALSE(numeric.IsValid());
}
