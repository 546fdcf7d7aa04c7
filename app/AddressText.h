#pragma once

#include "net/SockAddr.h"

#include <QString>

#include <optional>

// Reads a server address typed by the user: "host:port" or "host[port". The host is a
// dotted IPv4 address or a name; only text shaped like a host name (letters, digits,
// hyphens and dots) is ever given to the resolver. Nothing when the text has no such host
// or it does not resolve. Without a port, defaultPort is used.
std::optional<CSockAddr> ParseAddressText(const QString& text, int defaultPort);

// Whether the host part could be a host name or a dotted address.
bool IsHostShaped(const QString& host);
