#pragma once

#include "cli/ResultFormat.h"

#include <string>
#include <string_view>

// JSON for machines: every field of every row, texts as UTF-8 with control characters
// escaped. The list of a document is written one element per line.
//   servers: {"servers":[{server},...]}
//   players: {"players":[{player},...]}
//   info:    {server} with its variables in the given order
class CJsonFormat : public IResultFormat
{
public:
    void WriteServers(std::ostream& out, const std::vector<ServerRow>& servers) const override;
    void WritePlayers(std::ostream& out, const std::vector<PlayerListRow>& players) const override;
    void WriteInfo(std::ostream& out, const ServerRow& server) const override;

    // A JSON string literal, quotes included.
    static std::string Quote(std::string_view utf8);
};
