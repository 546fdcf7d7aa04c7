// Fuzzes the address parser in its numeric mode (no host lookups, so nothing blocks).
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
    return 0;
}
