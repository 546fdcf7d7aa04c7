#include "geo/NumericAddress.h"

#include <arpa/inet.h>

#include <cstring>
#include <string>

std::optional<NumericAddress> ParseNumericAddress(std::string_view text)
{
    NumericAddress address;
    if (text.size() > 64)
        return std::nullopt;
    std::string host(text);
    if (host.starts_with('[')) {
        const auto close = host.find(']');
        if (close == std::string::npos)
            return std::nullopt;
        host = host.substr(1, close - 1);
    } else if (host.find(':') == host.rfind(':') && host.find(':') != std::string::npos) {
        host.resize(host.find(':')); // a.b.c.d:port
    }
    if (inet_pton(AF_INET, host.c_str(), address.bytes.data()) == 1)
        return address;
    in6_addr v6{};
    if (inet_pton(AF_INET6, host.c_str(), &v6) == 1) {
        address.v6 = true;
        std::memcpy(address.bytes.data(), &v6, 16);
        return address;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> MappedV4(const std::array<std::uint8_t, 16>& a)
{
    for (int i = 0; i < 10; ++i)
        if (a[i] != 0)
            return std::nullopt;
    if (a[10] != 0xFF || a[11] != 0xFF)
        return std::nullopt;
    return std::uint32_t{a[12]} << 24 | std::uint32_t{a[13]} << 16 | std::uint32_t{a[14]} << 8 |
           a[15];
}
