// Fuzzes the status reply parser: any datagram must be read without reading past it.
#include "query/Server.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    CServer server;
    server.Reset();
    server.ParseStatus(reply);
    // Nothing read can be longer than the reply itself.
    for (const auto& var : server.vars)
        if (var.key.size() + var.value.size() > size)
            std::abort();
    for (const auto& player : server.players)
        if (player.name.size() > size)
            std::abort();
    return 0;
}
