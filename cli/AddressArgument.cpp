#include "cli/AddressArgument.h"

#include "cli/QueryOptions.h"

#include <charconv>
#include <string>

CSockAddr ParseAddressArgument(std::string_view text, std::uint16_t defaultPort,
                               std::string_view what)
{
    const std::string quoted = "'" + std::string(text) + "' for " + std::string(what);
    std::size_t separator = text.find('[');
    if (separator == std::string_view::npos) {
        separator = text.find(':');
    }
    const std::string_view host = text.substr(0, separator);
    std::uint16_t port = defaultPort;
    if (separator != std::string_view::npos) {
        const std::string_view portText = text.substr(separator + 1);
        unsigned value = 0;
        const char* end = portText.data() + portText.size();
        const auto [ptr, ec] = std::from_chars(portText.data(), end, value);
        if (portText.empty() || ec != std::errc() || ptr != end || value == 0 || value > 65535) {
            throw CUsageError("invalid port in " + quoted + "; use 1 to 65535");
        }
        port = static_cast<std::uint16_t>(value);
    }
    if (host.empty()) {
        throw CUsageError("no host in " + quoted);
    }
    CSockAddr address(host);
    if (!address.IsValid()) {
        throw CUsageError("unknown host or invalid address " + quoted);
    }
    address.SetPort(port);
    return address;
}
