#include "query/ResultRules.h"

#include <array>
#include <cstdint>
#include <utility>

std::string ModName(std::string_view modUrl)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kMods{{
        {"orangesmoothie", "OSP"},
        {"shrub", "Shrub"},
        {"banimod", "Bani"},
        {"soff", "Soff?"},
    }};
    for (const auto& [part, name] : kMods)
        if (modUrl.find(part) != std::string_view::npos)
            return std::string(name);
    return std::string(modUrl);
}

bool PassesFilter(const CServer& server, bool includeEmpty, bool includeFull)
{
    const auto players = static_cast<std::uint32_t>(server.players.size());
    if (!includeEmpty && players == 0)
        return false;
    if (!includeFull && players >= static_cast<std::uint32_t>(server.maxClients))
        return false;
    return true;
}

bool HasRows(const CServer& server)
{
    return server.gameType != 0;
}

std::string PlayersText(const CServer& server)
{
    return std::to_string(static_cast<std::int32_t>(server.players.size())) + "/" +
           std::to_string(server.maxClients);
}
