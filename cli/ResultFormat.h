#pragma once

#include "cli/ResultRows.h"

#include <memory>
#include <ostream>
#include <vector>

enum class OutputFormat
{
    Table,
    Json,
    Csv
};

// One way of printing the results of a scan. The rows come sorted; a format only prints.
class IResultFormat
{
public:
    virtual ~IResultFormat() = default;

    // The server list.
    virtual void WriteServers(std::ostream& out, const std::vector<ServerRow>& servers) const = 0;
    // The player list.
    virtual void WritePlayers(std::ostream& out,
                              const std::vector<PlayerListRow>& players) const = 0;
    // Every variable of one server, in the order of server.vars.
    virtual void WriteInfo(std::ostream& out, const ServerRow& server) const = 0;
};

std::unique_ptr<IResultFormat> MakeResultFormat(OutputFormat format);
