#pragma once

#include "lattix/model/Enum.h"

#include <QCoreApplication>

#include <string>
#include <vector>

class CServer;

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

    CResultLists(Lattix::CTableCtrl& players, Lattix::CTableCtrl& servers,
                 Lattix::CTableCtrl& serverPlayers);

    // Columns, row layouts and the default sort orders of the three grids. scale: of the
    // window's dialog units to those of the 8-point dialog font the widths were drawn for.
    void DefineColumns(double scale = 1.0);
    // The player list's columns of player and server names (the server list's and the
    // server players' names are their column 0).
    static constexpr int kPlayerNameColumn = 0;
    static constexpr int kPlayerServerColumn = 4;

    // Empties the three grids and forgets every handle.
    void Clear();

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
    // The server-list row that shows the record with the handle, or -1.
    int FindServerRow(int handle) const;
    int HandleOfPlayerRow(int row) const;

    Lattix::CTableCtrl& Players() { return m_players; }
    Lattix::CTableCtrl& Servers() { return m_servers; }
    Lattix::CTableCtrl& ServerPlayers() { return m_serverPlayers; }

    // The game types, for the columns and for pictures.
    Lattix::CEnum& GameTypes() { return m_gameTypes; }

private:
    const CServer* Record(int handle) const;

    Lattix::CTableCtrl& m_players;
    Lattix::CTableCtrl& m_servers;
    Lattix::CTableCtrl& m_serverPlayers;
    Lattix::CEnum m_gameTypes;
    Lattix::CEnum m_locks;
    std::vector<const CServer*> m_records; // handle - 1 -> record
    // Rows at the top of each list that are in order; the rows below them are new.
    int m_playersInOrder = 0;
    int m_serversInOrder = 0;
    bool m_playersArranged = false;
};
