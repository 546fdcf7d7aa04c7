#pragma once

class CResultLists;
class CServer;

// Shows a record's new status in place: its server-list row and its player-list rows are
// replaced by rows made from the record, each put where its grid's sort order puts it,
// and the marks and the cursor stay on the same server and the same players. When the
// players of the server are shown beside the server list, they are filled again, keeping
// their marks and cursor by name. The rest of each grid is not touched.
class CRowRefresh
{
public:
    // False when no server-list row shows the record's address, or the record has no
    // status to show; the grids are then as they were.
    static bool Update(CResultLists& lists, const CServer& record);
};
