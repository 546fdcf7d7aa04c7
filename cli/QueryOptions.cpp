#include "cli/QueryOptions.h"

#include "query/MasterQuery.h"
#include "query/QueryEngine.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <optional>

namespace {

constexpr std::string_view kProgram = "farsighter-query";

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

template <std::size_t N>
std::string Choices(const std::array<std::string_view, N>& names)
{
    std::string text;
    for (std::string_view name : names) {
        text += text.empty() ? "" : ", ";
        text += '"';
        text += name;
        text += '"';
    }
    return text;
}

// Index of text among names (letter case ignored), or a usage error that lists them.
template <std::size_t N>
int IndexOf(const std::array<std::string_view, N>& names, std::string_view text,
            std::string_view option)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (EqualsIgnoringCase(names[i], text)) {
            return static_cast<int>(i);
        }
    }
    throw CUsageError("invalid value '" + std::string(text) + "' for " + std::string(option) +
                      "; use one of " + Choices(names));
}

int ParseInt(std::string_view text, std::string_view option, int minimum)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec == std::errc::result_out_of_range && ptr == end) {
        throw CUsageError("value '" + std::string(text) + "' for " + std::string(option) +
                          " is out of range; use " + std::to_string(minimum) + " to " +
                          std::to_string(std::numeric_limits<int>::max()));
    }
    if (ec != std::errc() || ptr != end || value < minimum) {
        std::string what =
            "invalid value '" + std::string(text) + "' for " + std::string(option) + "; use ";
        what += minimum > std::numeric_limits<int>::min() ? "a positive whole number"
                                                          : "a whole number";
        throw CUsageError(what);
    }
    return value;
}

enum class Option
{
    Master,
    GameVersion,
    Protocol,
    Empty,
    NoEmpty,
    Full,
    NoFull,
    Speed,
    Limit,
    Favorites,
    Players,
    Info,
    Json,
    Csv,
    CountryDatabase,
    Help,
    Version,
};

struct OptionName
{
    std::string_view name;
    Option option;
    bool takesValue;
};

constexpr OptionName kOptions[] = {
    {"--master", Option::Master, true},
    {"--game-version", Option::GameVersion, true},
    {"--protocol", Option::Protocol, true},
    {"--empty", Option::Empty, false},
    {"--no-empty", Option::NoEmpty, false},
    {"--full", Option::Full, false},
    {"--no-full", Option::NoFull, false},
    {"--speed", Option::Speed, true},
    {"--limit", Option::Limit, true},
    {"--favorites", Option::Favorites, true},
    {"--players", Option::Players, false},
    {"--info", Option::Info, true},
    {"--json", Option::Json, false},
    {"--csv", Option::Csv, false},
    {"--country-db", Option::CountryDatabase, true},
    {"--help", Option::Help, false},
    {"-h", Option::Help, false},
    {"--version", Option::Version, false},
};

const OptionName* FindOption(std::string_view name)
{
    for (const OptionName& entry : kOptions) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

void Exclusive(bool a, bool b, std::string_view nameA, std::string_view nameB)
{
    if (a && b) {
        throw CUsageError(std::string(nameA) + " and " + std::string(nameB) +
                          " cannot be combined");
    }
}

} // namespace

