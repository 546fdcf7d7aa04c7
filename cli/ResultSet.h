#pragma once

#include "cli/ResultRows.h"
#include "query/Server.h"

#include <cstddef>

class ICountryLookup;
#include <vector>

// What rows carry besides the server's own fields: a listing that prints neither players
// nor variables need not decode them.
struct RowDetail
{
    bool players = true;
    bool vars = true;
    // Where the rows' countries come from; none: no row has a country.
    const ICountryLookup* countries = nullptr;
};

// The rows of a finished scan, as the desktop would list them: servers with a known status
// that pass the empty/full filters, sorted by ping, and their players, sorted by name.
class CResultSet
{
public:
    // `reported` are the records that the scan reported, in report order; they are only
    // read here.
    CResultSet(const std::vector<const CServer*>& reported, bool includeEmpty, bool includeFull,
               RowDetail detail = {});

    // Listed servers by ascending ping; equal pings by name (letter case ignored), then by
    // dotted address and port.
    const std::vector<ServerRow>& Servers() const { return m_servers; }

    // One row per player of every listed server, by name (letter case ignored); equal names
    // in the order of their servers in Servers(), then in reply order.
    std::vector<PlayerListRow> Players() const;

    std::size_t Reported() const { return m_reported; }
    std::size_t Answered() const { return m_answered; }

    // The row of one record: names, texts and variables decoded from Windows-1252, the mod
    // named from its URL, players and variables in reply order.
    static ServerRow MakeRow(const CServer& server, RowDetail detail = {});

    // MakeRow with the variables sorted by key, letter case ignored; equal keys stay in reply
    // order.
    static ServerRow MakeInfoRow(const CServer& server);

private:
    std::vector<ServerRow> m_servers;
    std::size_t m_reported = 0;
    std::size_t m_answered = 0;
};

// Whether a finished record holds an accepted reply (it may still have no known status).
bool IsAnswered(const CServer& server);
