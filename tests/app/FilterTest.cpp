// The filter bar: its rules on server records, and a user's path through the real window.
#include "WindowFixture.h"

#include "app/FilterBar.h"
#include "app/ServerFilter.h"
#include "lattix/model/CellData.h"
#include "query/Server.h"

#include <QCheckBox>
#include <QLineEdit>

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
};

TEST_F(FilterTest, TheUserNarrowsTheListsAsTheyTypeAndTheFilterIsKept)
{
    CTestNetProcess net({"--count", "30", "--seed", "5"});
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
}

} // namespace
