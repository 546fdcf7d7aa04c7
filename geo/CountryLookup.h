#pragma once

#include <string>
#include <string_view>

// The country of a server's address, from data on this computer: a lookup never sends a
// packet and never asks a name server.
class ICountryLookup
{
public:
    virtual ~ICountryLookup() = default;

    // The upper-case two-letter code of the country of a numeric IPv4 or IPv6 address
    // ("8.8.8.8", "2001:db8::1"); a port after an IPv4 address ("8.8.8.8:27960") is
    // ignored. Empty for loopback, private and other addresses that are not on the public
    // internet (IsPublicAddress), for those the data does not place, and for any other text.
    virtual std::string CountryOf(std::string_view address) const = 0;
};

// Whether a numeric address (as CountryOf takes it) is one on the public internet: not
// unspecified, loopback, private (10/8, 172.16/12, 192.168/16, fc00::/7), shared
// (100.64/10), link-local, documentation, benchmarking, reserved (240/4) or multicast; an
// IPv4-mapped IPv6 address counts as its IPv4 address.
bool IsPublicAddress(std::string_view address);
