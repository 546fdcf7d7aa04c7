#include "app/ResultLists.h"

#include "app/CountryFlags.h"
#include "app/Padlock.h"
#include "geo/CountryLookup.h"

#include "format/Cp1252.h"
#include "lattix/model/CellData.h"
#include "lattix/model/SortKey.h"
#include "lattix/view/BoolCol.h"
#include "lattix/view/EnumCol.h"
#include "lattix/view/EnumOut.h"
#include "lattix/view/IntCol.h"
#include "lattix/view/StringCol.h"
#include "lattix/view/TableCtrl.h"
#include "query/ResultRules.h"
#include "query/Server.h"

#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <cmath>

using namespace Lattix;

namespace {

constexpr std::uint32_t kStringFlags = 0x8924;
constexpr std::uint32_t kIntFlags = 0x8926;
constexpr std::uint32_t kBoolFlags = 0x8925;
constexpr std::uint32_t kEnumFlags = 0xFFFFFFFF;
constexpr int kEnumMode = 1;

std::string Shown(const std::string& bytes)
{
    return Cp1252ToUtf8(bytes);
}

// A column's width at first start: its width for the 8-point dialog font, scaled as the
// window's dialog units are, but at least what its title (with the sort arrow beside it)
// and a typical widest value need.
class CDefaultWidth
{
public:
    CDefaultWidth(const CTableCtrl& grid, double scale)
        : m_metrics(grid.GetDrawState().GetFont()), m_scale(scale)
    {
    }
    int operator()(int pixels, const char* title, const char* sample = "") const
    {
        constexpr int kPadding = CTableHost::kMarginLeft + CTableHost::kMarginRight;
        constexpr int kSortArrow = 7;
        const QString head = QString::fromUtf8(title).section(QLatin1Char('\n'), 0, 0);
        return std::max({static_cast<int>(std::lround(pixels * m_scale)),
                         m_metrics.horizontalAdvance(head) + kPadding + kSortArrow,
                         m_metrics.horizontalAdvance(QString::fromUtf8(sample)) + kPadding});
    }

private:
    QFontMetrics m_metrics;
    double m_scale;
};

// The players text with the private slots beside it when the server has any:
// "10/20 (+4)".
std::string WithPrivateSlots(const std::string& players, const CServer& server)
{
    if (server.privateClients <= 0)
        return players;
    return players + " (+" + std::to_string(server.privateClients) + ")";
}

// New rows of the grids hidden while it lives, when hide is set.
class CNewRowsHidden
{
public:
    CNewRowsHidden(CTableCtrl& players, CTableCtrl& servers, bool hide)
        : m_players(players), m_servers(servers)
    {
        m_players.SetNewRowsHidden(hide);
        m_servers.SetNewRowsHidden(hide);
    }
    ~CNewRowsHidden()
    {
        m_players.SetNewRowsHidden(false);
        m_servers.SetNewRowsHidden(false);
    }
    CNewRowsHidden(const CNewRowsHidden&) = delete;
    CNewRowsHidden& operator=(const CNewRowsHidden&) = delete;

private:
    CTableCtrl& m_players;
    CTableCtrl& m_servers;
};

// The rows of a grid, shown or hidden by the filter.
int AllRows(const CTableCtrl& grid)
{
    return grid.GetRowCount() + grid.GetHiddenRowCount();
}

// Sorts the grid by its sort order; all its rows are in order afterwards.
void Resort(CTableCtrl& grid, int& inOrder)
{
    const std::vector<CSortKey> order = grid.GetSortOrder();
    grid.Sort(order);
    grid.Update(true);
    inOrder = AllRows(grid);
}

void MergeNew(CTableCtrl& grid, int& inOrder)
{
    const int rows = AllRows(grid);
    if (rows == inOrder)
        return;
    if (inOrder < rows)
        grid.MergeNewRows(inOrder, std::vector<CSortKey>(grid.GetSortOrder()));
    inOrder = rows;
    grid.Update(true);
}

} // namespace

CResultLists::CResultLists(CTableCtrl& players, CTableCtrl& servers, CTableCtrl& serverPlayers)
    : m_players(players), m_servers(servers), m_serverPlayers(serverPlayers),
      m_gameTypes(
          tr("0?\n1?\n2?\n3?\n4?\nMP - Objective\nSW - Stopwatch\nCP - Checkpoint\n8?\n9?\n")
              .toStdString(),
          0),
      m_locks(std::string_view{}, CPadlock::Strip()), m_countries(std::make_unique<CCountryFlags>())
{
    m_locks->AddEntry(1, tr("Password required").toStdString());
}

