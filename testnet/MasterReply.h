#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace testnet {

// One listed address: IPv4 in host byte order and the port.
struct CListedAddress
{
    std::uint32_t ip = 0;
    std::uint16_t port = 0;
};

// The datagrams of a master's answer, as Quake-3-family masters send them: each
// starts with "\xFF\xFF\xFF\xFFgetserversResponse", continues with 7-byte records
// (a backslash, the address in network order, the port most significant byte first),
// and the last one ends with "\EOT" and three zero bytes, so the marker fills a
// record of its own. No datagram exceeds maxDatagram bytes; an empty list is one
// datagram with the header and the marker.
std::vector<std::string> MasterReply(std::span<const CListedAddress> addresses,
                                     std::size_t maxDatagram = 1400);

} // namespace testnet
