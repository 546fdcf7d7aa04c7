// The master request reader. (The master's datagrams are checked from outside in
// TestNetProcessTest.)

#include "testnet/Request.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;
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
