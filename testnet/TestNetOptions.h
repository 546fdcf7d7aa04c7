#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace testnet {

// A command line that cannot be used; the text says why.
class CUsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Everything the command line of farsighter-testnet can set.
struct CTestNetOptions
{
    std::uint16_t masterPort = 27950; // 0: chosen by the system
    std::uint16_t firstPort = 27960;  // 0: every server on a port chosen by the system
    int count = 100;
    int protocol = 60;
    int otherProtocolsPercent = 0;
    std::uint64_t seed = 1;
    std::vector<int> delaysMs{0}; // cycled over the servers
    int jitterMs = 0;
    double lossPercent = 0;
    int silent = 0;
    int resendOnly = 0;
    int hostile = 0;
    int duplicates = 0;
    bool masterSilent = false;
    int masterDelayMs = 0;
    int masterExtra = 0;
    int runTimeSec = 0; // 0: until SIGINT or SIGTERM
    std::string manifestPath;
    bool exitWithParent = false;
    bool quiet = false;
    bool help = false;
    bool version = false;

    // Reads the arguments after the program name; "--name value" and "--name=value"
    // are both accepted. Throws CUsageError for an unknown option, a missing or
    // malformed value, a value out of range, or numbers that do not fit together.
    static CTestNetOptions Parse(const std::vector<std::string>& args);

    // The text of --help.
    static std::string Usage();
};

} // namespace testnet