void CResultLists::DefineColumns(double scale)
{
    const CStringCol text(kStringFlags);
    const CIntCol number(kIntFlags);
    const CEnumCol gameType(m_gameTypes.Get(), kEnumMode, kEnumFlags);
    const CBoolCol rule(kBoolFlags, tr("yes").toStdString(), tr("no").toStdString(), true);
    const CEnumCol lock(m_locks.Get(), CEnumOut::ImageOnly);
    const CEnumCol country(m_countries->Enum().Get(), CEnumOut::ImageAndText);
    // Typical widest values: long player and server names (without their colour codes), a
    // connecting player's ping, a score below zero, a full large server, the longest game
    // type and map name of the stock maps.
    constexpr const char* kPlayer = "Lieutenant Blazkowicz";
    constexpr const char* kServer = "Wolfenstein Objective Server #1";
    constexpr const char* kPing = "999";
    constexpr const char* kScore = "-999";
    constexpr const char* kCount = "64/64";
    constexpr const char* kType = "CP - Checkpoint";
    constexpr const char* kMap = "mp_trenchtoast";
    const auto define = [scale](CTableCtrl& grid, int col, const CColDef& def, const char* title,
                                int pixels, const char* sample = "") {
        // The title in the user's language, measured as it is shown.
        const QByteArray shown = title ? tr(title).toUtf8() : QByteArray();
        grid.SetColumn(col, def, title ? shown.constData() : nullptr,
                       title ? CDefaultWidth(grid, scale)(pixels, shown.constData(), sample) : 0);
    };

    m_players.SetColumnCount(9);
    define(m_players, 8, number, nullptr, 0);
    define(m_players, 0, text, QT_TR_NOOP("Player"), 120, kPlayer);
    define(m_players, 3, number, QT_TR_NOOP("Frags"), 36, kScore);
    define(m_players, 2, number, QT_TR_NOOP("Ping"), 32, kPing);
    define(m_players, 4, text, QT_TR_NOOP("Server"), 120, kServer);
    define(m_players, 7, gameType, QT_TR_NOOP("Type"), 128, kType);
    define(m_players, 5, text, QT_TR_NOOP("Map"), 90, kMap);
    define(m_players, 1, number, QT_TR_NOOP("ServerPing"), 32, kPing);
    define(m_players, 6, text, QT_TR_NOOP("Players"), 44, kCount);
    m_players.CreateRowLayout();

    m_servers.SetColumnCount(15);
    define(m_servers, 12, number, nullptr, 0);
    define(m_servers, 0, text, QT_TR_NOOP("Server"), 120, kServer);
    define(m_servers, 4, number, QT_TR_NOOP("Ping"), 40, kPing);
    define(m_servers, 5, text, QT_TR_NOOP("Players"), 44, "64/64 (+4)");
    define(m_servers, 9, text, QT_TR_NOOP("Map"), 90, kMap);
    define(m_servers, 1, gameType, QT_TR_NOOP("Type"), 128, kType);
    define(m_servers, 2, text, QT_TR_NOOP("Mod"), 50, "http://www.rtcwpro.com");
    define(m_servers, 3, rule, QT_TR_NOOP("FF\nFriendly Fire"), 30, "yes");
    define(m_servers, 6, rule, QT_TR_NOOP("PB\nPunkbuster"), 30, "yes");
    define(m_servers, 10, number, QT_TR_NOOP("MaxLives"), 60, "1");
    define(m_servers, 11, text, QT_TR_NOOP("Ip"), 200, "255.255.255.255:65535");
    define(m_servers, kServerLockColumn, lock, QT_TR_NOOP("Pwd\nPassword required"), 34);
    define(m_servers, kServerCountryColumn, country, QT_TR_NOOP("Country"), 50, "WW");
    m_servers.SetColumn(7, number, tr("NumPlayers").toUtf8().constData(), 0);
    m_servers.SetColumn(8, number, tr("MaxPlayers").toUtf8().constData(), 0);
    m_servers.SetColumnVisible(7, false);
    m_servers.SetColumnVisible(8, false);
    m_servers.CreateRowLayout();
    // The lock is shown right after the name, the country after the lock; their data stay
    // in the last columns.
    m_servers.MoveColumn(kServerLockColumn, 1);
    m_servers.MoveColumn(kServerCountryColumn, 2);

    m_serverPlayers.SetColumnCount(3);
    define(m_serverPlayers, 0, text, QT_TR_NOOP("Player"), 120, kPlayer);
    define(m_serverPlayers, 1, number, QT_TR_NOOP("Ping"), 32, kPing);
    define(m_serverPlayers, 2, number, QT_TR_NOOP("Frags"), 36, kScore);
    m_serverPlayers.CreateRowLayout();
}

CResultLists::~CResultLists() = default;

void CResultLists::SetCountryLookup(std::unique_ptr<ICountryLookup> lookup)
{
    m_countryLookup = std::move(lookup);
}

void CResultLists::Clear()
{
    m_players.DeleteAllRows();
    m_servers.DeleteAllRows();
    m_serverPlayers.DeleteAllRows();
    // Every grid keeps the order the user chose, also across scans and restarts.
    m_players.Update(true);
    m_servers.Update(true);
    m_serverPlayers.Update(true);
    m_records.clear();
    ++m_generation;
    m_playersInOrder = m_serversInOrder = 0;
    m_playersArranged = false;
}

