#pragma once

#include "cli/ResultFormat.h"

// Aligned text tables for people, with the columns and titles of the desktop's lists.
class CTableFormat : public IResultFormat
{
public:
    void WriteServers(std::ostream& out, const std::vector<ServerRow>& servers) const override;
    void WritePlayers(std::ostream& out, const std::vector<PlayerListRow>& players) const override;
    // A heading line with the server's name and address, then a Variable/Value table.
    void WriteInfo(std::ostream& out, const ServerRow& server) const override;
};
