#include "cli/AddressArgument.h"

#include "cli/QueryOptions.h"

#include <netinet/in.h>

#include <string>

CSockAddr ParseAddressArgument(std::string_view text, std::uint16_t defaultPort,
                               std::string_view what, const HostResolver& resolve)
{
    const std::string quoted = "'" + std::string(text) + "' for " + std::string(what);
    const std::string notAnAddress =
        quoted + " is not an address: use HOST, HOST:PORT or HOST[PORT]";
    const auto parts = SplitHostPort(text);
    if (!parts) {
        throw CUsageError(notAnAddress);
    }
    std::uint16_t port = defaultPort;
    if (parts->port) {
        const auto given = ParsePortText(*parts->port);
        if (!given) {
            throw CUsageError("invalid port in " + quoted + "; use 1 to 65535");
        }
        port = *given;
    }
    if (parts->host.empty()) {
        throw CUsageError("no host in " + quoted);
    }
    std::optional<std::uint32_t> address = ParseDottedQuad(parts->host);
    if (address && *address == INADDR_NONE) {
        throw CUsageError("unknown host or invalid address " + quoted);
    }
    if (!address) {
        if (!IsHostName(parts->host)) {
            throw CUsageError(notAnAddress);
        }
        address = resolve(std::string(parts->host));
        if (!address) {
            throw CHostNotFound("unknown host " + quoted);
        }
    }
    return CSockAddr(*address, port);
}
