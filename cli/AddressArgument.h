#pragma once

#include "net/SockAddr.h"

#include <cstdint>
#include <string_view>

// Reads a server address given on the command line: HOST, HOST:PORT or HOST[PORT, where
// HOST is a dotted IPv4 address or a name (looked up at once). Without a port, defaultPort
// applies. Throws CUsageError naming `what` (an option such as "--master") when the port is
// not a number from 1 to 65535 or the host is empty or cannot be resolved.
CSockAddr ParseAddressArgument(std::string_view text, std::uint16_t defaultPort,
                               std::string_view what);
