#include "app/AddressText.h"

#include "net/HostText.h"

#include <string>

std::optional<CSockAddr> ParseAddressText(const QString& text, std::uint16_t defaultPort)
{
    const std::string utf8 = text.trimmed().toStdString();
    const auto parts = SplitHostPort(utf8);
    if (!parts)
        return std::nullopt;
    std::uint16_t port = defaultPort;
    if (parts->port) {
        const auto written = ParsePortText(*parts->port);
        if (!written)
            return std::nullopt;
        port = *written;
    }
    std::optional<std::uint32_t> address = ParseDottedQuad(parts->host);
    if (!address && IsHostName(parts->host))
        address = ResolveHostName(std::string(parts->host));
    if (!address)
        return std::nullopt;
    return CSockAddr(*address, port);
}
