#include "cli/ScanDriver.h"

#include "cli/ResultSet.h"
#include "tests/support/TestNetProcess.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace std::chrono_literals;

TEST(ScanDriverTest, ReportsEveryRecordOnceAndCountsAsItGoes)
{
    CTestNetProcess net({"--count", "6", "--seed", "2", "--silent", "2"});
    CScanDriver driver(true, true);
    std::size_t answering = 0;
    for (const auto& server : net.Manifest().at("servers")) {
        CSockAddr address("127.0.0.1");
        address.SetPort(server.at("port").get<std::uint16_t>());
        driver.Servers().insert_or_assign(address, CServer(address));
        answering += server.at("behaviour") == "silent" ? 0 : 1;
    }

    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        std::vector<CScanDriver::Progress> seen;
        const auto error = driver.Run(
            3, [&](const CScanDriver::Progress& p) { seen.push_back(p); }, 50ms);
        EXPECT_FALSE(error.has_value()) << *error;

        std::set<const CServer*> reported(driver.Reported().begin(), driver.Reported().end());
        EXPECT_EQ(driver.Reported().size(), 6u);
        EXPECT_EQ(reported.size(), 6u) << "each record once";
        std::size_t answered = 0, listed = 0;
        for (const CServer* s : driver.Reported()) {
            EXPECT_TRUE(s->IsFinished());
            answered += IsAnswered(*s) ? 1 : 0;
            listed += s->gameType != 0 ? 1 : 0;
        }
        EXPECT_EQ(answered, answering);

        // Silent servers keep the scan going for two time-outs of 1.2 s, so the progress
        // was shown several times, counting down to the end.
        ASSERT_GE(seen.size(), 10u);
        EXPECT_EQ(seen.front().toQuery, 6u);
        for (std::size_t i = 1; i < seen.size(); ++i) {
            EXPECT_LE(seen[i].toQuery, seen[i - 1].toQuery);
            EXPECT_GE(seen[i].answered, seen[i - 1].answered);
        }
        EXPECT_EQ(seen.back().toQuery, 0u);
        EXPECT_EQ(seen.back().answered, answered);
        EXPECT_EQ(seen.back().listed, listed);
    }
}

TEST(ScanDriverTest, RunReturnsOnceEveryRecordIsReported)
{
    // The engine reports at the tick after the reply and would end at the tick after that:
    // the driver does not wait for the second one. Nor, with an empty map, for the first.
    CScanDriver empty(false, true);
    const auto emptyStart = std::chrono::steady_clock::now();
    EXPECT_FALSE(empty.Run(2).has_value());
    EXPECT_TRUE(empty.Reported().empty());
    EXPECT_LT(std::chrono::steady_clock::now() - emptyStart, 1s);

    CTestNetProcess net({"--count", "1"});
    QueryEngineOptions options;
    options.tickPeriod = 1000ms;
    CScanDriver driver(true, true, options);
    CSockAddr address("127.0.0.1");
    address.SetPort(net.ServerPorts().at(0));
    driver.Servers().insert_or_assign(address, CServer(address));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(driver.Run(1).has_value());
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(driver.Reported().size(), 1u);
    EXPECT_TRUE(IsAnswered(*driver.Reported()[0]));
    EXPECT_GE(took, 900ms);
    EXPECT_LT(took, 1600ms);
}

} // namespace
