#include "query/Server.h"
#include "query/ServerMap.h"

#include "net/SockUDP.h"
#include "net/Wait.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <limits>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr std::int64_t Ms(std::int64_t ms)
{
    return ms * 1'000'000; // counter readings are nanoseconds
}

// A loopback peer that plays the game server: counts the requests it receives.
class RetryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CSockAddr loopback;
        loopback.Parse("127.0.0.1", CSockAddr::Lookup::NumericOnly);
        peer.Create(loopback);
        client.Create(loopback);
        server = CServer(peer.LocalAddress());
        server.Reset();
    }

    // Every datagram that arrived at the peer so far.
    std::vector<std::string> Received()
    {
        std::vector<std::string> datagrams;
        std::array<IWaitable*, 1> sources{&peer};
        while (WaitForAny(sources, 100ms) == 0) {
            std::string text;
            if (peer.Receive(text) == 0)
                datagrams.push_back(text);
        }
        return datagrams;
    }

    CSockUDP peer;
    CSockUDP client;
    CServer server;
};

} // namespace

TEST(ServerTest, ConstructorNamesByAddressAndResets)
{
    const CSockAddr address("10.1.2.3:27960");
    const CServer fromMaster(address);
    EXPECT_EQ(fromMaster.address, address);
    EXPECT_EQ(fromMaster.name, "10.1.2.3:27960");
    EXPECT_EQ(fromMaster.password, "");
    EXPECT_EQ(fromMaster.timeout, 1000u);
    EXPECT_EQ(fromMaster.tries, 0);
    EXPECT_EQ(fromMaster.ping, 9999);
    EXPECT_EQ(fromMaster.gameType, 0);
    EXPECT_FALSE(fromMaster.friendlyFire);
    EXPECT_FALSE(fromMaster.punkBuster);
    EXPECT_FALSE(fromMaster.IsFinished());

    const CServer favorite(address, "My Server", "secret");
    EXPECT_EQ(favorite.name, "My Server");
    EXPECT_EQ(favorite.password, "secret");
    // Empty texts from a favorite are stored as they are.
    const CServer unnamed(address, "", "");
    EXPECT_EQ(unnamed.name, "");

    const CServer empty;
    EXPECT_EQ(empty.address.ToString(), "0.0.0.0:0");
    EXPECT_TRUE(empty.players.empty());
}

TEST(ServerTest, ResetKeepsTheLastKnownDescription)
{
    CServer server(CSockAddr("10.1.2.3:27960"), "Fav", "pw");
    server.Reset();
    server.tries = 1;
    server.HandleReply("x\n\\sv_hostname\\Named\\mapname\\mp_beach\\g_gametype\\5\\mod_url\\OSP"
                       "\\g_friendlyfire\\1\\sv_punkbuster\\1\\g_maxlives\\3\\sv_maxclients\\16\n"
                       "1 2 \"p\"\n",
                       0);
    ASSERT_EQ(server.gameType, 5);
    ASSERT_EQ(server.players.size(), 1u);

    server.Reset();
    EXPECT_EQ(server.name, "Named");
    EXPECT_EQ(server.map, "mp_beach");
    EXPECT_EQ(server.modUrl, "osp");
    EXPECT_EQ(server.password, "pw");
    EXPECT_TRUE(server.friendlyFire);
    EXPECT_TRUE(server.punkBuster);
    EXPECT_EQ(server.gameType, 0);
    EXPECT_EQ(server.maxClients, 0);
    EXPECT_EQ(server.maxLives, 0);
    EXPECT_EQ(server.ping, 9999);
    EXPECT_EQ(server.tries, 0);
    EXPECT_EQ(server.timeout, 1200u);
    EXPECT_TRUE(server.players.empty());
    EXPECT_TRUE(server.vars.empty());
}

