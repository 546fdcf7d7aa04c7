// Request parsing, the master's datagrams, and the Windows-1252 text of the manifest.

#include "testnet/MasterReply.h"
#include "testnet/Request.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;
using testnet::CListedAddress;
using testnet::CMasterQuery;
using testnet::CRequest;

TEST(Request, AcceptsTheStatusRequestInEveryFormClientsSend)
{
    for (const std::string& datagram :
         {"\xFF\xFF\xFF\xFFgetstatus\n\0"s, "\xFF\xFF\xFF\xFFgetstatus\n"s,
          "\xFF\xFF\xFF\xFFgetstatus"s, "\xFF\xFF\xFF\xFFGetStatus\n"s}) {
        const auto request = CRequest::Parse(datagram);
        ASSERT_TRUE(request) << datagram;
        EXPECT_EQ(request->command, "getstatus");
        EXPECT_TRUE(request->args.empty());
    }
    const auto challenged = CRequest::Parse("\xFF\xFF\xFF\xFFgetinfo  xyz123\n\0junk"s);
    ASSERT_TRUE(challenged);
    EXPECT_EQ(challenged->command, "getinfo");
    EXPECT_EQ(challenged->args, std::vector<std::string>{"xyz123"});
}

TEST(Request, RejectsDatagramsWithoutMarkerOrCommand)
{
    EXPECT_FALSE(CRequest::Parse("getstatus\n"));
    EXPECT_FALSE(CRequest::Parse("\xFF\xFF\xFFgetstatus"));
    EXPECT_FALSE(CRequest::Parse("\xFF\xFF\xFF\xFF \n"));
    EXPECT_FALSE(CRequest::Parse("\xFF\xFF\xFF\xFF\0getstatus"s));
    EXPECT_FALSE(CRequest::Parse(""));
}

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

TEST(MasterReply, SplitsLongListsWithTheMarkerOnlyAtTheEnd)
{
    const std::string header = "\xFF\xFF\xFF\xFFgetserversResponse";
    for (const std::size_t count : {194u, 195u, 196u, 390u, 1000u}) {
        std::vector<CListedAddress> list;
        for (std::size_t i = 0; i < count; ++i)
            list.push_back({0x7F000001, static_cast<std::uint16_t>(20000 + i)});
        const auto datagrams = testnet::MasterReply(list);
        std::size_t records = 0;
        for (std::size_t d = 0; d < datagrams.size(); ++d) {
            const std::string& datagram = datagrams[d];
            const bool last = d + 1 == datagrams.size();
            ASSERT_LE(datagram.size(), 1400u);
            ASSERT_EQ(datagram.compare(0, header.size(), header), 0);
            const std::size_t body = datagram.size() - header.size() - (last ? 7 : 0);
            ASSERT_EQ(body % 7, 0u);
            EXPECT_EQ(datagram.ends_with("\\EOT\0\0\0"s), last) << count << " datagram " << d;
            for (std::size_t at = header.size(); at < header.size() + body; at += 7) {
                const auto port =
                    static_cast<std::uint16_t>((static_cast<unsigned char>(datagram[at + 5]) << 8) |
                                               static_cast<unsigned char>(datagram[at + 6]));
                ASSERT_EQ(datagram[at], '\\');
                EXPECT_EQ(port, 20000 + records);
                ++records;
            }
        }
        EXPECT_EQ(records, count);
        EXPECT_EQ(datagrams.size(), (count + 194) / 195) << count;
    }
}
