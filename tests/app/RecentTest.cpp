// The recent servers: remembered at each join, kept across restarts, scanned by "Query Recent".
#include "FakeGame.h"
#include "WindowFixture.h"

#include "app/JoinFlow.h"
#include "app/RecentServers.h"
#include "app/ScanBridge.h"
#include "tests/support/TestNetProcess.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using D = CMainDlg;

// Server n: address 10.0.0.n, joined on the n-th minute.
RecentServer At(int n)
{
    return {QStringLiteral("10.0.0.%1:27960").arg(n), QByteArray("^1S") + QByteArray::number(n),
            QDateTime(QDate(2026, 12, 1), QTime(0, 0), QTimeZone::utc()).addSecs(60 * n)};
}

std::vector<int> Range(int first, int last, std::vector<int> before = {})
{
    for (int n = first; n <= last; ++n)
        before.push_back(n);
    return before;
}

TEST(RecentTest, AJoinGoesOnTopOnceAndTheOldestFallOffAtFifty)
{
    struct Case
    {
        std::vector<int> before; // newest first
        int joined;
        std::vector<int> after;
    };
    for (const Case& c : {Case{{}, 1, {1}}, Case{{1, 2, 3}, 4, {4, 1, 2, 3}},
                          Case{{1, 2, 3}, 3, {3, 1, 2}}, Case{Range(1, 50), 99, Range(1, 49, {99})},
                          Case{Range(1, 50), 25, Range(26, 50, Range(1, 24, {25}))}}) {
        std::vector<RecentServer> servers;
        for (const int n : c.before)
            servers.push_back(At(n));
        RecentServer joined = At(c.joined);
        joined.time = joined.time.addDays(1);
        CRecentServers::Remember(servers, joined);
        std::vector<RecentServer> expected = {joined};
        for (const int n : std::vector<int>(c.after.begin() + 1, c.after.end()))
            expected.push_back(At(n));
        EXPECT_EQ(servers, expected) << c.joined;
    }
}

class RecentWindowTest : public CWindowFixture
{
protected:
    QString RecentPath() const { return m_dir.filePath(QStringLiteral("recent.dat")); }
};

TEST_F(RecentWindowTest, AJoinedServerIsListedByQueryRecentAfterARestart)
{
    CTestNetProcess net({"--count", "3", "--seed", "5"});
    const auto& first = net.Manifest()["servers"][0];
    ASSERT_EQ(first["behaviour"], "normal");
    const std::string address = "127.0.0.1:" + std::to_string(first["port"].get<int>());
    std::string name; // as the record holds it
    QTemporaryDir games;
    CFakeGame game(games);
    Set("RTCW", game.Path());
    UseNetwork(net, 1);
    {
        auto dialog = Open();
        ASSERT_TRUE(Scan(*dialog, D::IDC_QUERY_MASTER));
        Lattix::CTableCtrl& servers = dialog->ServerList();
        ASSERT_EQ(servers.GetRowCount(), 3);
        // No join yet: nothing to scan, the window says so, and the rows stay.
        Click(*dialog, D::IDC_QUERY_RECENT);
        EXPECT_EQ(StatusOf(*dialog), "No server has been joined yet.");
        EXPECT_FALSE(dialog->Bridge().IsRunning());
        ASSERT_EQ(servers.GetRowCount(), 3);
        const int row = RowOf(servers, address);
        ASSERT_LT(row, 3);
        servers.SelectRow(row);
        name = dialog->Lists().ServerOfServerRow(row)->name;
        ASSERT_FALSE(name.empty());
        // The game starts and the window closes (AutoClose).
        Click(*dialog, D::IDC_JOIN);
        ASSERT_FALSE(game.WaitForStart().isEmpty());
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_TRUE(CPrompts::Shown().isEmpty());
    }
    auto dialog = Open();
    ASSERT_TRUE(Scan(*dialog, D::IDC_QUERY_RECENT));
    Lattix::CTableCtrl& servers = dialog->ServerList();
    ASSERT_EQ(servers.GetRowCount(), 1);
    EXPECT_EQ(servers.GetCellText(0, CResultLists::kServerAddressColumn), address);
    // The file keeps the name's bytes in the game's code page, as the record holds them.
    const CRecentServers::Content recent = CRecentServers(RecentPath()).Load();
    ASSERT_EQ(recent.servers.size(), 1u);
    EXPECT_EQ(recent.servers[0].name.toStdString(), name);
    EXPECT_LE(recent.servers[0].time.secsTo(QDateTime::currentDateTimeUtc()), 60);

    // A list that cannot be saved is said, the game still starts; an unreadable one is not scanned.
    Set("AutoClose", 0);
    dialog->Joining().ReadOptions();
    ASSERT_TRUE(QFile::remove(RecentPath()));
    ASSERT_EQ(mkfifo(QFile::encodeName(RecentPath()).constData(), 0600), 0);
    servers.SelectRow(0);
    dialog->JoinServer();
    EXPECT_FALSE(game.WaitForStart().isEmpty());
    ASSERT_EQ(CPrompts::Shown().size(), 1);
    EXPECT_TRUE(CPrompts::Shown()[0].startsWith("Cannot save the recent servers to " +
                                                QDir::toNativeSeparators(RecentPath())))
        << CPrompts::Shown()[0].toStdString();
    Click(*dialog, D::IDC_QUERY_RECENT);
    ASSERT_EQ(CPrompts::Shown().size(), 2);
    EXPECT_TRUE(CPrompts::Shown()[1].startsWith("Cannot read the recent servers file"));
    EXPECT_EQ(servers.GetRowCount(), 1);

    // A scan of no servers (an empty favorites file) ends at once, with empty lists.
    WriteFavorites({});
    ASSERT_TRUE(Scan(*dialog, D::IDC_QUERY_FAVORITES));
    EXPECT_EQ(servers.GetRowCount(), 0);
}

} // namespace
