#include "testnet/TestNetOptions.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <string_view>

namespace testnet {

namespace {

// Largest number of game servers: every one needs a port of its own.
constexpr int kMaxServers = 60000;
constexpr int kMaxDelayMs = 600000;

template <typename T>
T ParseNumber(std::string_view name, std::string_view text, T lo, T hi)
{
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) {
        throw CUsageError("--" + std::string(name) + ": \"" + std::string(text) +
                          "\" is not a whole number");
    }
    if (value < lo || value > hi) {
        throw CUsageError("--" + std::string(name) + ": " + std::string(text) +
                          " is out of range " + std::to_string(lo) + ".." + std::to_string(hi));
    }
    return value;
}

double ParsePercent(std::string_view name, std::string_view text)
{
    // Accepts "12" and "12.5"; from_chars for double is in libstdc++ 11 and later.
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) {
        throw CUsageError("--" + std::string(name) + ": \"" + std::string(text) +
                          "\" is not a number");
    }
    if (value < 0 || value > 100)
        throw CUsageError("--" + std::string(name) + ": " + std::string(text) +
                          " is out of range 0..100");
    return value;
}

std::vector<int> ParseDelayList(std::string_view name, std::string_view text)
{
    std::vector<int> delays;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string_view item =
            text.substr(start, comma == std::string_view::npos ? text.npos : comma - start);
        delays.push_back(ParseNumber<int>(name, item, 0, kMaxDelayMs));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return delays;
}

} // namespace

CTestNetOptions CTestNetOptions::Parse(const std::vector<std::string>& args)
{
    CTestNetOptions o;
    using Setter = std::function<void(std::string_view)>;
    const std::map<std::string_view, Setter> valued = {
        {"master-port",
         [&](std::string_view v) {
             o.masterPort = ParseNumber<std::uint16_t>("master-port", v, 0, 65535);
         }},
        {"first-port",
         [&](std::string_view v) {
             o.firstPort = ParseNumber<std::uint16_t>("first-port", v, 0, 65535);
         }},
        {"count", [&](std::string_view v) { o.count = ParseNumber("count", v, 0, kMaxServers); }},
        {"protocol",
         [&](std::string_view v) { o.protocol = ParseNumber("protocol", v, 0, 99999); }},
        {"other-protocols",
         [&](std::string_view v) {
             o.otherProtocolsPercent = ParseNumber("other-protocols", v, 0, 100);
         }},
        {"seed",
         [&](std::string_view v) {
             o.seed = ParseNumber<std::uint64_t>("seed", v, 0, UINT64_MAX);
         }},
        {"delay",
         [&](std::string_view v) { o.delaysMs = {ParseNumber("delay", v, 0, kMaxDelayMs)}; }},
        {"delays", [&](std::string_view v) { o.delaysMs = ParseDelayList("delays", v); }},
        {"jitter",
         [&](std::string_view v) { o.jitterMs = ParseNumber("jitter", v, 0, kMaxDelayMs); }},
        {"loss", [&](std::string_view v) { o.lossPercent = ParsePercent("loss", v); }},
        {"silent",
         [&](std::string_view v) { o.silent = ParseNumber("silent", v, 0, kMaxServers); }},
        {"resend-only",
         [&](std::string_view v) { o.resendOnly = ParseNumber("resend-only", v, 0, kMaxServers); }},
        {"hostile",
         [&](std::string_view v) { o.hostile = ParseNumber("hostile", v, 0, kMaxServers); }},
        {"duplicates",
         [&](std::string_view v) { o.duplicates = ParseNumber("duplicates", v, 0, kMaxServers); }},
        {"master-delay",
         [&](std::string_view v) {
             o.masterDelayMs = ParseNumber("master-delay", v, 0, kMaxDelayMs);
         }},
        {"master-extra",
         [&](std::string_view v) {
             o.masterExtra = ParseNumber("master-extra", v, 0, kMaxServers);
         }},
        {"run-time",
         [&](std::string_view v) { o.runTimeSec = ParseNumber("run-time", v, 0, 86400 * 365); }},
        {"manifest",
         [&](std::string_view v) {
             if (v.empty())
                 throw CUsageError("--manifest: the file name is empty");
             o.manifestPath = std::string(v);
         }},
    };
    const std::map<std::string_view, bool*> flags = {
        {"master-silent", &o.masterSilent},
        {"exit-with-parent", &o.exitWithParent},
        {"quiet", &o.quiet},
        {"help", &o.help},
        {"version", &o.version},
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        if (arg == "-h")
            arg = "--help";
        if (!arg.starts_with("--"))
            throw CUsageError("unexpected argument \"" + std::string(arg) + "\"");
        arg.remove_prefix(2);
        std::optional<std::string_view> inlineValue;
        if (const auto eq = arg.find('='); eq != arg.npos) {
            inlineValue = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
        }
        if (const auto flag = flags.find(arg); flag != flags.end()) {
            if (inlineValue)
                throw CUsageError("--" + std::string(arg) + " takes no value");
            *flag->second = true;
        } else if (const auto setter = valued.find(arg); setter != valued.end()) {
            if (!inlineValue && i + 1 >= args.size())
                throw CUsageError("--" + std::string(arg) + " needs a value");
            setter->second(inlineValue ? *inlineValue : std::string_view(args[++i]));
        } else {
            throw CUsageError("unknown option --" + std::string(arg));
        }
    }

    if (o.help || o.version)
        return o;
    const long special = static_cast<long>(o.silent) + o.resendOnly + o.hostile + o.duplicates;
    if (special > o.count) {
        throw CUsageError("--silent, --resend-only, --hostile and --duplicates ask for " +
                          std::to_string(special) + " servers, but --count is " +
                          std::to_string(o.count));
    }
    if (o.firstPort != 0 && o.count > 0 && o.firstPort + o.count - 1 > 65535) {
        throw CUsageError("--first-port " + std::to_string(o.firstPort) + " with --count " +
                          std::to_string(o.count) + " runs past port 65535");
    }
    if (o.firstPort != 0 && o.masterPort != 0 && o.masterPort >= o.firstPort &&
        o.masterPort < o.firstPort + o.count) {
        throw CUsageError("--master-port " + std::to_string(o.masterPort) +
                          " lies among the game-server ports");
    }
    return o;
}

