#pragma once

#include "cli/ResultFormat.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A wrong command line; what() names the bad option or value.
class CUsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

enum class ScanSource
{
    Master,
    Favorites,
    Servers
};
enum class OutputView
{
    Servers,
    Players,
    Info
};

// The command line of farsighter-query. Defaults are those of a first start of the desktop
// program: version "1.4", full servers listed, empty servers not, speed "ISDN".
struct CQueryOptions
{
    static constexpr std::uint16_t kDefaultMasterPort = 27950;
    static constexpr std::uint16_t kDefaultServerPort = 27960;

    bool help = false;
    bool version = false;

    ScanSource source = ScanSource::Servers;
    std::string master;               // HOST[:PORT]
    std::string favorites;            // path of a favorites file
    std::vector<std::string> servers; // HOST[:PORT] each

    int protocol = 60;
    bool includeEmpty = false;
    bool includeFull = true;
    int limit = 2; // new status requests per 200 ms tick

    OutputView view = OutputView::Servers;
    std::string infoAddress; // HOST[:PORT] of --info
    OutputFormat format = OutputFormat::Table;
    std::string countryDatabase; // --country-db FILE; empty: the system's

    // Reads the arguments after the program name. Throws CUsageError. Once --help or
    // --version is seen, the rest is not looked at.
    static CQueryOptions Parse(std::span<const std::string_view> args);

    // The text of --help.
    static std::string Usage();
};
