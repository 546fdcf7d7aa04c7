// The notices of a scan, and the order of the result lists while a scan fills them.
#include "WindowFixture.h"

#include "app/ScanBridge.h"
#include "app/SearchPanel.h"
#include "query/Server.h"

#include <QDeadlineTimer>
#include <QThread>

#include <set>

namespace {

// After every batch both lists are in order, also after a click on a title part way through;
// players with equal names stay in the order their servers answered.
using ScanOrderTest = CWindowFixture;

TEST_F(ScanOrderTest, NoticesOfAnOldScanGoAndBothListsStayInOrderWhileRowsArrive)
{
    CTestNetProcess net({"--count", "150", "--seed", "5", "--delays", "5,20,40,80"});
    // A new scan drops the notices of the old one, whose records it freed.
    QueryEngineOptions engine;
    engine.tickPeriod = std::chrono::milliseconds(5);
    CScanBridge bridge(engine);
    const auto fill = [&] {
        bridge.Servers().clear();
        for (const std::uint16_t port : net.ServerPorts()) {
            const CSockAddr address(QStringLiteral("127.0.0.1:%1").arg(port).toStdString());
            bridge.Servers().emplace(address, CServer(address));
        }
    };
    std::vector<const CServer*> delivered;
    QObject::connect(&bridge, &CScanBridge::ServerQueried,
                     [&](CServer* server) { delivered.push_back(server); });

    fill();
    ASSERT_TRUE(bridge.Start(64));
    // The first scan ends on its worker while every notice waits in the GUI queue: the
    // GUI thread polls without processing events.
    const QDeadlineTimer deadline(20000);
    while (bridge.IsRunning() && !deadline.hasExpired())
        QThread::msleep(2);
    ASSERT_FALSE(bridge.IsRunning());
    ASSERT_TRUE(bridge.Stop());
    fill(); // frees every record the queued notices point at
    ASSERT_TRUE(bridge.Start(64));
    QSignalSpy ended(&bridge, &CScanBridge::ScanEnded);
    ASSERT_TRUE(ended.wait(20000));
    QApplication::processEvents();

    std::set<const CServer*> current;
    for (const auto& [address, server] : bridge.Servers())
        current.insert(&server);
    EXPECT_EQ(delivered.size(), current.size());
    for (const CServer* server : delivered)
        EXPECT_TRUE(current.count(server));

    // In the window the replies come in many batches.
    MainDlgOptions options;
    options.scanLimit = 6; // requests a tick
    const auto window = Open(options);
    CMainDlg& dialog = *window;
    dialog.SetMasterAddress(QString::fromStdString(net.MasterAddress()));
    Lattix::CTableCtrl& servers = dialog.ServerList();
    Lattix::CTableCtrl& players = dialog.PlayerList();

    int batches = 0;
    int afterClick = -1; // server rows when the title was clicked
    QObject::connect(&dialog.Bridge(), &CScanBridge::BatchDone, &dialog, [&] {
        ++batches;
        EXPECT_EQ(FirstOutOfOrder(servers), -1) << "batch " << batches;
        EXPECT_EQ(FirstOutOfOrder(players), -1) << "batch " << batches;
        if (afterClick < 0 && servers.GetRowCount() >= 20) {
            afterClick = servers.GetRowCount();
            // The "Server" title, left of every other one.
            QTest::mouseClick(&servers.Header(), Qt::LeftButton, {}, QPoint(10, 5));
            const std::vector<Lattix::CSortKey> byName{{CResultLists::kServerNameColumn, false}};
            EXPECT_EQ(servers.GetSortOrder(), byName);
        }
    });
    QSignalSpy finished(&dialog, &CMainDlg::ScanFinished);
    dialog.QueryMaster();
    ASSERT_TRUE(finished.wait(60000));

    EXPECT_GT(batches, 10);
    ASSERT_GT(afterClick, 0);
    EXPECT_GT(servers.GetRowCount(), afterClick + 20);
    EXPECT_EQ(FirstOutOfOrder(servers), -1);
    EXPECT_EQ(FirstOutOfOrder(players), -1);
    int ties = 0;
    for (int row = 1; row < players.GetRowCount(); ++row) {
        if (players.GetCell(row - 1, 0)->CompareTo(*players.GetCell(row, 0)) != 0)
            continue;
        ++ties;
        EXPECT_LE(players.GetCell(row - 1, CResultLists::kPlayerHandleColumn)->GetInt(),
                  players.GetCell(row, CResultLists::kPlayerHandleColumn)->GetInt())
            << "row " << row;
    }
    EXPECT_GT(ties, 50);

    // After each search the matches are on top in reverse name order, the rest in order.
    const auto name = [&](int row) {
        return QString::fromStdString(players.GetCellText(row, 0)).toUpper();
    };
    const QString a = name(0).left(1);
    const QString b = name(players.GetRowCount() - 1).left(1);
    for (const QString& text : {a, b, QStringLiteral("*") + a, a}) {
        const QString part = text.startsWith('*') ? text.mid(1) : text;
        const auto matches = [&](int row) {
            return text.startsWith('*') ? name(row).contains(part) : name(row).startsWith(part);
        };
        dialog.Search().Search(text);
        int row = 0;
        while (row < players.GetRowCount() && matches(row))
            ++row;
        ASSERT_GT(row, 0) << text.toStdString();
        for (int r = 1; r < row; ++r)
            EXPECT_GE(players.GetCell(r - 1, 0)->CompareTo(*players.GetCell(r, 0)), 0);
        for (int r = row; r < players.GetRowCount(); ++r) {
            EXPECT_FALSE(matches(r)) << text.toStdString() << " " << r;
            if (r > row) {
                EXPECT_LE(players.GetCell(r - 1, 0)->CompareTo(*players.GetCell(r, 0)), 0);
            }
        }
    }
}

} // namespace
