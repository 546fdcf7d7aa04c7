#include "app/RowRefresh.h"

#include "app/ResultLists.h"
#include "lattix/model/CellData.h"
#include "lattix/model/RowData.h"
#include "lattix/view/TableCtrl.h"
#include "query/ResultRules.h"
#include "query/Server.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace Lattix;

namespace {

// The sort order of a grid, for putting single rows into an ordered grid.
class CRowOrder
{
public:
    explicit CRowOrder(const CTableCtrl& grid) : m_grid(grid)
    {
        for (const CSortKey& key : grid.GetSortOrder()) {
            if (grid.IsValidColumn(key.nColumn) && grid.GetCompare(key.nColumn) != nullptr)
                m_keys.push_back(key);
        }
    }
    bool IsEmpty() const { return m_keys.empty(); }

    // Where the row goes among the ordered rows [0, end): after every row it does not
    // sort before, as a stable sort would put a row that came last.
    int UpperBound(const CRowData& row, int end) const
    {
        int low = 0;
        int high = end;
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (Before(row, *m_grid.GetRow(middle)))
                high = middle;
            else
                low = middle + 1;
        }
        return low;
    }

private:
    bool Before(const CRowData& a, const CRowData& b) const
    {
        for (const CSortKey& key : m_keys) {
            const int c = m_grid.GetCompare(key.nColumn)
                              ->Compare(*a.GetCell(key.nColumn), *b.GetCell(key.nColumn));
            if (c != 0)
                return key.bDescending ? c > 0 : c < 0;
        }
        return false;
    }

    const CTableCtrl& m_grid;
    std::vector<CSortKey> m_keys;
};

// What the user had in a grid before its rows of one server were replaced.
struct CHeld
{
    const CRowData* cursorRow = nullptr; // the cursor's row when it is not replaced
    bool cursorReplaced = false;
    std::string cursorName;            // the cursor's player, when its row is replaced
    std::set<std::string> markedNames; // the marked players among the replaced rows
    int firstReplaced = -1;
};

void NoteCursor(const CTableCtrl& grid, CHeld& held)
{
    const int cursor = grid.GetCursor().GetRow();
    held.cursorRow = grid.IsValidRow(cursor) ? grid.GetRow(cursor) : nullptr;
}

int IndexOf(const CTableCtrl& grid, const CRowData* row)
{
    for (int index = 0; index < grid.GetRowCount(); ++index) {
        if (grid.GetRow(index) == row)
            return index;
    }
    return -1;
}

// Moves the rows from `first` to the end, one by one, to their places among the rows
// before them; without a sort order they go where the replaced rows were (oldPlace; -1:
// there were none, and they stay at the end).
void PlaceNewRows(CTableCtrl& grid, int first, int oldPlace)
{
    const CRowOrder order(grid);
    const int count = grid.GetRowCount();
    for (int next = first, at = oldPlace; next < count; ++next, ++at) {
        const int to = !order.IsEmpty() ? order.UpperBound(*grid.GetRow(next), next)
                       : oldPlace < 0   ? next
                                        : std::min(at, next);
        grid.MoveRow(next, to);
    }
}

// Marks the new player rows (those whose handle is `handle`) of the players that were
// marked, and puts the cursor back.
void Restore(CTableCtrl& grid, const CHeld& held, int handle)
{
    constexpr int handleColumn = CResultLists::kPlayerHandleColumn;
    constexpr int nameColumn = CResultLists::kPlayerNameColumn;
    int cursor = -1;
    int firstNew = -1;
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        if (grid.GetCell(row, handleColumn)->GetInt() != handle)
            continue;
        if (firstNew < 0)
            firstNew = row;
        const std::string name = grid.GetCellText(row, nameColumn);
        grid.MarkRow(row, held.markedNames.contains(name));
        if (held.cursorReplaced && cursor < 0 && name == held.cursorName)
            cursor = row;
    }
    if (!held.cursorReplaced)
        cursor = held.cursorRow ? IndexOf(grid, held.cursorRow) : -1;
    else if (cursor < 0)
        cursor = firstNew >= 0 ? firstNew : std::min(held.firstReplaced, grid.GetRowCount() - 1);
    grid.GetCursor().SetRow(cursor);
    grid.Update(true);
}

