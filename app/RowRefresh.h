#pragma once

#include <unordered_map>
#include <vector>

class CResultLists;
class CServer;

namespace Lattix {
class CRowData;
}

// Shows a record's new status in place. Its server-list row, and the player-list row of
// each player who stays, take the new values and keep their places, marks and the cursor
// unless the sort order moves them; players who joined get rows where the order puts
// them, and the rows of players who left go. When the players of the server are shown
// beside the server list, they are filled again, keeping their marks and cursor by name.
// The rest of each grid is not touched.
//
// The player list holds tens of thousands of rows, and a pass that reads each of them
// takes milliseconds: where the rows of each server are is noted once per scan (Prepare,
// while a refresh waits for its answers) and kept up to date by Update. A note is used
// only after it is checked against the grid's row table, without reading other rows.
class CRowRefresh
{
public:
    explicit CRowRefresh(CResultLists& lists);

    // Notes the rows of every server, unless the notes are of this scan (the number of the
    // scan that filled the lists) and the grids have not changed since.
    void Prepare(unsigned scan);
    // False when no server-list row shows the record, or the record has no status to show;
    // the grids are then as they were.
    bool Update(const CServer& record, unsigned scan);

private:
    struct Rows
    {
        Lattix::CRowData* server = nullptr;
        std::vector<Lattix::CRowData*> players;
    };
    bool IsCurrent(unsigned scan) const;
    // The rows of the record as noted, checked; empty when the notes do not hold.
    bool Find(const CServer& record, Rows& rows, std::vector<int>& playerIndices) const;

    CResultLists& m_lists;
    std::unordered_map<const CServer*, Rows> m_rows;
    unsigned m_scan = 0;
    int m_serverCount = -1;
    int m_playerCount = -1;
};
