// The retry rule over real sockets is driven by the stepped engine tests; these cover what a
// record does on its own.
#include "query/Server.h"

#include "net/SockUDP.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int64_t Millis(std::int64_t ms)
{
    return ms * 1'000'000; // counter readings are nanoseconds
}

} // namespace

TEST(ServerTest, RepliesCountOnlyBetweenARequestAndTheFinish)
{
    CServer server(CSockAddr("10.1.2.3:27960"));
    server.Reset();
    server.HandleReply("x\n\\g_gametype\\7\n", Millis(5)); // nothing sent: nothing to time by
    EXPECT_EQ(server.tries, 0);
    EXPECT_TRUE(server.vars.empty());

    server.tries = 3; // timed out
    server.HandleReply("x\n\\g_gametype\\7\n", Millis(5));
    EXPECT_EQ(server.ping, 9999);
    EXPECT_TRUE(server.vars.empty());

    server.tries = 999; // answered: only counts on, and sends nothing
    CSockUDP closed;
    EXPECT_FALSE(server.SendStatusRequest(closed, Millis(5000)));
    EXPECT_EQ(server.tries, 1000);
    EXPECT_TRUE(server.IsFinished());

    server.sendTime = Millis(1000); // milliseconds keep their low 32 bits
    EXPECT_EQ(server.ElapsedMs(Millis(1000 + (std::int64_t{1} << 32) + 5)), 5u);
}