TEST(ServerTest, ElapsedMsKeepsTheLowBits)
{
    CServer server;
    server.sendTime = Ms(1000);
    EXPECT_EQ(server.ElapsedMs(Ms(1000) + 999'999), 0u);
    EXPECT_EQ(server.ElapsedMs(Ms(1250)), 250u);
    EXPECT_EQ(server.ElapsedMs(Ms(1000 + (std::int64_t{1} << 32) + 5)), 5u);
    EXPECT_EQ(server.ElapsedMs(Ms(999)), std::numeric_limits<std::uint32_t>::max()); // -1
}

TEST_F(RetryTest, SilentServerGetsTwoRequestsAndTimesOut)
{
    EXPECT_TRUE(server.SendStatusRequest(client, Ms(0)));
    EXPECT_EQ(server.tries, 1);
    EXPECT_FALSE(server.SendStatusRequest(client, Ms(1200))); // not more than the time-out yet
    EXPECT_EQ(server.tries, 1);
    EXPECT_TRUE(server.SendStatusRequest(client, Ms(1201)));
    EXPECT_EQ(server.tries, 2);
    EXPECT_EQ(server.sendTime, Ms(1201));
    EXPECT_FALSE(server.SendStatusRequest(client, Ms(2401)));
    EXPECT_FALSE(server.IsFinished());
    EXPECT_FALSE(server.SendStatusRequest(client, Ms(2402)));
    EXPECT_EQ(server.tries, 3);
    EXPECT_TRUE(server.IsFinished());
    EXPECT_EQ(server.ping, 9999);
    EXPECT_EQ(server.gameType, 0);

    // A late reply to a timed-out record changes nothing.
    server.HandleReply("x\n\\g_gametype\\5\n", Ms(2500));
    EXPECT_EQ(server.tries, 3);
    EXPECT_EQ(server.ping, 9999);
    EXPECT_TRUE(server.vars.empty());

    const auto datagrams = Received();
    ASSERT_EQ(datagrams.size(), 2u);
    EXPECT_EQ(datagrams[0], std::string("\xFF\xFF\xFF\xFFgetstatus\n\0", 15));
    EXPECT_EQ(datagrams[1], datagrams[0]);
}

TEST_F(RetryTest, ReplyAfterTheResendIsTimedFromTheResend)
{
    ASSERT_TRUE(server.SendStatusRequest(client, Ms(0)));
    ASSERT_TRUE(server.SendStatusRequest(client, Ms(1300)));
    server.HandleReply("x\n\\g_gametype\\6\n", Ms(1345));
    EXPECT_EQ(server.ping, 45);
    EXPECT_EQ(server.tries, 999);
    EXPECT_EQ(server.gameType, 6);
    EXPECT_TRUE(server.IsFinished());

    // A second reply is ignored.
    server.HandleReply("x\n\\g_gametype\\7\\extra\\1\n", Ms(1400));
    EXPECT_EQ(server.ping, 45);
    EXPECT_EQ(server.gameType, 6);
    EXPECT_EQ(server.vars.size(), 1u);

    // An answered record only counts on: no request goes out.
    EXPECT_FALSE(server.SendStatusRequest(client, Ms(5000)));
    EXPECT_EQ(server.tries, 1000);
    EXPECT_TRUE(server.IsFinished());
    EXPECT_EQ(Received().size(), 2u);
}

TEST_F(RetryTest, ReplyBeforeAnyRequestIsIgnored)
{
    // Nothing was sent in this scan, so there is nothing to time the reply by.
    server.sendTime = 0;
    server.HandleReply("x\n\\g_gametype\\5\n", Ms(123456789));
    EXPECT_EQ(server.tries, 0);
    EXPECT_EQ(server.ping, 9999);
    EXPECT_TRUE(server.vars.empty());
    // The record is then queried as usual.
    EXPECT_TRUE(server.SendStatusRequest(client, Ms(200)));
    server.HandleReply("x\n", Ms(230));
    EXPECT_EQ(server.ping, 30);
}

TEST(ServerMapTest, SameAddressTwiceGivesOneRecordWithTheLaterValue)
{
    CServerMap map;
    const CSockAddr address("10.0.0.1:27960");
    map.insert_or_assign(address, CServer(address, "first", "a"));
    map.insert_or_assign(address, CServer(address, "second", "b"));
    ASSERT_EQ(map.size(), 1u);
    EXPECT_EQ(map.begin()->second.name, "second");
    EXPECT_EQ(map.begin()->second.password, "b");
}
