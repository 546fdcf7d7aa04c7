// Refresh, "Refresh all" and the background requery through the real main window.
#include "WindowFixture.h"

#include "app/OptionsDlg.h"
#include "app/RefreshCommands.h"
#include "app/ScanBridge.h"
#include "app/ServerRefresh.h"
#include "lattix/model/CellData.h"
#include "query/Server.h"

#include <QApplication>
#include <QCheckBox>

#include <set>

namespace {

using D = CMainDlg;

class RefreshTest : public CWindowFixture
{
protected:
    static bool WaitForRefresh(CMainDlg& dialog)
    {
        QSignalSpy ended(&dialog.Refresh().Refresher(), &CServerRefresh::Ended);
        return ended.wait(10000);
    }
    static std::multiset<int> Scores(const nlohmann::json& server)
    {
        std::multiset<int> scores;
        for (const auto& player : server["players"])
            scores.insert(player["score"].get<int>());
        return scores;
    }

    qint64 m_now = 1'000'000;
};

TEST_F(RefreshTest, RefreshAskTheSelectedOrAllServersAgainAndUpdateTheRowsInPlace)
{
    auto first =
        std::make_unique<CTestNetProcess>(std::vector<std::string>{"--count", "6", "--seed", "21"});
    const nlohmann::json before = first->Manifest()["servers"][2];
    const QString address = AddressOf(before);
    // The network's servers, scanned as favorites on the test's clock; no master answers.
    QByteArray favorites;
    for (const auto& server : first->Manifest()["servers"])
        favorites += QStringLiteral("%1\tS\t\r\n").arg(AddressOf(server)).toLatin1();
    WriteFavorites(favorites);
    UseNetwork(*first, 0);
    Set("Master", QStringLiteral("127.0.0.1:1"));
    Set("AutoRequery", 1);
    MainDlgOptions timed;
    timed.clock = [this] { return m_now; };
    timed.requeryPollMs = 0;
    auto dialog = Open(timed);
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    ASSERT_TRUE(Scan(*dialog, D::IDC_QUERY_FAVORITES));
    Lattix::CTableCtrl& players = dialog->PlayerList();
    const int rows = players.GetRowCount();
    ASSERT_GT(rows, 0);

    // "Refresh all" scans the same servers again, not the master's (where nothing answers).
    QSignalSpy finished(dialog.get(), &CMainDlg::ScanFinished);
    PickFromMenu(players, 0, "Refresh all\tShift+F5");
    EXPECT_TRUE(dialog->Bridge().IsRunning());
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(players.GetRowCount(), rows);
    EXPECT_TRUE(CPrompts::Shown().isEmpty());

    // The server of the selected player is asked again every 30 s.
    ClickRow(players, 0);
    const CSockAddr server = dialog->Lists().ServerOfPlayerRow(0)->address;
    const std::string name = players.GetCellText(0, 0);
    CRefreshCommands& refresh = dialog->Refresh();
    m_now += 29'999;
    EXPECT_EQ(refresh.Poll(), 0);
    m_now += 1;
    EXPECT_EQ(refresh.Poll(), 1);
    ASSERT_TRUE(WaitForRefresh(*dialog));
    EXPECT_EQ(StatusOf(*dialog), "Refreshed " + QString::fromStdString(server.ToString()) + ".");
    ASSERT_EQ(players.GetMarkedCount(), 1);
    EXPECT_EQ(players.GetCellText(players.GetSelectedRow(), 0), name);
    EXPECT_EQ(dialog->Lists().ServerOfPlayerRow(players.GetSelectedRow())->address, server);
    // F5 in between: the background requery that falls due 5 s later leaves it out.
    m_now += 25'000;
    EXPECT_EQ(refresh.RefreshSelected(), 1);
    ASSERT_TRUE(WaitForRefresh(*dialog));
    m_now += 5'000;
    EXPECT_EQ(refresh.Poll(), 0);
    // Not while the window is hidden; once it is shown again.
    m_now += 30'000;
    dialog->hide();
    EXPECT_EQ(refresh.Poll(), 0);
    dialog->show();
    EXPECT_EQ(refresh.Poll(), 1);
    ASSERT_TRUE(WaitForRefresh(*dialog));

    // With players of two servers selected, F5 asks the cursor row's server first.
    m_now += 10'000;
    int other = 0;
    while (other < players.GetRowCount() &&
           dialog->Lists().ServerOfPlayerRow(other)->address == server)
        ++other;
    ASSERT_LT(other, players.GetRowCount());
    const CSockAddr cursorServer = dialog->Lists().ServerOfPlayerRow(other)->address;
    ClickRow(players, other, Qt::ControlModifier);
    ASSERT_EQ(players.GetMarkedCount(), 2);
    EXPECT_EQ(refresh.RefreshSelected(), 1);
    EXPECT_EQ(StatusOf(*dialog),
              "Refreshing " + QString::fromStdString(cursorServer.ToString()) + " \u2026");
    ASSERT_TRUE(WaitForRefresh(*dialog));
    EXPECT_EQ(StatusOf(*dialog),
              "Refreshing " + QString::fromStdString(server.ToString()) + " \u2026");
    ASSERT_TRUE(WaitForRefresh(*dialog));
    EXPECT_EQ(StatusOf(*dialog), "Refreshed " + QString::fromStdString(server.ToString()) + ".");
    EXPECT_EQ(players.GetMarkedCount(), 2);

    // The options switch it off.
    COptionsDlg options(dialog->Settings());
    auto* box = qobject_cast<QCheckBox*>(FindControl(&options, COptionsDlg::IDC_AUTO_REQUERY));
    ASSERT_TRUE(box->isEnabled() && box->isChecked());
    box->setChecked(false);
    options.accept();
    refresh.ReadOptions();
    m_now += 60'000;
    EXPECT_EQ(refresh.Poll(), 0);

    // A new window on the server list, with no player under the cursor: F5 on a server that
    // went away keeps its row as it was.
    dialog.reset();
    Set("LastView", 1);
    dialog = Open(timed);
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    ASSERT_TRUE(Scan(*dialog, D::IDC_QUERY_FAVORITES));
    Lattix::CTableCtrl& all = dialog->PlayerList();
    Lattix::CTableCtrl& servers = dialog->ServerList();
    Lattix::CTableCtrl& pane = dialog->ServerPlayerList();
    ClickRow(servers, RowOf(servers, address));
    ASSERT_EQ(servers.GetSelectedRow(), RowOf(servers, address));
    const std::string oldName = servers.GetCellText(servers.GetSelectedRow(), 0);
    const int otherPlayers = all.GetRowCount() - static_cast<int>(before["players"].size());
    QWidget* focus = QApplication::focusWidget();
    first.reset();
    QTest::keyClick(focus, Qt::Key_F5);
    ASSERT_TRUE(dialog->Bridge().IsRefreshing());
    ASSERT_TRUE(WaitForRefresh(*dialog));
    EXPECT_EQ(StatusOf(*dialog), address + " did not answer; its row shows what it said before.");
    EXPECT_EQ(servers.GetCellText(RowOf(servers, address), 0), oldName);
    EXPECT_EQ(servers.GetSelectedRow(), RowOf(servers, address));
    EXPECT_EQ(QApplication::focusWidget(), focus);
    // F5 again at once asks nobody: no server is asked twice in 10 s.
    m_now += 9'999;
    QTest::keyClick(focus, Qt::Key_F5);
    EXPECT_FALSE(dialog->Bridge().IsRefreshing());
    EXPECT_TRUE(StatusOf(*dialog).startsWith(address + " was asked less than 10 seconds ago"));

    // "Refresh" on the pane's row menu shows another server at the address in place, in order.
    m_now += 1;
    CTestNetProcess second({"--count", "1", "--seed", "22", "--first-port",
                            std::to_string(before["port"].get<int>())});
    const nlohmann::json after = second.Manifest()["servers"][0];
    ASSERT_NE(Scores(after), Scores(before));
    PickFromMenu(pane, 0, "Refresh\tF5");
    ASSERT_TRUE(WaitForRefresh(*dialog));
    EXPECT_EQ(StatusOf(*dialog), "Refreshed " + address + ".");
    const int row = RowOf(servers, address);
    EXPECT_NE(servers.GetCellText(row, 0), oldName);
    EXPECT_EQ(servers.GetCell(row, 7)->GetInt(), static_cast<int>(after["players"].size()));
    EXPECT_EQ(servers.GetCell(row, 8)->GetInt(), after["max_clients"].get<int>());
    EXPECT_EQ(servers.GetSelectedRow(), row);
    EXPECT_EQ(servers.GetMarkedCount(), 1);
    EXPECT_EQ(servers.GetCursor().GetRow(), row);
    std::multiset<int> shown;
    for (int player = 0; player < pane.GetRowCount(); ++player)
        shown.insert(pane.GetCell(player, 2)->GetInt());
    EXPECT_EQ(shown, Scores(after));
    EXPECT_EQ(all.GetRowCount(), otherPlayers + static_cast<int>(after["players"].size()));
    EXPECT_EQ(Get<QLabel>(*dialog, D::IDC_PLAYER_COUNT)->text().toInt(), all.GetRowCount());
    EXPECT_EQ(FirstOutOfOrder(servers), -1);
    EXPECT_EQ(FirstOutOfOrder(all), -1);
    EXPECT_EQ(FirstOutOfOrder(pane), -1);
}

} // namespace
