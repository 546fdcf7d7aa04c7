#pragma once

#include "net/SockAddr.h"

#include <QString>

#include <optional>

// Reads a server address typed by the user: "host", "host:port" or "host[port]". The host
// is a dotted IPv4 address or a host name; only text shaped like a host name is ever given
// to the resolver. Nothing when the text has another shape, the port is not 1 to 65535, or
// the name does not resolve. Without a port, defaultPort is used.
std::optional<CSockAddr> ParseAddressText(const QString& text, std::uint16_t defaultPort);
