#include "geo/CountryLookup.h"

#include "geo/NumericAddress.h"

#include <array>
#include <cstdint>

namespace {

bool InV4(std::uint32_t address, std::uint32_t network, int bits)
{
    const std::uint32_t mask = bits == 0 ? 0 : ~std::uint32_t{0} << (32 - bits);
    return (address & mask) == network;
}

bool IsPublicV4(std::uint32_t a)
{
    struct Net
    {
        std::uint32_t network;
        int bits;
    };
    static constexpr std::array<Net, 15> kNotPublic = {{
        {0x00000000, 8},  // "this network"
        {0x0A000000, 8},  // private
        {0x64400000, 10}, // shared address space
        {0x7F000000, 8},  // loopback
        {0xA9FE0000, 16}, // link-local
        {0xAC100000, 12}, // private
        {0xC0000000, 24}, // protocol assignments
        {0xC0000200, 24}, // documentation
        {0xC0A80000, 16}, // private
        {0xC6120000, 15}, // benchmarking
        {0xC6336400, 24}, // documentation
        {0xCB007100, 24}, // documentation
        {0xE0000000, 4},  // multicast
        {0xF0000000, 4},  // reserved, broadcast
        {0xC0586300, 24}, // 6to4 relay anycast
    }};
    for (const Net& net : kNotPublic)
        if (InV4(a, net.network, net.bits))
            return false;
    return true;
}

bool IsPublicV6(const std::array<std::uint8_t, 16>& a)
{
    if (const auto mapped = MappedV4(a))
        return IsPublicV4(*mapped);
    bool zeroToLast = true;
    for (int i = 0; i < 15; ++i)
        zeroToLast = zeroToLast && a[i] == 0;
    if (zeroToLast) // :: and ::1
        return false;
    if ((a[0] & 0xFE) == 0xFC) // unique local
        return false;
    if (a[0] == 0xFE && (a[1] & 0xC0) == 0x80) // link-local
        return false;
    if (a[0] == 0xFF) // multicast
        return false;
    if (a[0] == 0x20 && a[1] == 0x01 && a[2] == 0x0D && a[3] == 0xB8) // documentation
        return false;
    return true;
}

} // namespace

bool IsPublicAddress(std::string_view text)
{
    const auto address = ParseNumericAddress(text);
    if (!address)
        return false;
    return address->v6 ? IsPublicV6(address->bytes) : IsPublicV4(address->V4());
}
