// The filter bar: its rules on server records, and a user's path through the real window
// against the local test network.
#include "app/FilterBar.h"
#include "app/MainDlg.h"
#include "app/Prompts.h"
#include "app/ResultLists.h"
#include "app/ServerFilter.h"
#include "lattix/model/CellData.h"
#include "panlo/ControlId.h"
#include "query/Server.h"
#include "tests/support/TestNetProcess.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

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
    const CServer fragland = Server("Fragland \xC4rger #2", "mp_beach", "", 3, 16);
    CServer osp = Server("Clan Base", "mp_ice", "http://www.orangesmoothie.org", 0, 12);
    osp.punkBuster = true;
    osp.needPass = true;
    osp.gameType = 6;
    CServer full = Server("Full House", "te_frostbite", "http://www.rtcwpro.com", 12, 12);
    full.ping = 200;
    const auto rules = [](QString text) {
        ServerFilterRules r;
        r.text = std::move(text);
        return r;
    };
    struct Case
    {
        const char* what;
        ServerFilterRules rules;
        bool frag, osp, full;
    };
    ServerFilterRules r;
    const std::vector<Case> cases = {
        {"nothing", {}, true, true, true},
        {"name, any case, anywhere", rules("LAND"), true, false, false},
        {"map", rules("Beach"), true, false, false},
        {"mod name as listed", rules("osp"), false, true, false},
        {"mod URL", rules("RTCWPRO"), false, false, true},
        {"colour codes typed", rules("Fr^1ag^7land"), true, false, false},
        {"code page letters", rules(QStringLiteral("\u00E4rger")), true, false, false},
        {"not in the code page", rules(QStringLiteral("\u4E00")), false, false, false},
        {"no match", rules("zzz"), false, false, false},
        {"hide empty", (r = {}, r.hideEmpty = true, r), true, false, true},
        {"hide full", (r = {}, r.hideFull = true, r), true, true, false},
        {"hide passworded", (r = {}, r.hidePassworded = true, r), true, false, true},
        {"PunkBuster on", (r = {}, r.punkBuster = ServerFilterRules::kPunkBusterOn, r), false, true,
         false},
        {"PunkBuster off", (r = {}, r.punkBuster = ServerFilterRules::kPunkBusterOff, r), true,
         false, true},
        {"game type", (r = {}, r.gameType = 6, r), false, true, false},
        {"mod", (r = {}, r.mod = "OSP", r), false, true, false},
        {"max ping", (r = {}, r.maxPing = 150, r), true, true, false},
        {"all together", (r = rules("a"), r.hideEmpty = true, r.maxPing = 100, r), true, false,
         false},
    };
    for (const Case& c : cases) {
        const CServerFilter filter(c.rules);
        EXPECT_EQ(filter.Passes(fragland), c.frag) << c.what;
        EXPECT_EQ(filter.Passes(osp), c.osp) << c.what;
        EXPECT_EQ(filter.Passes(full), c.full) << c.what;
        EXPECT_EQ(c.rules.HidesNothing(), c.frag && c.osp && c.full && c.rules.text.isEmpty())
            << c.what;
    }
}

class FilterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Farsighter RTCW").clear();
        CPrompts::Reset();
    }
    static void Set(const QString& name, const QVariant& value)
    {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Farsighter RTCW")
            .setValue(name, value);
    }
    template <typename T>
    static T* Get(const CMainDlg& dialog, int id)
    {
        return qobject_cast<T*>(dialog.Control(id));
    }
    static std::unique_ptr<CMainDlg> OpenAndScan()
    {
        auto dialog = std::make_unique<CMainDlg>();
        dialog->show();
        QSignalSpy finished(dialog.get(), &CMainDlg::ScanFinished);
        QTest::mouseClick(Get<QPushButton>(*dialog, D::IDC_QUERY_MASTER), Qt::LeftButton);
        EXPECT_TRUE(finished.wait(30000));
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
    Set("Master", QString::fromStdString(net.MasterAddress()));
    Set("Speed", 5);
    Set("IncludeEmptyServers", 1);
    Set("LastView", 1);
    auto dialog = OpenAndScan();
    Lattix::CTableCtrl& servers = dialog->ServerList();
    int allPlayers = 0;
    const int all = static_cast<int>(Shown(*dialog, &allPlayers).size());
    ASSERT_GT(all, 10);
    ExpectListsAgree(*dialog, all, allPlayers);

    // The user picks a busy server and types part of its map, in other letters and with a
    // colour code: the lists narrow with every key.
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
    auto* text = Get<QLineEdit>(*dialog, D::IDC_FILTER_TEXT);
    text->setFocus();
    std::set<std::string> expected;
    for (int row = 0; row < servers.GetRowCount(); ++row) {
        for (const int col : {0, 2, 9}) {
            if (QString::fromStdString(servers.GetCellText(row, col))
                    .contains(map, Qt::CaseInsensitive))
                expected.insert(Address(servers, row));
        }
    }
    QTest::keyClicks(text, typed);
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
