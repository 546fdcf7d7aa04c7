#pragma once

#include "lattix/model/Enum.h"

#include <QCoreApplication>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CCountryFlags;
class CServer;
class ICountryLookup;

namespace Lattix {
class CTableCtrl;
}

// The three result grids of the main window: every player of every server, the servers,
// and the players of the selected server. Defines their columns, turns finished server
// records into rows, keeps the lists in order while a scan runs, and leads from a row back
// to its record.
//
// A row's hidden handle cell holds a number that this object hands out per record of the
// current scan (1, 2, ...; 0 for none). Clear forgets every handle together with the rows,
// so a handle can never lead to a record of an earlier scan.
class CResultLists
{
    Q_DECLARE_TR_FUNCTIONS(CResultLists)

public:
    // Column indices of the hidden handle cells.
    static constexpr int kPlayerHandleColumn = 8;
    static constexpr int kServerHandleColumn = 12;
    static constexpr int kServerAddressColumn = 11;
    static constexpr int kServerNameColumn = 0;
    // The padlock of a server that asks for a password (1, else 0): shown after the name,
    // stored after the columns of old, so that stored layouts keep their places.
    static constexpr int kServerLockColumn = 13;
    // The server's country (CCountryFlags' value): shown after the padlock, stored last.
    static constexpr int kServerCountryColumn = 14;

    CResultLists(Lattix::CTableCtrl& players, Lattix::CTableCtrl& servers,
                 Lattix::CTableCtrl& serverPlayers);
    ~CResultLists();

    // Columns, row layouts and the default sort orders of the three grids. scale: of the
    // window's dialog units to those of the 8-point dialog font the widths were drawn for.
    void DefineColumns(double scale = 1.0);
    // The player list's columns of player and server names (the server list's and the
    // server players' names are their column 0).
    static constexpr int kPlayerNameColumn = 0;
    static constexpr int kPlayerServerColumn = 4;

    // Where the Country column finds a server's country; none: no server has one.
    void SetCountryLookup(std::unique_ptr<ICountryLookup> lookup);
    CCountryFlags& Countries() { return *m_countries; }

    // Empties the three grids and forgets every handle.
    void Clear();

    // Which servers the filter bar shows; empty: all. The rows of a server added while it
    // says no are hidden (CTableCtrl::ShowRows) from the start.
    using ShownServers = std::function<bool(const CServer&)>;
    void SetShownServers(ShownServers shown) { m_shown = std::move(shown); }

    // Adds the rows of a finished record that passes the filters (a server without known
    // status gets none). Returns whether rows were added.
    bool AddServer(const CServer& server, bool includeEmpty, bool includeFull);
    // Puts the rows added since the last call among the rows before them, in each list's
    // sort order (also after a click on a title changed it), and shows them. Cheap enough
    // for every batch of replies, so that both lists are in order whenever they are painted.
    void KeepInOrder();
    // Sort a list by its sort order, at the end of a scan.
    void SortServers();
    void SortPlayers();
    // Whether every row of the player list is in the list's sort order, as far as this
    // object knows: rows that someone moved out of place (PlayersArranged) are not.
    bool PlayersInOrder() const;
    void PlayersArranged() { m_playersArranged = true; }
    // Fills the players of the selected server from a server-list row (none: empty).
    void ShowServerPlayers(int serverRow);

    // The record behind a row of the player list or the server list, or nullptr.
    const CServer* ServerOfPlayerRow(int row) const;
    const CServer* ServerOfServerRow(int row) const;
    // The record with a handle, or nullptr; handles run from 1 to RecordCount().
    const CServer* Record(int handle) const;
    int RecordCount() const { return static_cast<int>(m_records.size()); }
    // Counts the Clear calls: a handle means the same record while it stays the same.
    unsigned Generation() const { return m_generation; }
    // The server-list row that shows the record with the handle, or -1.
    int FindServerRow(int handle) const;
    int HandleOfPlayerRow(int row) const;

    Lattix::CTableCtrl& Players() { return m_players; }
    Lattix::CTableCtrl& Servers() { return m_servers; }
    Lattix::CTableCtrl& ServerPlayers() { return m_serverPlayers; }

    // The game types, for the columns and for pictures.
    Lattix::CEnum& GameTypes() { return m_gameTypes; }

private:
    Lattix::CTableCtrl& m_players;
    Lattix::CTableCtrl& m_servers;
    Lattix::CTableCtrl& m_serverPlayers;
    Lattix::CEnum m_gameTypes;
    Lattix::CEnum m_locks;
    std::unique_ptr<CCountryFlags> m_countries;
    std::unique_ptr<ICountryLookup> m_countryLookup;
    std::vector<const CServer*> m_records; // handle - 1 -> record
    ShownServers m_shown;
    unsigned m_generation = 0;
    // Rows at the top of each list that are in order; the rows below them are new.
    int m_playersInOrder = 0;
    int m_serversInOrder = 0;
    bool m_playersArranged = false;
};
