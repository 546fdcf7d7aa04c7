#include "app/RefreshCommands.h"

#include "app/MainDlgLayout.h"
#include "app/ResultLists.h"
#include "app/ScanBridge.h"
#include "app/ScanFlow.h"
#include "app/SettingsKey.h"
#include "lattix/view/TableCtrl.h"
#include "query/Server.h"
#include "velk/PopupMenu.h"

#include <QShortcut>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>

namespace {

qint64 SteadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void AddOnce(std::vector<CSockAddr>& addresses, const CServer* server)
{
    if (server && std::find(addresses.begin(), addresses.end(), server->address) == addresses.end())
        addresses.push_back(server->address);
}

} // namespace

CRefreshCommands::CRefreshCommands(Parts parts, std::function<qint64()> clock, int pollMs)
    : m_parts(parts), m_clock(clock ? std::move(clock) : SteadyMs),
      m_refresh({parts.bridge, parts.lists, parts.status, parts.flow}, m_clock)
{
    auto* refresh = new QShortcut(QKeySequence(Qt::Key_F5), &m_parts.window);
    connect(refresh, &QShortcut::activated, this, &CRefreshCommands::RefreshSelected);
    auto* all = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F5), &m_parts.window);
    connect(all, &QShortcut::activated, this, &CRefreshCommands::RefreshAll);
    connect(&m_refresh, &CServerRefresh::Ended, this, &CRefreshCommands::AskOthers);
    ReadOptions();
    if (pollMs > 0) {
        m_poll = new QTimer(this);
        connect(m_poll, &QTimer::timeout, this, &CRefreshCommands::Poll);
        m_poll->start(pollMs);
    }
}

bool CRefreshCommands::IsBusy() const
{
    return m_parts.flow.IsBusy();
}

void CRefreshCommands::FillMenu(CPopupMenu& menu, int grid, int row)
{
    const bool busy = IsBusy();
    const bool refresh = !busy && !Selected(grid, row).empty();
    const bool all = !busy && !m_parts.bridge.Servers().empty();
    const QString items = (refresh ? QString() : QStringLiteral("~")) + tr("Refresh\tF5") +
                          QLatin1Char(';') + (all ? QString() : QStringLiteral("~")) +
                          tr("Refresh all\tShift+F5") + QStringLiteral(";-");
    const auto parsed = CPopupMenu::ParseItems(items.toUtf8().toStdString());
    for (unsigned i = 0; i < parsed.size(); ++i)
        menu.InsertItem(i, parsed[i].flags | CPopupMenu::kByPosition, kRefresh + i, parsed[i].text);
}

bool CRefreshCommands::Command(int command, int grid, int row)
{
    if (command == static_cast<int>(kRefresh))
        m_refresh.Refresh(Selected(grid, row));
    else if (command == static_cast<int>(kRefreshAll))
        RefreshAll();
    else
        return false;
    return true;
}

std::vector<CSockAddr> CRefreshCommands::Selected(int grid, int row) const
{
    CResultLists& lists = m_parts.lists;
    std::vector<CSockAddr> addresses;
    if (grid == MainDlgIds::IDC_PLAYER_LIST) {
        const Lattix::CTableCtrl& players = lists.Players();
        if (players.IsValidRow(row) && !players.IsRowMarked(row))
            AddOnce(addresses, lists.ServerOfPlayerRow(row));
        else
            for (int marked = 0; marked < players.GetRowCount(); ++marked)
                if (players.IsRowMarked(marked))
                    AddOnce(addresses, lists.ServerOfPlayerRow(marked));
        return addresses;
    }
    // The players of a server stand for the server selected in the server list.
    const Lattix::CTableCtrl& servers = lists.Servers();
    if (grid == MainDlgIds::IDC_SERVER_LIST && servers.IsValidRow(row) &&
        !servers.IsRowMarked(row)) {
        AddOnce(addresses, lists.ServerOfServerRow(row));
        return addresses;
    }
    for (int marked = 0; marked < servers.GetRowCount(); ++marked)
        if (servers.IsRowMarked(marked))
            AddOnce(addresses, lists.ServerOfServerRow(marked));
    return addresses;
}

int CRefreshCommands::VisibleGrid() const
{
    return m_parts.lists.Players().isHidden() ? MainDlgIds::IDC_SERVER_LIST
                                              : MainDlgIds::IDC_PLAYER_LIST;
}

std::optional<CSockAddr> CRefreshCommands::CursorServer(int grid) const
{
    CResultLists& lists = m_parts.lists;
    const bool players = grid == MainDlgIds::IDC_PLAYER_LIST;
    const Lattix::CTableCtrl& rows = players ? lists.Players() : lists.Servers();
    const int cursor = rows.GetCursor().GetRow();
    if (!rows.IsValidRow(cursor) || !rows.IsRowMarked(cursor))
        return std::nullopt;
    const CServer* server =
        players ? lists.ServerOfPlayerRow(cursor) : lists.ServerOfServerRow(cursor);
    return server ? std::optional(server->address) : std::nullopt;
}

int CRefreshCommands::RefreshSelected()
{
    // The server of the cursor's row is asked at once; the list is looked through for the
    // other selected rows once it has answered, so that the look does not hold it up.
    const int grid = VisibleGrid();
    const std::optional<CSockAddr> first = CursorServer(grid);
    if (!first)
        return m_refresh.Refresh(Selected(grid, -1));
    const int asked = m_refresh.Refresh({*first});
    if (asked > 0)
        m_othersOf = {grid, *first};
    return asked;
}

void CRefreshCommands::AskOthers()
{
    if (!m_othersOf)
        return;
    const auto [grid, first] = *m_othersOf;
    m_othersOf.reset();
    std::vector<CSockAddr> others = Selected(grid, -1);
    std::erase(others, first);
    if (!others.empty())
        m_refresh.Refresh(others, true);
}

void CRefreshCommands::RefreshAll()
{
    if (!IsBusy())
        m_parts.flow.Rescan();
}

void CRefreshCommands::ReadOptions()
{
    const bool background = m_parts.settings.GetInt(QStringLiteral("AutoRequery"), 0) != 0;
    if (background && !m_background)
        m_lastBackground = m_clock(); // the first requery is a period away
    m_background = background;
}

int CRefreshCommands::Poll()
{
    if (!m_background || !m_parts.window.isVisible() || m_parts.window.isMinimized())
        return 0;
    const qint64 now = m_clock();
    if (now - m_lastBackground < kBackgroundPeriodMs)
        return 0;
    m_lastBackground = now;
    std::optional<CSockAddr> server = CursorServer(VisibleGrid());
    if (!server) {
        const std::vector<CSockAddr> selected = Selected(VisibleGrid(), -1);
        if (selected.empty())
            return 0;
        server = selected.front();
    }
    return m_refresh.Refresh({*server}, true);
}
