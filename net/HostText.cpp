#include "net/HostText.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

constexpr std::size_t kMaxHostNameLength = 253;
constexpr std::size_t kMaxLabelLength = 63;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsLabelByte(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
}

// A decimal number of digits only, without sign or blanks, up to `maximum`.
std::optional<unsigned> ParseDigits(std::string_view text, unsigned maximum)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), IsDigit))
        return std::nullopt;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > maximum)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<HostPortText> SplitHostPort(std::string_view text)
{
    const std::size_t open = text.find('[');
    if (open != std::string_view::npos) {
        const std::size_t close = text.find(']', open);
        if (close != text.size() - 1 || text.find_first_of("[]", open + 1) != close ||
            text.substr(0, open).find(']') != std::string_view::npos)
            return std::nullopt;
        return HostPortText{text.substr(0, open), text.substr(open + 1, close - open - 1)};
    }
    if (text.find(']') != std::string_view::npos)
        return std::nullopt;
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return HostPortText{text, std::nullopt};
    return HostPortText{text.substr(0, colon), text.substr(colon + 1)};
}

std::optional<std::uint16_t> ParsePortText(std::string_view text)
{
    const auto value = ParseDigits(text, 65535);
    if (!value || *value == 0)
        return std::nullopt;
    return static_cast<std::uint16_t>(*value);
}

std::optional<std::uint32_t> ParseDottedQuad(std::string_view host)
{
    std::uint32_t hostOrder = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = part < 3 ? host.find('.') : host.size();
        if (dot == std::string_view::npos)
            return std::nullopt;
        // No leading zeros: elsewhere they mean octal.
        const auto value = ParseDigits(host.substr(0, dot), 255);
        if (!value || dot > 3 || (dot > 1 && host.front() == '0'))
            return std::nullopt;
        hostOrder = (hostOrder << 8) | *value;
        host.remove_prefix(std::min(dot + 1, host.size()));
        if (part < 3 && host.empty())
            return std::nullopt;
    }
    return htonl(hostOrder);
}

bool IsHostName(std::string_view text)
{
    if (text.empty() || text.size() > kMaxHostNameLength)
        return false;
    std::string_view last;
    for (std::size_t start = 0;;) {
        const std::size_t dot = std::min(text.find('.', start), text.size());
        const std::string_view label = text.substr(start, dot - start);
        if (label.empty() || label.size() > kMaxLabelLength || label.front() == '-' ||
            label.back() == '-' || !std::all_of(label.begin(), label.end(), IsLabelByte))
            return false;
        last = label;
        if (dot == text.size())
            break;
        start = dot + 1;
    }
    return !std::all_of(last.begin(), last.end(), IsDigit);
}

std::optional<std::uint32_t> ResolveHostName(const std::string& name)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* result = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &result) != 0 || result == nullptr)
        return std::nullopt;
    std::optional<std::uint32_t> address;
    for (const addrinfo* info = result; info != nullptr; info = info->ai_next) {
        if (info->ai_family == AF_INET && info->ai_addrlen >= sizeof(sockaddr_in)) {
            sockaddr_in found;
            std::memcpy(&found, info->ai_addr, sizeof found);
            address = found.sin_addr.s_addr;
            break;
        }
    }
    freeaddrinfo(result);
    return address;
}
