#include "testnet/TestNetOptions.h"

#include <gtest/gtest.h>

using testnet::CTestNetOptions;
using testnet::CUsageError;

TEST(TestNetOptions, ReadsValuesInBothSpellingsAndRejectsWhatCannotBeServed)
{
    const CTestNetOptions o = CTestNetOptions::Parse(
        {"--master-port=0", "--first-port", "0", "--count", "10000", "--delays", "5,0,250",
         "--loss=12.5", "--seed", "18446744073709551615", "--master-silent", "--manifest=m.json",
         "--silent", "3", "--hostile=8"});
    EXPECT_EQ(o.masterPort, 0);
    EXPECT_EQ(o.firstPort, 0);
    EXPECT_EQ(o.count, 10000);
    EXPECT_EQ(o.delaysMs, (std::vector<int>{5, 0, 250}));
    EXPECT_DOUBLE_EQ(o.lossPercent, 12.5);
    EXPECT_EQ(o.seed, UINT64_MAX);
    EXPECT_TRUE(o.masterSilent);
    EXPECT_EQ(o.manifestPath, "m.json");
    EXPECT_EQ(o.silent, 3);
    EXPECT_EQ(o.hostile, 8);

    const std::vector<std::vector<std::string>> bad = {
        {"--count"},                                         // value missing
        {"--count", "12x"},                                  // not a number
        {"--count", "-1"},                                   // negative
        {"--loss", "101"},                                   // over 100 percent
        {"--loss", "nan"},                                   //
        {"--delays", "5,,7"},                                // empty item
        {"--master-port", "65536"},                          // no such port
        {"--first-port", "65500", "--count", "100"},         // runs past 65535
        {"--first-port", "27960", "--master-port", "27961"}, // among the servers
        {"--count", "5", "--silent", "3", "--hostile", "3"}, // more special than servers
        {"--quiet=1"},                                       // flag with a value
        {"--frobnicate"},                                    // unknown
        {"stray"},                                           // not an option
    };
    for (const auto& args : bad)
        EXPECT_THROW(CTestNetOptions::Parse(args), CUsageError) << testing::PrintToString(args);
}
