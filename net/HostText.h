#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The texts an address may be written in, and host name lookups.

// The parts of "HOST", "HOST:PORT" or "HOST[PORT]"; no port when none was written.
struct HostPortText
{
    std::string_view host;
    std::optional<std::string_view> port;
};

// Splits text of one of the three forms; nothing for any other shape (a bracket that is not
// closed, text after the closing bracket, a second bracket).
std::optional<HostPortText> SplitHostPort(std::string_view text);

// A port written as decimal digits only, 1 to 65535.
std::optional<std::uint16_t> ParsePortText(std::string_view text);

// The address (network order) of four dotted decimal numbers and nothing else: no blanks,
// no trailing text, no shortened, octal (leading zero) or hexadecimal forms.
std::optional<std::uint32_t> ParseDottedQuad(std::string_view host);

// Whether text has the shape of a DNS host name: labels of letters, digits and hyphens, 1 to
// 63 characters each and not starting or ending with a hyphen, joined by single dots, 253
// characters at most, and a last label that is not all digits. Only such text is ever
// handed to the resolver.
bool IsHostName(std::string_view text);

// A blocking host lookup: the first IPv4 address (network order) of a name, or nothing.
using HostResolver = std::function<std::optional<std::uint32_t>(const std::string& name)>;

// The system's resolver (getaddrinfo, IPv4 only).
std::optional<std::uint32_t> ResolveHostName(const std::string& name);