std::string CTestNetOptions::Usage()
{
    return R"(Usage: farsighter-testnet [options]

Serves a master server and game servers of Return to Castle Wolfenstein on
127.0.0.1, for tests and demonstrations. Prints "ready master=127.0.0.1:PORT
servers=N" once every socket is bound, and runs until SIGINT or SIGTERM.

World:
  --master-port N       master UDP port (default 27950; 0 = chosen by the system)
  --first-port N        first game-server port, the others follow (default 27960;
                        0 = every server on a port chosen by the system)
  --count N             number of game servers (default 100)
  --protocol N          protocol of the servers (default 60)
  --other-protocols P   percentage of servers on protocols 57..59 instead (default 0)
  --seed N              same seed, same world (default 1)

Behaviour:
  --delay MS            reply delay of every server (default 0)
  --delays A,B,C        reply delays cycled over the servers
  --jitter MS           random extra delay of 0..MS per reply
  --loss P              percentage of requests dropped at random (game servers)
  --silent N            N servers never answer (the master still lists them)
  --resend-only N       N servers drop the 1st, 3rd, ... request from an address
                        and answer the 2nd, 4th, ...
  --hostile N           N servers send malformed replies, the kinds in turn:
                        cut-off lines, missing line feeds, garbage bytes, zero
                        bytes, 64 KiB datagrams, thousands of players, a caret at
                        the very end, unterminated quotes
  --duplicates N        N servers answer every request 3 times
  --master-silent       the master never answers
  --master-delay MS     the master answers after MS
  --master-extra N      the master also lists N addresses where no server answers

Running:
  --run-time SEC        exit by itself after SEC seconds (default 0 = no limit)
  --manifest FILE       write the world and every server's answer as JSON
                        (text decoded from Windows-1252 to UTF-8)
  --exit-with-parent    exit when the process that started this one ends
  --quiet               print nothing but the ready line and errors
  --help, --version
)";
}

} // namespace testnet
