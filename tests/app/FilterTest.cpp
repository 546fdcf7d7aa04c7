// The filter bar and the friends: the filter's rules on server records, and a user's path
// through the real window.
#include "WindowFixture.h"

#include "app/DesktopNotifier.h"
#include "app/FilterBar.h"
#include "app/FriendList.h"
#include "app/FriendWatch.h"
#include "app/FriendsDlg.h"
#include "app/FriendsFile.h"
#include "app/ServerFilter.h"
#include "lattix/model/CellData.h"
#include "query/Server.h"
#include "velk/HyperLink.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <functional>
#include <set>
#include <tuple>

namespace {

using D = CMainDlg;

CServer Server(std::string name, std::string map, std::string modUrl, int players, int maxClients)
{
    CServer server;
    server.name = std::move(name);
    server.map = std::move(map);
    server.modUrl = std::move(modUrl);
    server.players.resize(static_cast<std::size_t>(players));
    server.maxClients = maxClients;
    server.gameType = 5;
    server.ping = 80;
    return server;
}

TEST(ServerFilterTest, MatchesTextAnywhereAndEveryRule)
{
    CServer servers[3] = {Server("Fragland \xC4rger #2", "mp_beach", "", 3, 16),
                          Server("Clan Base", "mp_ice", "http://www.orangesmoothie.org", 0, 12),
                          Server("Full House", "te_frostbite", "http://www.rtcwpro.com", 12, 12)};
    servers[1].punkBuster = servers[1].needPass = true;
    servers[1].gameType = 6;
    servers[2].ping = 200;
    using R = ServerFilterRules;
    // (what, rules, which of the three pass)
    const std::vector<std::tuple<const char*, std::function<void(R&)>, const char*>> cases = {
        {"nothing", [](R&) {}, "111"},
        {"name, any case, anywhere", [](R& r) { r.text = "LAND"; }, "100"},
        {"map", [](R& r) { r.text = "Beach"; }, "100"},
        {"mod name as listed", [](R& r) { r.text = "osp"; }, "010"},
        {"mod URL", [](R& r) { r.text = "RTCWPRO"; }, "001"},
        {"colour codes typed", [](R& r) { r.text = "Fr^1ag^7land"; }, "100"},
        {"code page letters", [](R& r) { r.text = QStringLiteral("\u00E4rger"); }, "100"},
        {"not in the code page", [](R& r) { r.text = QStringLiteral("\u4E00"); }, "000"},
        {"hide empty", [](R& r) { r.hideEmpty = true; }, "101"},
        {"hide full", [](R& r) { r.hideFull = true; }, "110"},
        {"hide passworded", [](R& r) { r.hidePassworded = true; }, "101"},
        {"PunkBuster on", [](R& r) { r.punkBuster = R::kPunkBusterOn; }, "010"},
        {"PunkBuster off", [](R& r) { r.punkBuster = R::kPunkBusterOff; }, "101"},
        {"game type", [](R& r) { r.gameType = 6; }, "010"},
        {"mod", [](R& r) { r.mod = "OSP"; }, "010"},
        {"max ping", [](R& r) { r.maxPing = 150; }, "110"},
        {"all together", [](R& r) { r.text = "a", r.hideEmpty = true, r.maxPing = 100; }, "100"},
    };
    for (const auto& [what, set, passing] : cases) {
        R rules;
        set(rules);
        const CServerFilter filter(rules);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(filter.Passes(servers[i]), passing[i] == '1') << what << " " << i;
    }
}

// Records every notification instead of showing it.
class RecordingNotifier : public IDesktopNotifier
{
public:
    struct Call
    {
        QString summary;
        QString body;
        std::function<void()> click;
    };
    void Notify(const QString& summary, const QString& body, std::function<void()> click) override
    {
        calls.push_back({summary, body, std::move(click)});
    }
    std::vector<Call> calls;
};

class FilterTest : public CWindowFixture
{
protected:
    std::unique_ptr<CMainDlg> OpenAndScan()
    {
        auto dialog = Open();
        EXPECT_TRUE(Scan(*dialog, D::IDC_QUERY_MASTER));
        return dialog;
    }
    static std::string Address(const Lattix::CTableCtrl& servers, int row)
    {
        return servers.GetCellText(row, CResultLists::kServerAddressColumn);
    }
    // The addresses of the shown server rows, and the players that they hold.
    static std::set<std::string> Shown(const CMainDlg& dialog, int* players = nullptr)
    {
        auto& servers = const_cast<CMainDlg&>(dialog).ServerList();
        std::set<std::string> shown;
        int count = 0;
        for (int row = 0; row < servers.GetRowCount(); ++row) {
            shown.insert(Address(servers, row));
            count += servers.GetCell(row, 7)->GetInt();
        }
        if (players)
            *players = count;
        return shown;
    }
    // Every player row belongs to a shown server, and the counters say "shown / listed".
    static void ExpectListsAgree(CMainDlg& dialog, int listedServers, int listedPlayers)
    {
        int players = 0;
        const std::set<std::string> shown = Shown(dialog, &players);
        Lattix::CTableCtrl& list = dialog.PlayerList();
        EXPECT_EQ(list.GetRowCount(), players);
        for (int row = 0; row < list.GetRowCount(); ++row) {
            const CServer* server = dialog.Lists().ServerOfPlayerRow(row);
            ASSERT_NE(server, nullptr);
            ASSERT_TRUE(shown.count(server->address.ToString())) << row;
        }
        const auto counter = [](int part, int all) {
            return part == all ? QString::number(all)
                               : QStringLiteral("%1 / %2").arg(part).arg(all);
        };
        EXPECT_EQ(Get<QLabel>(dialog, D::IDC_SERVER_COUNT)->text(),
                  counter(static_cast<int>(shown.size()), listedServers));
        EXPECT_EQ(Get<QLabel>(dialog, D::IDC_PLAYER_COUNT)->text(),
                  counter(players, listedPlayers));
    }
    static std::set<int> MarkedRows(const Lattix::CTableCtrl& grid)
    {
        std::set<int> rows;
        for (int row = 0; row < grid.GetRowCount(); ++row) {
            if (grid.GetDrawState().IsRowEmphasized(row))
                rows.insert(row);
        }
        return rows;
    }
    RecordingNotifier m_notifier;
};

TEST_F(FilterTest, TheUserNarrowsTheListsAsTheyTypeTheFilterIsKeptAndFriendsAreFound)
{
    CTestNetProcess net({"--count", "15", "--seed", "6"});
    UseNetwork(net, 1);
    auto dialog = OpenAndScan();
    Lattix::CTableCtrl& servers = dialog->ServerList();
    int allPlayers = 0;
    const int all = static_cast<int>(Shown(*dialog, &allPlayers).size());
    ASSERT_GT(all, 10);
    ExpectListsAgree(*dialog, all, allPlayers);

    // Part of a busy server's map, in other letters and with a colour code, narrows the lists.
    int pick = 0;
    while (pick < servers.GetRowCount() && servers.GetCell(pick, 7)->GetInt() == 0)
        ++pick;
    ASSERT_LT(pick, servers.GetRowCount());
    const std::string picked = Address(servers, pick);
    servers.SelectRow(pick);
    dialog->Lists().ShowServerPlayers(pick);
    const int pickedPlayers = dialog->ServerPlayerList().GetRowCount();
    const QString map = QString::fromStdString(servers.GetCellText(pick, 9)).mid(3);
    const QString typed = map.left(2).toUpper() + "^3" + map.mid(2);
    std::set<std::string> expected;
    for (int row = 0; row < servers.GetRowCount(); ++row) {
        for (const int col : {0, 2, 9}) {
            if (QString::fromStdString(servers.GetCellText(row, col))
                    .contains(map, Qt::CaseInsensitive))
                expected.insert(Address(servers, row));
        }
    }
    QTest::keyClicks(Get<QLineEdit>(*dialog, D::IDC_FILTER_TEXT), typed);
    EXPECT_EQ(Shown(*dialog), expected);
    ASSERT_LT(expected.size(), static_cast<std::size_t>(all));
    ExpectListsAgree(*dialog, all, allPlayers);
    ASSERT_GE(servers.GetSelectedRow(), 0);
    EXPECT_EQ(Address(servers, servers.GetSelectedRow()), picked);
    EXPECT_EQ(dialog->ServerPlayerList().GetRowCount(), pickedPlayers);

    // "Hide empty" takes the empty ones out too; the busy server stays selected.
    for (int row = 0; row < servers.GetRowCount(); ++row) {
        if (servers.GetCell(row, 7)->GetInt() == 0)
            expected.erase(Address(servers, row));
    }
    QTest::mouseClick(Get<QCheckBox>(*dialog, D::IDC_HIDE_EMPTY), Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(Shown(*dialog), expected);
    ExpectListsAgree(*dialog, all, allPlayers);
    EXPECT_EQ(Address(servers, servers.GetSelectedRow()), picked);

    // Kept across a restart of the window, and applied to the rows of the next scan.
    dialog->reject();
    dialog = OpenAndScan();
    EXPECT_EQ(Get<QLineEdit>(*dialog, D::IDC_FILTER_TEXT)->text(), typed);
    EXPECT_TRUE(Get<QCheckBox>(*dialog, D::IDC_HIDE_EMPTY)->isChecked());
    EXPECT_EQ(Shown(*dialog), expected);
    ExpectListsAgree(*dialog, all, allPlayers);

    // A text that no server has leaves nothing, and the selected server's players go.
    Lattix::CTableCtrl& list = dialog->ServerList();
    list.SelectRow(0);
    dialog->Lists().ShowServerPlayers(0);
    QTest::keyClicks(Get<QLineEdit>(*dialog, D::IDC_FILTER_TEXT), "zzz");
    EXPECT_EQ(list.GetRowCount(), 0);
    EXPECT_EQ(dialog->ServerPlayerList().GetRowCount(), 0);
    ExpectListsAgree(*dialog, all, allPlayers);

    // "Clear" shows everything again.
    QTest::mouseClick(Get<QPushButton>(*dialog, D::IDC_FILTER_CLEAR), Qt::LeftButton);
    EXPECT_EQ(Get<QLineEdit>(*dialog, D::IDC_FILTER_TEXT)->text(), "");
    EXPECT_FALSE(Get<QCheckBox>(*dialog, D::IDC_HIDE_EMPTY)->isChecked());
    EXPECT_EQ(static_cast<int>(Shown(*dialog).size()), all);
    ExpectListsAgree(*dialog, all, allPlayers);

    // Friends: two players of two servers whose names are nowhere else, as the servers send them.
    struct Pick
    {
        QString raw;
        std::string address;
    };
    std::vector<Pick> picks;
    std::multiset<QString> names;
    for (const auto& server : net.Manifest()["servers"]) {
        for (const auto& player : server.value("players", nlohmann::json::array()))
            names.insert(
                CFriendList::WithoutColourCodes(QString::fromStdString(player["name"])).toLower());
    }
    for (const auto& server : net.Manifest()["servers"]) {
        for (const auto& player : server.value("players", nlohmann::json::array())) {
            const QString raw = QString::fromStdString(player["name"]);
            const QString plain = CFriendList::WithoutColourCodes(raw);
            if (picks.size() < 2 && !plain.isEmpty() && names.count(plain.toLower()) == 1) {
                picks.push_back({raw, "127.0.0.1:" + std::to_string(server["port"].get<int>())});
                break;
            }
        }
    }
    ASSERT_EQ(picks.size(), 2u);
    const QString nameA = CFriendList::WithoutColourCodes(picks[0].raw);
    const QString nameB = CFriendList::WithoutColourCodes(picks[1].raw);
    // The first as the server sends it, with its colour codes; the second in capitals.
    const QString path = m_dir.filePath("friends.txt");
    ASSERT_TRUE(CFriendsFile(path).Save({picks[0].raw, nameB.toUpper()}));

    MainDlgOptions options;
    options.startupQuery = 2;
    options.notifier = &m_notifier;
    dialog->reject();
    Set("LastView", 0);
    dialog = Open(options);
    ASSERT_TRUE(ScanEnds(*dialog));
    Lattix::CTableCtrl& serverList = dialog->ServerList();
    Lattix::CTableCtrl& playerList = dialog->PlayerList();
    const int rowA = RowOf(serverList, picks[0].address);
    const int rowB = RowOf(serverList, picks[1].address);
    ASSERT_LT(std::max(rowA, rowB), serverList.GetRowCount());

    // One notification names both, each with their server.
    ASSERT_EQ(m_notifier.calls.size(), 1u);
    EXPECT_EQ(m_notifier.calls[0].summary, "2 friends are playing");
    const auto on = [&](const QString& name, int row) {
        return name + " on " +
               QString::fromStdString(serverList.GetCellText(row, CResultLists::kServerNameColumn));
    };
    const QStringList body = m_notifier.calls[0].body.split('\n');
    EXPECT_EQ(std::set<QString>(body.begin(), body.end()),
              std::set<QString>({on(nameA, rowA), on(nameB, rowB)}));
    // Their rows stand out in the players, the servers and the players of a server.
    auto* count = qobject_cast<CHyperLink*>(dialog->Control(CMainDlg::IDC_FRIENDS));
    EXPECT_EQ(count->text(), "Friends: 2");
    EXPECT_EQ(MarkedRows(serverList), std::set<int>({rowA, rowB}));
    std::set<int> friendRows;
    int other = -1;
    for (int row = 0; row < playerList.GetRowCount(); ++row) {
        const QString name = QString::fromStdString(playerList.GetCellText(row, 0));
        if (name == nameA || name == nameB)
            friendRows.insert(row);
        else if (other < 0 && !name.isEmpty() &&
                 dialog->Lists().ServerOfPlayerRow(row)->address.ToString() == picks[0].address)
            other = row;
    }
    EXPECT_EQ(MarkedRows(playerList), friendRows);
    ASSERT_EQ(friendRows.size(), 2u);
    ASSERT_GE(other, 0);

    // A click on the notification selects the first server it names, in the server list.
    const int first = std::min(rowA, rowB);
    m_notifier.calls[0].click();
    EXPECT_EQ(dialog->CurrentView(), 1);
    EXPECT_EQ(serverList.GetSelectedRow(), first);
    Lattix::CTableCtrl& serverPlayers = dialog->ServerPlayerList();
    EXPECT_EQ(MarkedRows(serverPlayers).size(), 1u);

    // A fellow player made a friend from the row menu: marked, counted, saved, but no news.
    const QString fellow = QString::fromStdString(playerList.GetCellText(other, 0));
    const QStringList offered = PickFromMenu(playerList, other, "Add to friends").enabled;
    EXPECT_TRUE(offered.contains("Add to friends") && !offered.contains("Remove from friends"));
    EXPECT_EQ(CFriendsFile(path).Load().friends,
              QStringList({picks[0].raw, nameB.toUpper(), fellow}));
    EXPECT_TRUE(playerList.GetDrawState().IsRowEmphasized(other));
    EXPECT_EQ(count->text(), "Friends: 3");
    EXPECT_EQ(m_notifier.calls.size(), 1u);

    // The next scan finds every friend where they were: nothing new to tell.
    dialog->QueryMaster();
    ASSERT_TRUE(ScanEnds(*dialog));
    EXPECT_EQ(m_notifier.calls.size(), 1u);
    EXPECT_EQ(count->text(), "Friends: 3");
    // Nor after a scan of the favorites without the first friend's server.
    WriteFavorites(QByteArray::fromStdString(picks[1].address + "\tB\t\r\n"));
    dialog->QueryFavorites();
    ASSERT_TRUE(ScanEnds(*dialog));
    EXPECT_EQ(serverList.GetRowCount(), 1);
    dialog->QueryMaster();
    ASSERT_TRUE(ScanEnds(*dialog));
    EXPECT_EQ(m_notifier.calls.size(), 1u);

    // Removed from a server's players: while the file cannot be written, said, and kept.
    const int serverRow = RowOf(serverList, picks[0].address);
    dialog->Lists().ShowServerPlayers(serverRow);
    const int fellowRow = RowOf(serverPlayers, fellow, 0);
    ASSERT_LT(fellowRow, serverPlayers.GetRowCount());
    ASSERT_TRUE(QFile::remove(path) && QDir().mkdir(path));
    const QStringList offeredThere =
        PickFromMenu(serverPlayers, fellowRow, "Remove from friends").enabled;
    EXPECT_TRUE(offeredThere.contains("Remove from friends") &&
                !offeredThere.contains("Add to friends"));
    ASSERT_EQ(CPrompts::Shown().size(), 1u);
    EXPECT_TRUE(CPrompts::Shown()[0].startsWith("Cannot write the friends file"));
    EXPECT_TRUE(dialog->Friends().Friends().Matches(fellow));
    ASSERT_TRUE(QDir().rmdir(path));
    PickFromMenu(serverPlayers, fellowRow, "Remove from friends");
    EXPECT_FALSE(dialog->Friends().Friends().Matches(fellow));
    EXPECT_EQ(CFriendsFile(path).Load().friends.size(), 2);
    EXPECT_EQ(count->text(), "Friends: 2");

    // In the dialog behind the count, a pattern that still finds the first friend: no news.
    const QString pattern = nameA.left(nameA.size() - 1) + "*";
    QTimer::singleShot(0, [&] {
        auto* friendsDlg = qobject_cast<CFriendsDlg*>(QApplication::activeModalWidget());
        ASSERT_TRUE(friendsDlg);
        friendsDlg->List().item(0)->setSelected(true);
        friendsDlg->RemoveSelected();
        QTest::keyClicks(&friendsDlg->NameField(), pattern);
        QTest::keyClick(&friendsDlg->NameField(), Qt::Key_Return);
        friendsDlg->accept();
    });
    QTest::mouseClick(count, Qt::LeftButton);
    EXPECT_EQ(CFriendsFile(path).Load().friends, QStringList({nameB.toUpper(), pattern}));
    EXPECT_TRUE(serverList.GetDrawState().IsRowEmphasized(RowOf(serverList, picks[0].address)));
    EXPECT_EQ(m_notifier.calls.size(), 1u);
}
} // namespace
