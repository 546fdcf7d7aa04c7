#pragma once

#include "net/HostText.h"
#include "net/SockAddr.h"

#include <cstdint>
#include <stdexcept>
#include <string_view>

// A host name on the command line that the resolver does not know: a failure of the run,
// not of the command line.
class CHostNotFound : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads a server address given on the command line: HOST, HOST:PORT or HOST[PORT], where
// HOST is a dotted IPv4 address or a host name (looked up at once with `resolve`). Without
// a port, defaultPort applies. Throws CUsageError naming `what` (an option such as
// "--master") for any other form, a port that is not a number from 1 to 65535, or a host
// that is neither; CHostNotFound when the name is not found.
CSockAddr ParseAddressArgument(std::string_view text, std::uint16_t defaultPort,
                               std::string_view what,
                               const HostResolver& resolve = ResolveHostName);
