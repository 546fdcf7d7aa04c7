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

using namespace Lattix;

namespace {

constexpr int kPlayerHandle = CResultLists::kPlayerHandleColumn;
constexpr int kServerHandle = CResultLists::kServerHandleColumn;
constexpr int kPlayerName = CResultLists::kPlayerNameColumn;

// The sort order of a grid, for putting single rows into an ordered grid.
class CRowOrder
{
public:
    explicit CRowOrder(const CTableCtrl& grid) : m_grid(grid)
    {
        for (const CSortKey& key : grid.GetSortOrder()) {
            if (grid.IsValidColumn(key.nColumn) && grid.GetCompare(key.nColumn) != nullptr)
                m_keys.push_back({key.nColumn, key.bDescending, grid.GetCompare(key.nColumn)});
        }
    }
    bool IsEmpty() const { return m_keys.empty(); }

    // Where the row goes among the ordered rows [0, end): after every row it does not
    // sort before, as a stable sort puts a row that came last.
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
    struct Key
    {
        int column;
        bool descending;
        const CCellCompare* compare;
    };
    bool Before(const CRowData& a, const CRowData& b) const
    {
        for (const Key& key : m_keys) {
            const int c = key.compare->Compare(*a.GetCell(key.column), *b.GetCell(key.column));
            if (c != 0)
                return key.descending ? c > 0 : c < 0;
        }
        return false;
    }

