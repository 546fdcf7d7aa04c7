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
#include <unordered_map>

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

    bool Before(const CRowData& a, const CRowData& b) const
    {
        for (const Key& key : m_keys) {
            const int c = key.compare->Compare(*a.GetCell(key.column), *b.GetCell(key.column));
            if (c != 0)
                return key.descending ? c > 0 : c < 0;
        }
        return false;
    }

private:
    struct Key
    {
        int column;
        bool descending;
        const CCellCompare* compare;
    };

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
    // Handles are numbered from 1 in the order the lists hand them out.
    const CTableCtrl& servers = m_lists.Servers();
    const int serverCount = servers.GetRowCount();
    std::vector<Rows*> byHandle;
    m_rows.reserve(static_cast<std::size_t>(serverCount));
    for (int index = 0; index < serverCount; ++index) {
        const CServer* record = m_lists.ServerOfServerRow(index);
        if (record == nullptr)
            continue;
        CRowData* row = servers.GetRow(index);
        const auto handle = static_cast<std::size_t>(row->GetCell(kServerHandle)->GetInt());
        if (handle >= byHandle.size())
            byHandle.resize(std::max(handle + 1, byHandle.size() * 2), nullptr);
        Rows& rows = m_rows[record];
        rows.server = row;
        byHandle[handle] = &rows;
    }
    const CTableCtrl& players = m_lists.Players();
    const int playerCount = players.GetRowCount();
    for (int index = 0; index < playerCount; ++index) {
        CRowData* row = players.GetRow(index);
        const auto handle = static_cast<std::size_t>(row->GetCell(kPlayerHandle)->GetInt());
        if (handle < byHandle.size() && byHandle[handle] != nullptr)
            byHandle[handle]->players.push_back(row);
    }
    m_scan = scan;
    m_serverCount = serverCount;
    m_playerCount = playerCount;
}

