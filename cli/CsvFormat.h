#pragma once

#include "cli/ResultFormat.h"

#include <string>
#include <string_view>
#include <vector>

// Comma-separated values for spreadsheets and scripts: a title row, then one row per
// record with every field. Control characters (line ends included) are made harmless as in
// the text table; then fields that hold a comma or a quote are quoted, with quotes doubled.
class CCsvFormat : public IResultFormat
{
public:
    void WriteServers(std::ostream& out, const std::vector<ServerRow>& servers) const override;
    void WritePlayers(std::ostream& out, const std::vector<PlayerListRow>& players) const override;
    void WriteInfo(std::ostream& out, const ServerRow& server) const override;

    // One line of fields, ended by a line feed.
    static std::string Line(const std::vector<std::string>& fields);
};
