// The master request reader and the master's datagrams.

#include "testnet/MasterReply.h"
#include "testnet/Request.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;
using testnet::CListedAddress;
using testnet::CMasterQuery;
using testnet::CRequest;

TEST(MasterQuery, ReadsProtocolAndKeywordsInAnyOrder)
{
    auto query = [](const std::string& datagram) {
        const auto request = CRequest::Parse(datagram);
        return request ? CMasterQuery::From(*request) : std::nullopt;
    };
    const auto browser = query("\xFF\xFF\xFF\xFFgetservers 60 full empty\0"s);
    ASSERT_TRUE(browser);
    EXPECT_EQ(browser->protocol, 60);
    EXPECT_TRUE(browser->full);
    EXPECT_TRUE(browser->empty);

    const auto qstat = query("\xFF\xFF\xFF\xFFgetservers 57 empty\n"s);
    ASSERT_TRUE(qstat);
    EXPECT_EQ(qstat->protocol, 57);
    EXPECT_FALSE(qstat->full);
    EXPECT_TRUE(qstat->empty);

    const auto plain = query("\xFF\xFF\xFF\xFFgetservers 60"s);
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->full || plain->empty);

    EXPECT_FALSE(query("\xFF\xFF\xFF\xFFgetservers"s));
    EXPECT_FALSE(query("\xFF\xFF\xFF\xFFgetservers sixty"s));
    EXPECT_FALSE(query("\xFF\xFF\xFF\xFFgetservers 60x"s));
    EXPECT_FALSE(query("\xFF\xFF\xFF\xFFgetstatus 60"s));
}

TEST(MasterReply, EncodesRecordsAndEndsWithTheMarker)
{
    const std::vector<CListedAddress> list = {{0x7F000001, 27960}, {0x0A000005, 0xFF01}};
    const auto datagrams = testnet::MasterReply(list);
    ASSERT_EQ(datagrams.size(), 1u);
    EXPECT_EQ(datagrams[0], "\xFF\xFF\xFF\xFFgetserversResponse"
                            "\\\x7F\x00\x00\x01\x6D\x38"
                            "\\\x0A\x00\x00\x05\xFF\x01"
                            "\\EOT\0\0\0"s);
    EXPECT_EQ(testnet::MasterReply({}),
              std::vector<std::string>{"\xFF\xFF\xFF\xFFgetserversResponse\\EOT\0\0\0"s});
}