bool CRowRefresh::Find(const CServer& record, Rows& rows, std::vector<int>& playerIndices) const
{
    const auto noted = m_rows.find(&record);
    if (noted == m_rows.end())
        return false;
    const int serverRow = IndexOf(m_lists.Servers(), noted->second.server);
    if (serverRow < 0 || m_lists.ServerOfServerRow(serverRow) != &record)
        return false;
    const int handle = noted->second.server->GetCell(kServerHandle)->GetInt();
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
    // The players beside the list are those of the row the cursor went to last.
    const bool paneShowsIt = servers.GetCursor().GetRow() == serverRow;
    const int serverCursor = servers.GetCursor().GetRow();
    const CRowData* serverCursorRow =
        servers.IsValidRow(serverCursor) ? servers.GetRow(serverCursor) : nullptr;
    const int playerCursor = players.GetCursor().GetRow();
    const CRowData* playerCursorRow =
        players.IsValidRow(playerCursor) ? players.GetRow(playerCursor) : nullptr;
    std::vector<CRowData*> oldRows;
    for (const int index : oldPlayers)
        oldRows.push_back(players.GetRow(index));

    // The lists append the record's new rows.
    const int firstNewServer = servers.GetRowCount();
    const int firstNewPlayer = players.GetRowCount();
    m_lists.AddServer(record, true, true);
    std::vector<CRowData*> newRows;
    for (int index = firstNewPlayer; index < players.GetRowCount(); ++index)
        newRows.push_back(players.GetRow(index));
    const bool appended =
        servers.GetRowCount() == firstNewServer + 1 &&
        m_lists.ServerOfServerRow(firstNewServer) == &record &&
        std::all_of(newRows.begin(), newRows.end(), [&](const CRowData* row) {
            return row->GetCell(kPlayerHandle)->GetInt() ==
                   servers.GetRow(firstNewServer)->GetCell(kServerHandle)->GetInt();
        });
    if (!appended) {
        // The lists put the new rows in place themselves: the old ones go.
        std::vector<int> old = IndicesOf(players, oldRows);
        for (auto index = old.rbegin(); index != old.rend(); ++index)
            players.DeleteRow(*index);
        servers.DeleteRow(IndexOf(servers, rows.server));
        m_scan = 0;
        Prepare(scan);
        players.Update(true);
        servers.Update(true);
        return true;
    }

    // The new status goes into the rows that show the server and each player that stays,
    // so that they keep their places, marks and the cursor unless the order moves them.
    servers.SetRow(serverRow, *servers.GetRow(firstNewServer));
    servers.DeleteRow(firstNewServer);
    std::unordered_multimap<std::string, std::size_t> oldByName;
    for (std::size_t i = 0; i < oldRows.size(); ++i)
        oldByName.emplace(oldRows[i]->GetCell(kPlayerName)->GetString(), i);
    std::vector<bool> oldKept(oldRows.size(), false);
    std::vector<bool> newUsed(newRows.size(), false);
    std::vector<CRowData*> changed;
    for (std::size_t j = 0; j < newRows.size(); ++j) {
        const auto [first, last] =
            oldByName.equal_range(newRows[j]->GetCell(kPlayerName)->GetString());
        for (auto it = first; it != last; ++it) {
            if (oldKept[it->second])
                continue;
            players.SetRow(oldPlayers[it->second], *newRows[j]);
            oldKept[it->second] = newUsed[j] = true;
            changed.push_back(oldRows[it->second]);
            break;
        }
    }
    // The appended rows that were copied go, from the end; then the players who left.
    for (std::size_t j = newRows.size(); j-- > 0;) {
        if (newUsed[j])
            players.DeleteRow(firstNewPlayer + static_cast<int>(j));
    }
    for (std::size_t i = oldRows.size(); i-- > 0;) {
        if (!oldKept[i])
            players.DeleteRow(oldPlayers[i]);
    }
    std::vector<CRowData*> shown = changed;
    for (std::size_t j = 0; j < newRows.size(); ++j) {
        if (!newUsed[j])
            shown.push_back(newRows[j]);
    }

    // Rows whose new values break the order are taken out and put back in place, with the
    // players who joined.
    const int joined = static_cast<int>(shown.size() - changed.size());
    int tail = players.GetRowCount() - joined;
    const auto reorder = [](CTableCtrl& grid, const std::vector<CRowData*>& rows, int& tail) {
        const CRowOrder order(grid);
        if (order.IsEmpty())
            return;
        const std::vector<int> indices = IndicesOf(grid, rows);
        const bool inOrder = std::all_of(indices.begin(), indices.end(), [&](int index) {
            const CRowData& row = *grid.GetRow(index);
            return (index == 0 || !order.Before(row, *grid.GetRow(index - 1))) &&
                   (index + 1 >= tail || !order.Before(*grid.GetRow(index + 1), row));
        });
        if (inOrder)
            return;
        for (auto index = indices.rbegin(); index != indices.rend(); ++index)
            grid.MoveRow(*index, grid.GetRowCount() - 1);
        tail -= static_cast<int>(indices.size());
    };
    reorder(players, changed, tail);
    PlaceNewRows(players, tail, oldPlayers.empty() ? -1 : oldPlayers.front());
    int serverTail = servers.GetRowCount();
    reorder(servers, {rows.server}, serverTail);
    PlaceNewRows(servers, serverTail, serverRow);

    // The cursor stays on its row; on the server's first row when its player left.
    int newCursor = IndexOf(players, playerCursorRow);
    if (newCursor < 0 && playerCursor >= 0)
        newCursor = shown.empty() ? std::min(playerCursor, players.GetRowCount() - 1)
                                  : IndexOf(players, shown.front());
    players.GetCursor().SetRow(newCursor);
    players.Update(true);
    servers.GetCursor().SetRow(IndexOf(servers, serverCursorRow));
    servers.Update(true);
    if (paneShowsIt)
        RefillServerPlayers(m_lists, IndexOf(servers, rows.server));

    // The notes follow.
    m_rows[&record].players = std::move(shown);
    m_serverCount = servers.GetRowCount();
    m_playerCount = players.GetRowCount();
    return true;
}
