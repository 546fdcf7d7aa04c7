// The master request reader. (The master's datagrams are checked from outside in
// TestNetProcessTest.)

#include "testnet/Request.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace std::string_literals;
using testnet::CMasterQuery;
using testnet::CRequest;

TEST(MasterQuery, ReadsProtocolAndKeywordsInAnyOrder)
{
    // protocol, full, empty; protocol -1: not a master query.
    const std::pair<std::string, std::array<int, 3>> cases[] = {
        {"\xFF\xFF\xFF\xFFgetservers 60 full empty\0"s, {60, 1, 1}}, // the browser
        {"\xFF\xFF\xFF\xFFgetservers 57 empty\n"s, {57, 0, 1}},      // qstat
        {"\xFF\xFF\xFF\xFFgetservers 60"s, {60, 0, 0}},
        {"\xFF\xFF\xFF\xFFgetservers"s, {-1, 0, 0}},
        {"\xFF\xFF\xFF\xFFgetservers sixty"s, {-1, 0, 0}},
        {"\xFF\xFF\xFF\xFFgetservers 60x"s, {-1, 0, 0}},
        {"\xFF\xFF\xFF\xFFgetstatus 60"s, {-1, 0, 0}},
    };
    for (const auto& [datagram, expected] : cases) {
        const auto request = CRequest::Parse(datagram);
        const auto query = request ? CMasterQuery::From(*request) : std::nullopt;
        const std::array<int, 3> got =
            query ? std::array<int, 3>{query->protocol, query->full, query->empty}
                  : std::array<int, 3>{-1, 0, 0};
        EXPECT_EQ(got, expected) << datagram;
    }
}
