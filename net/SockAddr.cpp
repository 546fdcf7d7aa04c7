#include "net/SockAddr.h"

#include "net/DecimalText.h"
#include "net/HostText.h"

#include <arpa/inet.h>
#include <sys/socket.h>

#include <cstring>

namespace {

// The stored bytes of a field read least significant byte first.
template <typename T>
T StoredBytesLittleEndian(const void* field)
{
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, field, sizeof(T));
    T value = 0;
    for (std::size_t i = sizeof(T); i-- > 0;)
        value = static_cast<T>((value << 8) | bytes[i]);
    return value;
}

} // namespace

CSockAddr::CSockAddr() : m_addr{}
{
    m_addr.sin_family = AF_INET;
}

CSockAddr::CSockAddr(std::string_view text) : CSockAddr()
{
    Parse(text);
}

CSockAddr::CSockAddr(std::uint32_t addressNetworkOrder, std::uint16_t hostOrderPort) : CSockAddr()
{
    m_addr.sin_addr.s_addr = addressNetworkOrder;
    SetPort(hostOrderPort);
}

void CSockAddr::Parse(std::string_view text, Lookup lookup)
{
    // The text is a C string as far as the conversions below are concerned.
    if (const auto zero = text.find('\0'); zero != std::string_view::npos)
        text = text.substr(0, zero);

    auto separator = text.find('[');
    if (separator == std::string_view::npos)
        separator = text.find(':');
    std::string_view hostText = text;
    if (separator != std::string_view::npos) {
        // Ports are 16 bits; a larger number keeps its low 16 bits.
        SetPort(static_cast<std::uint16_t>(ParseDecimalInt(text.substr(separator + 1))));
        hostText = text.substr(0, separator);
    }

    const std::string host(hostText);
    std::uint32_t address = inet_addr(host.c_str());
    if (address == INADDR_NONE && lookup == Lookup::HostNames && !host.empty())
        address = ResolveHostName(host).value_or(INADDR_NONE);
    m_addr.sin_addr.s_addr = address;
}

void CSockAddr::SetPort(std::uint16_t hostOrderPort)
{
    m_addr.sin_port = htons(hostOrderPort);
}

std::uint16_t CSockAddr::GetPort() const
{
    return ntohs(m_addr.sin_port);
}

std::uint32_t CSockAddr::GetAddressNetworkOrder() const
{
    return m_addr.sin_addr.s_addr;
}

void CSockAddr::SetAddressNetworkOrder(std::uint32_t address)
{
    m_addr.sin_addr.s_addr = address;
}

bool CSockAddr::IsValid() const
{
    return m_addr.sin_addr.s_addr != INADDR_NONE;
}

std::string CSockAddr::ToString() const
{
    char dotted[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &m_addr.sin_addr, dotted, sizeof dotted);
    std::string text(dotted);
    text.append(":").append(std::to_string(GetPort()));
    return text;
}

bool operator<(const CSockAddr& a, const CSockAddr& b)
{
    const auto addressA = StoredBytesLittleEndian<std::uint32_t>(&a.m_addr.sin_addr.s_addr);
    const auto addressB = StoredBytesLittleEndian<std::uint32_t>(&b.m_addr.sin_addr.s_addr);
    if (addressA != addressB)
        return addressA < addressB;
    return StoredBytesLittleEndian<std::uint16_t>(&a.m_addr.sin_port) <
           StoredBytesLittleEndian<std::uint16_t>(&b.m_addr.sin_port);
}

bool operator==(const CSockAddr& a, const CSockAddr& b)
{
    return a.m_addr.sin_addr.s_addr == b.m_addr.sin_addr.s_addr &&
           a.m_addr.sin_port == b.m_addr.sin_port;
}
