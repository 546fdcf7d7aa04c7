// Fuzzes the master reply parser: at most one record per seven bytes, none read past the end.
#include "query/MasterQuery.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view datagram(reinterpret_cast<const char*>(data), size);
    CServerMap map;
    ParseMasterReply(datagram, map);
    if (map.size() > size / 7)
        std::abort();
    for (const auto& [address, server] : map)
        if (server.name != address.ToString())
            std::abort();
    return 0;
}