bool CResultLists::AddServer(const CServer& server, bool includeEmpty, bool includeFull)
{
    if (!PassesFilter(server, includeEmpty, includeFull) || !HasRows(server))
        return false;
    m_records.push_back(&server);
    const CNewRowsHidden hidden(m_players, m_servers, m_shown && !m_shown(server));
    const int handle = static_cast<int>(m_records.size());
    const std::string name = Shown(server.name);
    const std::string map = Shown(server.map);
    const std::string players = PlayersText(server);
    const int count = static_cast<int>(server.players.size());

    CRowData* row = m_servers.AddRow();
    row->GetCell(0)->Set(name);
    row->GetCell(1)->Set(static_cast<int>(server.gameType));
    row->GetCell(2)->Set(Shown(ModName(server.modUrl)));
    row->GetCell(3)->Set(server.friendlyFire);
    row->GetCell(4)->Set(static_cast<int>(server.ping));
    row->GetCell(5)->Set(WithPrivateSlots(players, server));
    row->GetCell(6)->Set(server.punkBuster);
    row->GetCell(7)->Set(count);
    row->GetCell(8)->Set(static_cast<int>(server.maxClients));
    row->GetCell(9)->Set(map);
    row->GetCell(10)->Set(static_cast<int>(server.maxLives));
    const std::string address = server.address.ToString();
    row->GetCell(11)->Set(address);
    row->GetCell(12)->Set(handle);
    row->GetCell(kServerLockColumn)->Set(server.needPass ? 1 : 0);
    row->GetCell(kServerCountryColumn)
        ->Set(m_countryLookup ? CCountryFlags::ValueOf(m_countryLookup->CountryOf(address)) : 0);

    // Last reply line first, as the lists have always shown an unsorted server.
    for (auto player = server.players.rbegin(); player != server.players.rend(); ++player) {
        CRowData* playerRow = m_players.AddRow();
        playerRow->GetCell(0)->Set(Shown(player->name));
        playerRow->GetCell(1)->Set(static_cast<int>(server.ping));
        playerRow->GetCell(2)->Set(static_cast<int>(player->ping));
        playerRow->GetCell(3)->Set(static_cast<int>(player->score));
        playerRow->GetCell(4)->Set(name);
        playerRow->GetCell(5)->Set(map);
        playerRow->GetCell(6)->Set(players);
        playerRow->GetCell(7)->Set(static_cast<int>(server.gameType));
        playerRow->GetCell(8)->Set(handle);
    }
    return true;
}

void CResultLists::KeepInOrder()
{
    MergeNew(m_players, m_playersInOrder);
    MergeNew(m_servers, m_serversInOrder);
}

void CResultLists::SortServers()
{
    Resort(m_servers, m_serversInOrder);
}

void CResultLists::SortPlayers()
{
    // A long list kept in order while the scan filled it needs no pass over all its rows.
    if (PlayersInOrder())
        m_players.Update(true);
    else
        Resort(m_players, m_playersInOrder);
    m_playersArranged = false;
}

bool CResultLists::PlayersInOrder() const
{
    return !m_playersArranged && m_playersInOrder == AllRows(m_players);
}

void CResultLists::ShowServerPlayers(int serverRow)
{
    const std::vector<CSortKey> order = m_serverPlayers.GetSortOrder();
    m_serverPlayers.DeleteAllRows();
    if (const CServer* server = ServerOfServerRow(serverRow)) {
        for (auto player = server->players.rbegin(); player != server->players.rend(); ++player) {
            CRowData* row = m_serverPlayers.AddRow();
            row->GetCell(0)->Set(Shown(player->name));
            row->GetCell(1)->Set(static_cast<int>(player->ping));
            row->GetCell(2)->Set(static_cast<int>(player->score));
        }
        m_serverPlayers.Sort(order);
    }
    m_serverPlayers.Update(true);
}

const CServer* CResultLists::Record(int handle) const
{
    if (handle < 1 || handle > static_cast<int>(m_records.size()))
        return nullptr;
    return m_records[static_cast<std::size_t>(handle - 1)];
}

int CResultLists::HandleOfPlayerRow(int row) const
{
    return m_players.IsValidRow(row) ? m_players.GetCell(row, kPlayerHandleColumn)->GetInt() : 0;
}

const CServer* CResultLists::ServerOfPlayerRow(int row) const
{
    return Record(HandleOfPlayerRow(row));
}

const CServer* CResultLists::ServerOfServerRow(int row) const
{
    if (!m_servers.IsValidRow(row))
        return nullptr;
    return Record(m_servers.GetCell(row, kServerHandleColumn)->GetInt());
}

int CResultLists::FindServerRow(int handle) const
{
    if (handle == 0)
        return -1;
    for (int row = 0; row < m_servers.GetRowCount(); ++row) {
        if (m_servers.GetCell(row, kServerHandleColumn)->GetInt() == handle)
            return row;
    }
    return -1;
}
