#include "testnet/MasterReply.h"

#include <algorithm>
#include <string_view>

namespace testnet {

namespace {

constexpr std::string_view kHeader("\xFF\xFF\xFF\xFFgetserversResponse", 22);
constexpr std::string_view kEndMarker("\\EOT\0\0\0", 7);
constexpr std::size_t kRecordSize = 7;

} // namespace

std::vector<std::string> MasterReply(std::span<const CListedAddress> addresses,
                                     std::size_t maxDatagram)
{
    // Every datagram keeps room for the marker, so the last one never overflows.
    const std::size_t room = maxDatagram > kHeader.size() + kEndMarker.size()
                                 ? maxDatagram - kHeader.size() - kEndMarker.size()
                                 : 0;
    const std::size_t perDatagram = std::max<std::size_t>(1, room / kRecordSize);

    std::vector<std::string> datagrams;
    std::size_t next = 0;
    do {
        std::string datagram(kHeader);
        const std::size_t end = std::min(addresses.size(), next + perDatagram);
        for (; next < end; ++next) {
            const CListedAddress& a = addresses[next];
            datagram += '\\';
            datagram += static_cast<char>(a.ip >> 24);
            datagram += static_cast<char>(a.ip >> 16);
            datagram += static_cast<char>(a.ip >> 8);
            datagram += static_cast<char>(a.ip);
            datagram += static_cast<char>(a.port >> 8);
            datagram += static_cast<char>(a.port);
        }
        if (next == addresses.size())
            datagram += kEndMarker;
        datagrams.push_back(std::move(datagram));
    } while (next < addresses.size());
    return datagrams;
}

} // namespace testnet