// Fills the players of a server again, keeping their marks and cursor by name.
void RefillServerPlayers(CResultLists& lists, int serverRow)
{
    CTableCtrl& grid = lists.ServerPlayers();
    std::set<std::string> marked;
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        if (grid.IsRowMarked(row))
            marked.insert(grid.GetCellText(row, 0));
    }
    const int cursor = grid.GetCursor().GetRow();
    const std::string cursorName = grid.IsValidRow(cursor) ? grid.GetCellText(cursor, 0) : "";
    lists.ShowServerPlayers(serverRow);
    int newCursor = -1;
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        const std::string name = grid.GetCellText(row, 0);
        grid.MarkRow(row, marked.contains(name));
        if (newCursor < 0 && !cursorName.empty() && name == cursorName)
            newCursor = row;
    }
    grid.GetCursor().SetRow(newCursor);
    grid.Update(true);
}

} // namespace

bool CRowRefresh::Update(CResultLists& lists, const CServer& record)
{
    if (!HasRows(record))
        return false;
    CTableCtrl& servers = lists.Servers();
    CTableCtrl& players = lists.Players();
    const std::string address = record.address.ToString();
    int serverRow = 0;
    while (serverRow < servers.GetRowCount() &&
           servers.GetCellText(serverRow, CResultLists::kServerAddressColumn) != address)
        ++serverRow;
    if (serverRow == servers.GetRowCount())
        return false;
    const CServer* shown = lists.ServerOfServerRow(servers.GetSelectedRow());
    const bool paneShowsIt = shown == &record;
    const int oldHandle = servers.GetCell(serverRow, CResultLists::kServerHandleColumn)->GetInt();

    // What the user has in the two lists.
    CHeld heldServer;
    NoteCursor(servers, heldServer);
    heldServer.cursorReplaced = servers.GetCursor().GetRow() == serverRow;
    const bool serverMarked = servers.IsRowMarked(serverRow);
    CHeld heldPlayers;
    NoteCursor(players, heldPlayers);
    std::vector<int> oldPlayerRows;
    for (int row = 0; row < players.GetRowCount(); ++row) {
        if (players.GetCell(row, CResultLists::kPlayerHandleColumn)->GetInt() != oldHandle)
            continue;
        oldPlayerRows.push_back(row);
        const std::string name = players.GetCellText(row, CResultLists::kPlayerNameColumn);
        if (players.IsRowMarked(row))
            heldPlayers.markedNames.insert(name);
        if (players.GetRow(row) == heldPlayers.cursorRow) {
            heldPlayers.cursorRow = nullptr;
            heldPlayers.cursorReplaced = true;
            heldPlayers.cursorName = name;
        }
    }
    heldPlayers.firstReplaced = oldPlayerRows.empty() ? -1 : oldPlayerRows.front();

    // The old rows go, the record's new rows are appended and put in their places.
    for (auto row = oldPlayerRows.rbegin(); row != oldPlayerRows.rend(); ++row)
        players.DeleteRow(*row);
    servers.DeleteRow(serverRow);
    const int firstNewPlayer = players.GetRowCount();
    lists.AddServer(record, true, true);
    const int newHandle =
        servers.GetCell(servers.GetRowCount() - 1, CResultLists::kServerHandleColumn)->GetInt();
    PlaceNewRows(servers, servers.GetRowCount() - 1, serverRow);
    PlaceNewRows(players, firstNewPlayer, heldPlayers.firstReplaced);

    // The server keeps its mark and the cursor; the players keep theirs by name.
    int newServerRow = servers.GetRowCount() - 1;
    while (newServerRow > 0 &&
           servers.GetCell(newServerRow, CResultLists::kServerHandleColumn)->GetInt() != newHandle)
        --newServerRow;
    servers.MarkRow(newServerRow, serverMarked);
    servers.GetCursor().SetRow(heldServer.cursorReplaced ? newServerRow
                               : heldServer.cursorRow    ? IndexOf(servers, heldServer.cursorRow)
                                                         : -1);
    servers.Update(true);
    if (paneShowsIt)
        RefillServerPlayers(lists, newServerRow);
    Restore(players, heldPlayers, newHandle);
    return true;
}
