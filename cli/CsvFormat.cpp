#include "cli/CsvFormat.h"

#include "cli/TerminalText.h"

namespace {

std::string Field(std::string_view utf8)
{
    std::string text = TerminalSafe(utf8, true);
    if (text.find_first_of(",\"\t\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

} // namespace

std::string CCsvFormat::Line(const std::vector<std::string>& fields)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i != 0) {
            line += ',';
        }
        line += Field(fields[i]);
    }
    line += '\n';
    return line;
}

void CCsvFormat::WriteServers(std::ostream& out, const std::vector<ServerRow>& servers) const
{
    out << Line({"Server", "Type", "GameType", "Mod", "ModUrl", "FF", "Ping", "Players",
                 "NumPlayers", "MaxPlayers", "PB", "Map", "MaxLives", "Ip", "Country"});
    for (const ServerRow& s : servers) {
        out << Line({s.name, GameTypeText(s.gameType), std::to_string(s.gameType), s.mod, s.modUrl,
                     YesNo(s.friendlyFire), std::to_string(s.ping), s.playersText,
                     std::to_string(s.playerCount), std::to_string(s.maxClients),
                     YesNo(s.punkBuster), s.map, std::to_string(s.maxLives), s.address, s.country});
    }
}

void CCsvFormat::WritePlayers(std::ostream& out, const std::vector<PlayerListRow>& players) const
{
    out << Line({"Player", "ServerPing", "Ping", "Frags", "Server", "Map", "Players", "Type",
                 "GameType", "Ip"});
    for (const PlayerListRow& row : players) {
        const ServerRow& s = *row.server;
        const PlayerRow& p = *row.player;
        out << Line({p.name, std::to_string(s.ping), std::to_string(p.ping),
                     std::to_string(p.score), s.name, s.map, s.playersText,
                     GameTypeText(s.gameType), std::to_string(s.gameType), s.address});
    }
}

void CCsvFormat::WriteInfo(std::ostream& out, const ServerRow& server) const
{
    out << Line({"Variable", "Value"});
    for (const VarRow& var : server.vars) {
        out << Line({var.key, var.value});
    }
}
