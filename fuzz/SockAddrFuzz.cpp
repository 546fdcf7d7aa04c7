// Fuzzes the address parser in its numeric mode and the strict address forms (no host
// lookups, so nothing blocks and nothing is sent).
#include "net/HostText.h"
#include "net/SockAddr.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CSockAddr address;
    address.Parse(text, CSockAddr::Lookup::NumericOnly);
    // A valid address prints as text that parses back to the same address.
    const std::string printed = address.ToString();
    CSockAddr again;
    again.Parse(printed, CSockAddr::Lookup::NumericOnly);
    if (address.IsValid() && !(again == address))
        std::abort();

    // A strict dotted address prints as exactly its text; a host name never holds what a
    // dotted address, a port or a line may hold.
    if (const auto parts = SplitHostPort(text)) {
        if (const auto dotted = ParseDottedQuad(parts->host)) {
            const std::string shown = CSockAddr(*dotted, 0).ToString();
            if (shown != std::string(parts->host) + ":0")
                std::abort();
        }
        if (IsHostName(parts->host) &&
            (ParseDottedQuad(parts->host) ||
             parts->host.find_first_of(" :[]\t\r\n/\\") != std::string_view::npos))
            std::abort();
    }
    return 0;
}
