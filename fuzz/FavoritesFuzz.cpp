// Fuzzes the favorites line reader on every line of the input, and the numeric parse of
// each address (the scan itself may look names up, which a fuzzer must not do).
#include "net/SockAddr.h"
#include "query/Favorites.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        const FavoriteLine favorite = ParseFavoriteLine(line);
        if (favorite.address.find('\t') != std::string::npos ||
            favorite.name.find('\t') != std::string::npos ||
            favorite.address.size() + favorite.name.size() + favorite.password.size() > line.size())
            std::abort();
        CSockAddr address;
        address.Parse(favorite.address, CSockAddr::Lookup::NumericOnly);
    }
    return 0;
}
