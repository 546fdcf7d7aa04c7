#include "cli/JsonFormat.h"

#include <cstdio>

namespace {

// Builds one JSON object member by member.
class CObject
{
public:
    CObject& Text(std::string_view key, std::string_view text)
    {
        return Raw(key, CJsonFormat::Quote(text));
    }
    CObject& Number(std::string_view key, std::int64_t number)
    {
        return Raw(key, std::to_string(number));
    }
    CObject& Bool(std::string_view key, bool value) { return Raw(key, value ? "true" : "false"); }
    CObject& Raw(std::string_view key, std::string_view json)
    {
        m_text += m_text.size() == 1 ? "" : ",";
        m_text += CJsonFormat::Quote(key);
        m_text += ':';
        m_text += json;
        return *this;
    }
    std::string Close() { return m_text + '}'; }

private:
    std::string m_text = "{";
};

std::string ServerObject(const ServerRow& s)
{
    std::string players = "[";
    for (const PlayerRow& p : s.players) {
        players += players.size() == 1 ? "" : ",";
        players +=
            CObject().Text("name", p.name).Number("score", p.score).Number("ping", p.ping).Close();
    }
    players += ']';
    std::string vars = "[";
    for (const VarRow& v : s.vars) {
        vars += vars.size() == 1 ? "" : ",";
        vars += CObject().Text("key", v.key).Text("value", v.value).Close();
    }
    vars += ']';
    return CObject()
        .Text("address", s.address)
        .Text("name", s.name)
        .Number("gameType", s.gameType)
        .Text("gameTypeText", GameTypeText(s.gameType))
        .Text("mod", s.mod)
        .Text("modUrl", s.modUrl)
        .Bool("friendlyFire", s.friendlyFire)
        .Number("ping", s.ping)
        .Number("numPlayers", static_cast<std::int64_t>(s.playerCount))
        .Number("maxClients", s.maxClients)
        .Text("playersText", s.playersText)
        .Bool("punkBuster", s.punkBuster)
        .Text("map", s.map)
        .Number("maxLives", s.maxLives)
        .Text("country", s.country)
        .Raw("players", players)
        .Raw("vars", vars)
        .Close();
}

template <typename Rows, typename ToObject>
void WriteList(std::ostream& out, std::string_view name, const Rows& rows, ToObject toObject)
{
    out << "{" << CJsonFormat::Quote(name) << ":[";
    const char* separator = "\n";
    for (const auto& row : rows) {
        out << separator << toObject(row);
        separator = ",\n";
    }
    out << (rows.empty() ? "" : "\n") << "]}\n";
}

} // namespace

std::string CJsonFormat::Quote(std::string_view utf8)
{
    std::string out = "\"";
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", byte);
                out += escape;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

void CJsonFormat::WriteServers(std::ostream& out, const std::vector<ServerRow>& servers) const
{
    WriteList(out, "servers", servers, ServerObject);
}

void CJsonFormat::WritePlayers(std::ostream& out, const std::vector<PlayerListRow>& players) const
{
    WriteList(out, "players", players, [](const PlayerListRow& row) {
        const ServerRow& s = *row.server;
        const PlayerRow& p = *row.player;
        return CObject()
            .Text("name", p.name)
            .Number("score", p.score)
            .Number("ping", p.ping)
            .Text("serverName", s.name)
            .Text("serverAddress", s.address)
            .Number("serverPing", s.ping)
            .Text("map", s.map)
            .Text("playersText", s.playersText)
            .Number("gameType", s.gameType)
            .Text("gameTypeText", GameTypeText(s.gameType))
            .Close();
    });
}

void CJsonFormat::WriteInfo(std::ostream& out, const ServerRow& server) const
{
    out << ServerObject(server) << '\n';
}
