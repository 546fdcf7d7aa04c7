#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <string>
#include <string_view>

// An IPv4 socket address, held as exactly the platform's sockaddr_in (16 bytes) so that it
// can be handed to the socket calls unchanged. A plain value: copied byte for byte.
class CSockAddr
{
public:
    // Whether Parse may resolve a host name that is not a numeric address.
    enum class Lookup
    {
        HostNames,  // blocking host lookup in the calling thread
        NumericOnly // never looks anything up: a name leaves the address all ones
    };

    CSockAddr(); // family AF_INET, port 0, address 0 (any address)
    explicit CSockAddr(std::string_view text);
    CSockAddr(std::uint32_t addressNetworkOrder, std::uint16_t hostOrderPort);

    // "host:port" or "host[port". The port is the decimal number after the first "[" (or,
    // without one, the first ":"); without either the port stays as it was. The host is a
    // numeric IPv4 address or, with Lookup::HostNames, a name resolved to its first IPv4
    // address. A host that cannot be converted leaves the address all ones (INADDR_NONE).
    // The text ends at its first zero byte.
    void Parse(std::string_view text, Lookup lookup = Lookup::HostNames);

    void SetPort(std::uint16_t hostOrderPort);
    std::uint16_t GetPort() const; // host order
    std::uint32_t GetAddressNetworkOrder() const;
    void SetAddressNetworkOrder(std::uint32_t address);
    // True unless the address word is all ones (what an unparsable host leaves).
    bool IsValid() const;

    // "%s:%i": the dotted address and the host-order port.
    std::string ToString() const;

    const sockaddr_in& Raw() const { return m_addr; }
    sockaddr_in& Raw() { return m_addr; }

    // The order of the stored bytes: the four address bytes as stored, read as a
    // little-endian number, then the two port bytes likewise. Not the numeric order of
    // dotted addresses: the last octet weighs most.
    friend bool operator<(const CSockAddr& a, const CSockAddr& b);
    // Same address and port (neither is less than the other).
    friend bool operator==(const CSockAddr& a, const CSockAddr& b);

private:
    sockaddr_in m_addr;
};

static_assert(sizeof(CSockAddr) == 16, "CSockAddr must be exactly a sockaddr_in");
