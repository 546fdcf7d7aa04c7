// Fuzzes the favorites line reader on the input as a whole file, and the numeric parse of
// each address (the scan itself may look names up, which a fuzzer must not do).
#include "net/SockAddr.h"
#include "query/Favorites.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t seen = 0;
    ForEachFavoriteLine(text, [&](std::size_t, std::string_view line, bool tooLong) {
        if (line.find_first_of("\r\n") != std::string_view::npos || (tooLong && !line.empty()) ||
            line.size() > kMaxFavoriteLineBytes)
            std::abort();
        seen += line.size();
        if (seen > size)
            std::abort();
        const FavoriteLine favorite = ParseFavoriteLine(line);
        if (favorite.address.find('\t') != std::string::npos ||
            favorite.name.find('\t') != std::string::npos ||
            favorite.address.size() + favorite.name.size() + favorite.password.size() > line.size())
            std::abort();
        CSockAddr address;
        address.Parse(favorite.address, CSockAddr::Lookup::NumericOnly);
        return true;
    });
    return 0;
}
