#include "cli/AddressArgument.h"

#include "cli/QueryOptions.h"

#include <gtest/gtest.h>

namespace {

// The address an argument names, or the usage error it gives.
std::string Parsed(std::string_view text, std::uint16_t defaultPort = 27960)
{
    try {
        return ParseAddressArgument(text, defaultPort, "--master").ToString();
    } catch (const CUsageError& e) {
        return e.what();
    }
}

TEST(AddressArgumentTest, PortFromTextOrDefault)
{
    EXPECT_EQ(Parsed("1.2.3.4"), "1.2.3.4:27960");
    EXPECT_EQ(Parsed("1.2.3.4", 27950), "1.2.3.4:27950");
    EXPECT_EQ(Parsed("1.2.3.4:27961"), "1.2.3.4:27961");
    EXPECT_EQ(Parsed("1.2.3.4[27962]"), "1.2.3.4:27962");
    EXPECT_EQ(Parsed("10.0.0.1:1"), "10.0.0.1:1");
    EXPECT_EQ(Parsed("10.0.0.1:65535"), "10.0.0.1:65535");
    EXPECT_EQ(Parsed("localhost:5"), "127.0.0.1:5");
}

TEST(AddressArgumentTest, BadPortsAndHostsNameTheOption)
{
    for (const char* text : {"1.2.3.4:", "1.2.3.4:0", "1.2.3.4:65536", "1.2.3.4:x", "1.2.3.4:12a",
                             "1.2.3.4:-1", "1.2.3.4: 5", "1.2.3.4[]", "1.2.3.4:99999999999"}) {
        EXPECT_EQ(Parsed(text),
                  "invalid port in '" + std::string(text) + "' for --master; use 1 to 65535");
    }
    EXPECT_EQ(Parsed(":27960"), "no host in ':27960' for --master");
    for (const char* text : {"127.0.0.1[27960", "1.2.3.4[27960]x", "1.2.3.4 junk:27960",
                             "1.2.3.4 junk", "1.2.3", "010.0.0.1", "host name:1", "a..b:1"}) {
        EXPECT_EQ(Parsed(text), "'" + std::string(text) +
                                    "' for --master is not an address: use HOST, HOST:PORT or "
                                    "HOST[PORT]")
            << text;
    }
    EXPECT_EQ(Parsed("255.255.255.255:5"),
              "unknown host or invalid address '255.255.255.255:5' for --master");

    // Only host names are looked up, and an unknown one is no usage error.
    std::vector<std::string> lookups;
    const HostResolver resolve = [&](const std::string& name) -> std::optional<std::uint32_t> {
        lookups.push_back(name);
        return std::nullopt;
    };
    EXPECT_THROW(ParseAddressArgument("master.example:27950", 1, "--master", resolve),
                 CHostNotFound);
    EXPECT_THROW(ParseAddressArgument("-----BEGIN", 1, "--master", resolve), CUsageError);
    EXPECT_EQ(lookups, std::vector<std::string>{"master.example"});
}

} // namespace
