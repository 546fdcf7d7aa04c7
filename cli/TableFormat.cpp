#include "cli/TableFormat.h"

#include "cli/TerminalText.h"
#include "cli/TextTable.h"

#include <string>

namespace {
using Align = CTextTable::Align;
}

void CTableFormat::WriteServers(std::ostream& out, const std::vector<ServerRow>& servers) const
{
    CTextTable table({{"Server", Align::Left},
                      {"Type", Align::Left},
                      {"Mod", Align::Left},
                      {"FF", Align::Center},
                      {"Ping", Align::Right},
                      {"Players", Align::Right},
                      {"PB", Align::Center},
                      {"Map", Align::Left},
                      {"MaxLives", Align::Right},
                      {"Ip", Align::Left},
                      {"Country", Align::Left}});
    for (const ServerRow& s : servers) {
        table.AddRow({s.name, GameTypeText(s.gameType), s.mod, YesNo(s.friendlyFire),
                      std::to_string(s.ping), s.playersText, YesNo(s.punkBuster), s.map,
                      std::to_string(s.maxLives), s.address, s.country});
    }
    table.Write(out);
}

void CTableFormat::WritePlayers(std::ostream& out, const std::vector<PlayerListRow>& players) const
{
    CTextTable table({{"Player", Align::Left},
                      {"ServerPing", Align::Right},
                      {"Ping", Align::Right},
                      {"Frags", Align::Right},
                      {"Server", Align::Left},
                      {"Map", Align::Left},
                      {"Players", Align::Right},
                      {"Type", Align::Left}});
    for (const PlayerListRow& row : players) {
        const ServerRow& s = *row.server;
        const PlayerRow& p = *row.player;
        table.AddRow({p.name, std::to_string(s.ping), std::to_string(p.ping),
                      std::to_string(p.score), s.name, s.map, s.playersText,
                      GameTypeText(s.gameType)});
    }
    table.Write(out);
}

void CTableFormat::WriteInfo(std::ostream& out, const ServerRow& server) const
{
    out << TerminalSafe(server.name) << " (" << server.address << ")\n";
    CTextTable table({{"Variable", Align::Left}, {"Value", Align::Left}});
    for (const VarRow& var : server.vars) {
        table.AddRow({var.key, var.value});
    }
    table.Write(out);
}