    const CTableCtrl& m_grid;
    std::vector<Key> m_keys;
};

// The indices of the rows in the grid's row table, in the order of the table, or fewer
// when some are not in it. Reads no row.
std::vector<int> IndicesOf(const CTableCtrl& grid, std::vector<CRowData*> rows)
{
    std::vector<int> indices;
    if (rows.empty())
        return indices;
    std::sort(rows.begin(), rows.end());
    const CRowData* lowest = rows.front();
    const CRowData* highest = rows.back();
    const int count = grid.GetRowCount();
    for (int index = 0; index < count; ++index) {
        const CRowData* row = grid.GetRow(index);
        if (row >= lowest && row <= highest && std::binary_search(rows.begin(), rows.end(), row))
            indices.push_back(index);
    }
    return indices;
}

int IndexOf(const CTableCtrl& grid, const CRowData* row)
{
    const std::vector<int> found = IndicesOf(grid, {const_cast<CRowData*>(row)});
    return found.empty() ? -1 : found.front();
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

CRowRefresh::CRowRefresh(CResultLists& lists) : m_lists(lists) {}

bool CRowRefresh::IsCurrent(unsigned scan) const
{
    return scan == m_scan && m_lists.Servers().GetRowCount() == m_serverCount &&
           m_lists.Players().GetRowCount() == m_playerCount;
}

void CRowRefresh::Prepare(unsigned scan)
{
    if (IsCurrent(scan))
        return;
    m_rows.clear();
    const CTableCtrl& servers = m_lists.Servers();
    std::unordered_map<int, const CServer*> byHandle;
    for (int index = 0; index < servers.GetRowCount(); ++index) {
        if (const CServer* record = m_lists.ServerOfServerRow(index)) {
            m_rows[record].server = servers.GetRow(index);
            byHandle[servers.GetRow(index)->GetCell(kServerHandle)->GetInt()] = record;
        }
    }
    const CTableCtrl& players = m_lists.Players();
    for (int index = 0; index < players.GetRowCount(); ++index) {
        CRowData* row = players.GetRow(index);
        const auto record = byHandle.find(row->GetCell(kPlayerHandle)->GetInt());
        if (record != byHandle.end())
            m_rows[record->second].players.push_back(row);
    }
    m_scan = scan;
    m_serverCount = servers.GetRowCount();
    m_playerCount = players.GetRowCount();
}

bool CRowRefresh::Find(const CServer& record, Rows& rows, std::vector<int>& playerIndices) const
{
    const auto noted = m_rows.find(&record);
    if (noted == m_rows.end() || IndexOf(m_lists.Servers(), noted->second.server) < 0)
        return false;
    const int handle = noted->second.server->GetCell(kServerHandle)->GetInt();
    if (m_lists.ServerOfServerRow(IndexOf(m_lists.Servers(), noted->second.server)) != &record)
        return false;
    playerIndices = IndicesOf(m_lists.Players(), noted->second.players);
    if (playerIndices.size() != noted->second.players.size())
        return false;
    for (const CRowData* row : noted->second.players) {
        if (row->GetCell(kPlayerHandle)->GetInt() != handle)
            return false;
    }
    rows = noted->second;
    return true;
}

bool CRowRefresh::Update(const CServer& record, unsigned scan)
{
    if (!HasRows(record))
        return false;
    Prepare(scan);
    Rows rows;
    std::vector<int> oldPlayers;
    if (!Find(record, rows, oldPlayers)) {
        m_scan = 0; // the notes did not hold: a fresh look
        Prepare(scan);
        if (!Find(record, rows, oldPlayers))
            return false;
    }
    CTableCtrl& servers = m_lists.Servers();
    CTableCtrl& players = m_lists.Players();
    const int serverRow = IndexOf(servers, rows.server);
    const bool serverMarked = rows.server->IsMarked();
    const bool paneShowsIt =
        serverMarked && m_lists.ServerOfServerRow(servers.GetSelectedRow()) == &record;
    const int serverCursor = servers.GetCursor().GetRow();
    CRowData* serverCursorRow = servers.IsValidRow(serverCursor) && serverCursor != serverRow
                                    ? servers.GetRow(serverCursor)
                                    : nullptr;
    // The players keep their marks and the cursor by name.
    const int playerCursor = players.GetCursor().GetRow();
    CRowData* playerCursorRow =
        players.IsValidRow(playerCursor) ? players.GetRow(playerCursor) : nullptr;
    std::string cursorName;
    std::set<std::string> markedNames;
    for (const int index : oldPlayers) {
        const std::string name = players.GetRow(index)->GetCell(kPlayerName)->GetString();
        if (players.IsRowMarked(index))
            markedNames.insert(name);
        if (players.GetRow(index) == playerCursorRow) {
            playerCursorRow = nullptr;
            cursorName = name;
        }
    }
    const bool playerCursorReplaced = playerCursor >= 0 && playerCursorRow == nullptr;

    // The old rows go; the lists append the record's new rows, which are put in place.
    for (auto index = oldPlayers.rbegin(); index != oldPlayers.rend(); ++index)
        players.DeleteRow(*index);
    servers.DeleteRow(serverRow);
    const int firstNewPlayer = players.GetRowCount();
    m_lists.AddServer(record, true, true);
    CRowData* newServer = servers.GetRow(servers.GetRowCount() - 1);
    std::vector<CRowData*> newPlayers;
    for (int index = firstNewPlayer; index < players.GetRowCount(); ++index)
        newPlayers.push_back(players.GetRow(index));
    const int handle = newServer->GetCell(kServerHandle)->GetInt();
    const bool appended =
        m_lists.ServerOfServerRow(servers.GetRowCount() - 1) == &record &&
        std::all_of(newPlayers.begin(), newPlayers.end(), [handle](const CRowData* row) {
            return row->GetCell(kPlayerHandle)->GetInt() == handle;
        });
    if (!appended) {
        // The lists put the rows in place themselves: find them with a fresh look.
        m_scan = 0;
        Prepare(scan);
        const auto noted = m_rows.find(&record);
        if (noted == m_rows.end())
            return false;
        newServer = noted->second.server;
        newPlayers = noted->second.players;
    }
    for (std::size_t i = 0; i < newPlayers.size(); ++i) {
        const std::string name = newPlayers[i]->GetCell(kPlayerName)->GetString();
        newPlayers[i]->SetMarked(markedNames.contains(name));
        if (playerCursorReplaced && playerCursorRow == nullptr && name == cursorName)
            playerCursorRow = newPlayers[i];
    }
    if (playerCursorReplaced && playerCursorRow == nullptr && !newPlayers.empty())
        playerCursorRow = newPlayers.front();
    newServer->SetMarked(serverMarked);
    if (serverCursor == serverRow)
        serverCursorRow = newServer;
    if (appended) {
        PlaceNewRows(servers, servers.GetRowCount() - 1, serverRow);
        PlaceNewRows(players, firstNewPlayer, oldPlayers.empty() ? -1 : oldPlayers.front());
    }

    const int newCursor = IndexOf(players, playerCursorRow);
    players.GetCursor().SetRow(newCursor >= 0 || !playerCursorReplaced
                                   ? newCursor
                                   : std::min(oldPlayers.front(), players.GetRowCount() - 1));
    players.Update(true);
    servers.GetCursor().SetRow(IndexOf(servers, serverCursorRow));
    servers.Update(true);
    if (paneShowsIt)
        RefillServerPlayers(m_lists, IndexOf(servers, newServer));

    // The notes follow.
    m_rows[&record] = {newServer, std::move(newPlayers)};
    m_serverCount = servers.GetRowCount();
    m_playerCount = players.GetRowCount();
    return true;
}
