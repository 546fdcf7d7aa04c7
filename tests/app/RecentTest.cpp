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
#include <QLabel>
#include <QTimeZone>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using D = CMainDlg;

RecentServer At(int number, int minute = 0)
{
    return {QStringLiteral("10.0.0.%1:27960").arg(number),
            QByteArray("^1S") + QByteArray::number(number),
            QDateTime(QDate(2026, 12, 1), QTime(20, minute), QTimeZone::utc())};
}

std::vector<QString> Addresses(const std::vector<RecentServer>& servers)
{
    std::vector<QString> addresses;
    for (const RecentServer& server : servers)
        addresses.push_back(server.address);
    return addresses;
}

TEST(RecentTest, AJoinGoesOnTopOnceAndTheOldestFallOffAtFifty)
{
    struct Case
    {
        std::vector<int> before; // addresses by number, newest first
        int joined;
        std::vector<int> after;
    };
    std::vector<int> fifty;
    for (int i = 1; i <= 50; ++i)
        fifty.push_back(i);
    std::vector<int> fiftyAfterNew = {99};
    fiftyAfterNew.insert(fiftyAfterNew.end(), fifty.begin(), fifty.end() - 1);
    std::vector<int> fiftyAfterOld = {50};
    fiftyAfterOld.insert(fiftyAfterOld.end(), fifty.begin(), fifty.end() - 1);
    for (const Case& c : {Case{{}, 1, {1}}, Case{{1, 2, 3}, 4, {4, 1, 2, 3}},
                          Case{{1, 2, 3}, 3, {3, 1, 2}}, Case{{1, 2, 3}, 1, {1, 2, 3}},
                          Case{fifty, 99, fiftyAfterNew}, Case{fifty, 50, fiftyAfterOld}}) {
        std::vector<RecentServer> servers;
        for (const int number : c.before)
            servers.push_back(At(number));
        CRecentServers::Remember(servers, At(c.joined, 30));
        std::vector<RecentServer> expected;
        for (const int number : c.after)
            expected.push_back(At(number));
        expected.front() = At(c.joined, 30);
        EXPECT_EQ(Addresses(servers), Addresses(expected)) << c.joined;
        EXPECT_EQ(servers.front(), expected.front()) << "the newest join's name and time";
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
    Store().setValue("RTCW", game.Path());
    Store().setValue("Master", QString::fromStdString(net.MasterAddress()));
    Store().setValue("Speed", 5);
    Store().setValue("IncludeEmptyServers", 1);
    Store().setValue("LastView", 1);
    {
        auto dialog = Open();
        ASSERT_TRUE(Scan(*dialog, D::IDC_QUERY_MASTER));
        Lattix::CTableCtrl& servers = dialog->ServerList();
        ASSERT_EQ(servers.GetRowCount(), 3);
        // No join yet: there are no recent servers to scan, the window says so, and the
        // rows with their records stay.
        Click(*dialog, D::IDC_QUERY_RECENT);
        EXPECT_EQ(qobject_cast<QLabel*>(dialog->Control(D::IDC_STATUS_LINE))->text(),
                  "No server has been joined yet.");
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

    // A list that cannot be saved is said, and the game still starts; one that cannot be
    // read is not scanned.
    Store().setValue("AutoClose", 0);
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
}

} // namespace
