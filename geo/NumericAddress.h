#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// A numeric IPv4 or IPv6 address read from text, without any name lookup.
struct NumericAddress
{
    bool v6 = false;
    std::array<std::uint8_t, 16> bytes{}; // IPv4: the first four, in network order

    std::uint32_t V4() const
    {
        return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
               std::uint32_t{bytes[2]} << 8 | bytes[3];
    }
};

// "a.b.c.d", "a.b.c.d:port" or an IPv6 address (also in brackets, with or without a port
// after them); nothing for any other text.
std::optional<NumericAddress> ParseNumericAddress(std::string_view text);

// The IPv4 address of an IPv4-mapped IPv6 address (::ffff:a.b.c.d), in host order.
std::optional<std::uint32_t> MappedV4(const std::array<std::uint8_t, 16>& bytes);