CQueryOptions CQueryOptions::Parse(std::span<const std::string_view> args)
{
    CQueryOptions result;
    result.protocol = ProtocolForVersionIndex(IndexOf(kVersionNames, "1.4", "--game-version"));
    result.limit = SpeedLimit(IndexOf(kSpeedNames, "ISDN", "--speed"));

    bool hasVersion = false, hasProtocol = false, hasSpeed = false, hasLimit = false;
    bool hasMaster = false, hasFavorites = false, hasJson = false, hasCsv = false;
    bool hasPlayers = false, hasInfo = false;
    bool onlyPositional = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (onlyPositional || arg.size() < 2 || arg[0] != '-') {
            result.servers.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyPositional = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        const OptionName* entry = FindOption(name);
        if (entry == nullptr) {
            throw CUsageError("unknown option '" + std::string(name) + "'");
        }
        std::string_view value;
        if (entry->takesValue) {
            if (equals != std::string_view::npos) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                throw CUsageError("option '" + std::string(name) + "' needs a value");
            }
            if (value.empty()) {
                throw CUsageError("option '" + std::string(name) + "' needs a value");
            }
        } else if (equals != std::string_view::npos) {
            throw CUsageError("option '" + std::string(name) + "' takes no value");
        }

        switch (entry->option) {
        case Option::Help:
            result.help = true;
            return result;
        case Option::Version:
            result.version = true;
            return result;
        case Option::Master:
            hasMaster = true;
            result.master = value;
            break;
        case Option::GameVersion:
            hasVersion = true;
            result.protocol = ProtocolForVersionIndex(IndexOf(kVersionNames, value, name));
            break;
        case Option::Protocol:
            hasProtocol = true;
            result.protocol = ParseInt(value, name, std::numeric_limits<int>::min());
            break;
        case Option::Empty:
            result.includeEmpty = true;
            break;
        case Option::NoEmpty:
            result.includeEmpty = false;
            break;
        case Option::Full:
            result.includeFull = true;
            break;
        case Option::NoFull:
            result.includeFull = false;
            break;
        case Option::Speed:
            hasSpeed = true;
            result.limit = SpeedLimit(IndexOf(kSpeedNames, value, name));
            break;
        case Option::Limit:
            hasLimit = true;
            result.limit = ParseInt(value, name, 1);
            break;
        case Option::Favorites:
            hasFavorites = true;
            result.favorites = value;
            break;
        case Option::Players:
            hasPlayers = true;
            result.view = OutputView::Players;
            break;
        case Option::Info:
            hasInfo = true;
            result.view = OutputView::Info;
            result.infoAddress = value;
            break;
        case Option::Json:
            hasJson = true;
            result.format = OutputFormat::Json;
            break;
        case Option::Csv:
            hasCsv = true;
            result.format = OutputFormat::Csv;
            break;
        case Option::CountryDatabase:
            result.countryDatabase = value;
            break;
        }
    }

    Exclusive(hasVersion, hasProtocol, "--game-version", "--protocol");
    Exclusive(hasSpeed, hasLimit, "--speed", "--limit");
    Exclusive(hasJson, hasCsv, "--json", "--csv");
    Exclusive(hasPlayers, hasInfo, "--players", "--info");
    Exclusive(hasMaster, hasFavorites, "--master", "--favorites");
    Exclusive(hasMaster, !result.servers.empty(), "--master", "server addresses");
    Exclusive(hasFavorites, !result.servers.empty(), "--favorites", "server addresses");
    if ((hasVersion || hasProtocol) && !hasMaster) {
        throw CUsageError(std::string(hasVersion ? "--game-version" : "--protocol") +
                          " applies only to --master");
    }

    if (hasMaster) {
        result.source = ScanSource::Master;
    } else if (hasFavorites) {
        result.source = ScanSource::Favorites;
    } else if (result.servers.empty() && !hasInfo) {
        throw CUsageError("nothing to scan: give --master HOST, --favorites FILE or server "
                          "addresses");
    }
    return result;
}

std::string CQueryOptions::Usage()
{
    std::string text;
    text += "Usage: " + std::string(kProgram) + " [OPTION]... [SERVER]...\n";
    text += R"(Asks Return to Castle Wolfenstein servers for their status and prints the
servers that answer, sorted by ping.

What to scan (one of these):
  --master HOST[:PORT]   the servers that a master server lists (port 27950 by default)
  --favorites FILE       the servers of a favorites file (address, name and password
                         on each line, separated by tabs)
  SERVER...              these servers, each HOST[:PORT] (port 27960 by default)

Master server:
  --game-version TEXT    the game version to list: )" +
            Choices(kVersionNames) + R"(
                         (default "1.4")
  --protocol N           the protocol number to list instead of a game version

Filters:
  --empty, --no-empty    list servers without players, or not (default: not)
  --full, --no-full      list full servers, or not (default: list them)

Pace:
  --speed TEXT           requests per 200 ms as the line allows: )" +
            Choices(kSpeedNames) + R"(
                         (default "ISDN")
  --limit N              N requests per 200 ms instead of a speed; resends count
                         against N, so a tick that resends starts fewer servers

Output (an aligned table unless told otherwise):
  --players              the players of the listed servers instead of the servers
  --info SERVER          every variable of one server, sorted by name; the server is
                         added to the scan when it is not in it
  --json                 JSON with every field
  --csv                  comma-separated values with every field; texts are written
                         as the servers sent them (tabs and line breaks inside
                         quotes), so a text that starts with =, +, - or @ is not
                         changed, and a spreadsheet may take it for a formula
  --country-db FILE      the servers' countries from this country database in
                         MaxMind DB format; by default from the first *.mmdb
                         in /usr/share/GeoIP, /var/lib/GeoIP or
                         /usr/local/share/GeoIP, else from the GeoIP.dat and
                         GeoIPv6.dat of /usr/share/GeoIP (the lookup reads only
                         these files)
  -h, --help             show this text and exit
  --version              show the versions of the program and its libraries and exit

While it runs, progress is shown on standard error when that is a terminal.

Exit status: 0 success; 1 the master server or the --info server did not answer, a
host name was not found, the favorites file or the --country-db file cannot be read;
2 wrong command line;
3 socket error.
)";
    return text;
}
