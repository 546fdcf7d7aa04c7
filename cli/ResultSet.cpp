#include "cli/ResultSet.h"

#include "cli/TerminalText.h"
#include "geo/CountryLookup.h"
#include "query/ResultRules.h"

#include <algorithm>
#include <arpa/inet.h>
#include <string_view>

namespace {

char FoldCase(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Three-way comparison of two texts with ASCII letter case ignored.
int CompareIgnoringCase(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(FoldCase(a[i]));
        const auto y = static_cast<unsigned char>(FoldCase(b[i]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Dotted-address order: the address as a number, then the port.
bool AddressLess(const CSockAddr& a, const CSockAddr& b)
{
    const std::uint32_t x = ntohl(a.GetAddressNetworkOrder());
    const std::uint32_t y = ntohl(b.GetAddressNetworkOrder());
    return x != y ? x < y : a.GetPort() < b.GetPort();
}

} // namespace

bool IsAnswered(const CServer& server)
{
    return server.tries >= 999;
}

CResultSet::CResultSet(const std::vector<const CServer*>& reported, bool includeEmpty,
                       bool includeFull, RowDetail detail)
    : m_reported(reported.size())
{
    std::vector<const CServer*> listed;
    for (const CServer* server : reported) {
        if (IsAnswered(*server)) {
            ++m_answered;
        }
        if (HasRows(*server) && PassesFilter(*server, includeEmpty, includeFull)) {
            listed.push_back(server);
        }
    }
    std::stable_sort(listed.begin(), listed.end(), [](const CServer* a, const CServer* b) {
        if (a->ping != b->ping) {
            return a->ping < b->ping;
        }
        if (const int byName = CompareIgnoringCase(a->name, b->name); byName != 0) {
            return byName < 0;
        }
        return AddressLess(a->address, b->address);
    });
    m_servers.reserve(listed.size());
    for (const CServer* server : listed) {
        m_servers.push_back(MakeRow(*server, detail));
    }
}

std::vector<PlayerListRow> CResultSet::Players() const
{
    std::vector<PlayerListRow> rows;
    for (const ServerRow& server : m_servers) {
        for (const PlayerRow& player : server.players) {
            rows.push_back({&server, &player});
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const PlayerListRow& a, const PlayerListRow& b) {
        return CompareIgnoringCase(a.player->name, b.player->name) < 0;
    });
    return rows;
}

ServerRow CResultSet::MakeRow(const CServer& server, RowDetail detail)
{
    ServerRow row;
    row.address = server.address.ToString();
    if (detail.countries) {
        row.country = detail.countries->CountryOf(row.address);
    }
    row.name = Cp1252ToUtf8(server.name);
    row.gameType = server.gameType;
    row.mod = Cp1252ToUtf8(ModName(server.modUrl));
    row.modUrl = Cp1252ToUtf8(server.modUrl);
    row.friendlyFire = server.friendlyFire;
    row.ping = server.ping;
    row.playersText = PlayersText(server);
    row.maxClients = server.maxClients;
    row.punkBuster = server.punkBuster;
    row.map = Cp1252ToUtf8(server.map);
    row.maxLives = server.maxLives;
    row.playerCount = server.players.size();
    if (detail.players) {
        row.players.reserve(server.players.size());
        for (const CPlayer& player : server.players) {
            row.players.push_back({Cp1252ToUtf8(player.name), player.score, player.ping});
        }
    }
    if (detail.vars) {
        row.vars.reserve(server.vars.size());
        for (const ServerVar& var : server.vars) {
            row.vars.push_back({Cp1252ToUtf8(var.key), Cp1252ToUtf8(var.value)});
        }
    }
    return row;
}

ServerRow CResultSet::MakeInfoRow(const CServer& server)
{
    ServerRow row = MakeRow(server);
    std::stable_sort(row.vars.begin(), row.vars.end(), [](const VarRow& a, const VarRow& b) {
        return CompareIgnoringCase(a.key, b.key) < 0;
    });
    return row;
}
