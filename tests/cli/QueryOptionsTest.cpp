#include "cli/QueryOptions.h"

#include <gtest/gtest.h>

#include <climits>

#include <initializer_list>

namespace {

CQueryOptions Parse(std::initializer_list<std::string_view> args)
{
    const std::vector<std::string_view> list(args);
    return CQueryOptions::Parse(list);
}

TEST(QueryOptionsTest, GameVersionsAndSpeedsByTheirTexts)
{
    const std::pair<std::string_view, int> versions[] = {{"Demo", 56}, {"1.0 - 1.1", 57},
                                                         {"1.3", 58},  {"1.32 - 1.33", 59},
                                                         {"1.4", 60},  {"demo", 56}};
    for (const auto& [text, protocol] : versions) {
        EXPECT_EQ(Parse({"--master", "m", "--game-version", text}).protocol, protocol) << text;
    }
    const std::pair<std::string_view, int> speeds[] = {{"Modem", 1}, {"ISDN", 2},   {"ISDN128", 4},
                                                       {"DSL", 8},   {"DSL*2", 16}, {"DSL*4", 32},
                                                       {"dsl*4", 32}};
    for (const auto& [text, limit] : speeds) {
        EXPECT_EQ(Parse({"m:1", "--speed", text}).limit, limit) << text;
    }
    EXPECT_EQ(Parse({"--master", "m", "--protocol", "84"}).protocol, 84);
    EXPECT_EQ(Parse({"--master", "m", "--protocol=-1"}).protocol, -1);
    EXPECT_EQ(Parse({"m:1", "--limit", "10000"}).limit, 10000);
    EXPECT_EQ(Parse({"m:1", "--limit=1"}).limit, 1);
}

TEST(QueryOptionsTest, SourcesOutputsFiltersAndHelp)
{
    const CQueryOptions favorites = Parse({"--favorites=fav.dat", "--csv", "--players"});
    EXPECT_EQ(favorites.source, ScanSource::Favorites);
    EXPECT_EQ(favorites.favorites, "fav.dat");
    EXPECT_EQ(favorites.format, OutputFormat::Csv);
    EXPECT_EQ(favorites.view, OutputView::Players);

    const CQueryOptions servers = Parse({"a:1", "--json", "b", "--", "--c"});
    EXPECT_EQ(servers.source, ScanSource::Servers);
    EXPECT_EQ(servers.servers, (std::vector<std::string>{"a:1", "b", "--c"}));
    EXPECT_EQ(servers.format, OutputFormat::Json);

    // --info alone scans just that server.
    const CQueryOptions info = Parse({"--info", "10.0.0.5:27960"});
    EXPECT_EQ(info.source, ScanSource::Servers);
    EXPECT_TRUE(info.servers.empty());
    EXPECT_EQ(info.view, OutputView::Info);
    EXPECT_EQ(info.infoAddress, "10.0.0.5:27960");
    EXPECT_EQ(Parse({"--master", "m", "--info", "x"}).source, ScanSource::Master);

    // Filters take the last word; help and version end the parse.
    const CQueryOptions on = Parse({"m", "--empty", "--no-full"});
    EXPECT_TRUE(on.includeEmpty && !on.includeFull);
    const CQueryOptions back = Parse({"m", "--empty", "--no-full", "--no-empty", "--full"});
    EXPECT_TRUE(!back.includeEmpty && back.includeFull);
    EXPECT_TRUE(Parse({"--help", "--bogus"}).help);
    EXPECT_TRUE(Parse({"-h"}).help);
    EXPECT_TRUE(Parse({"--version"}).version);
}

TEST(QueryOptionsTest, WrongOptionsValuesAndCombinationsAreNamed)
{
    const std::string limitRange =
        "' for --limit is out of range; use 1 to " + std::to_string(INT_MAX);
    const std::string positive = "' for --limit; use a positive whole number";
    const std::pair<std::vector<std::string_view>, std::string> cases[] = {
        {{"--bogus", "--help"}, "unknown option '--bogus'"}, // what stands before --help is read
        {{"-x", "m"}, "unknown option '-x'"},
        {{"m", "--master"}, "option '--master' needs a value"},
        {{"--master="}, "option '--master' needs a value"},
        {{"m", "--json=yes"}, "option '--json' takes no value"},
        {{"m", "--speed", "T1"},
         "invalid value 'T1' for --speed; use one of \"Modem\", \"ISDN\", \"ISDN128\", "
         "\"DSL\", \"DSL*2\", \"DSL*4\""},
        {{"--master", "m", "--game-version", "1.5"},
         "invalid value '1.5' for --game-version; use one of \"Demo\", \"1.0 - 1.1\", "
         "\"1.3\", \"1.32 - 1.33\", \"1.4\""},
        {{"m", "--limit", "99999999999"}, "value '99999999999" + limitRange},
        {{"m", "--limit", "2147483648"}, "value '2147483648" + limitRange},
        {{"m", "--limit", "0"}, "invalid value '0" + positive},
        {{"m", "--limit", "-3"}, "invalid value '-3" + positive},
        {{"m", "--limit", "x"}, "invalid value 'x" + positive},
        {{"m", "--limit", "5x"}, "invalid value '5x" + positive},
        {{"--master", "m", "--protocol", "sixty"},
         "invalid value 'sixty' for --protocol; use a whole number"},
        {{"--master", "m", "--game-version", "1.3", "--protocol", "58"},
         "--game-version and --protocol cannot be combined"},
        {{"m", "--speed", "DSL", "--limit", "3"}, "--speed and --limit cannot be combined"},
        {{"m", "--json", "--csv"}, "--json and --csv cannot be combined"},
        {{"m", "--players", "--info", "m"}, "--players and --info cannot be combined"},
        {{"--master", "m", "--favorites", "f"}, "--master and --favorites cannot be combined"},
        {{"--master", "m", "s"}, "--master and server addresses cannot be combined"},
        {{"--favorites", "f", "s"}, "--favorites and server addresses cannot be combined"},
        {{"s", "--game-version", "1.3"}, "--game-version applies only to --master"},
        {{"--empty", "--json"},
         "nothing to scan: give --master HOST, --favorites FILE or server addresses"},
    };
    for (const auto& [args, error] : cases) {
        std::string what = "no error";
        try {
            CQueryOptions::Parse(args);
        } catch (const CUsageError& e) {
            what = e.what();
        }
        EXPECT_EQ(what, error);
    }
}

} // namespace
