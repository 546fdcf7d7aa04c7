// The refresh of one server in the desktop browser: from the command (F5) to its updated
// row, less the server's round trip, with every server of a large scan listed. Runs the
// real main window offscreen against a local test network.
//   app_refresh_bench [--count N] [--runs N]
#include "app/MainDlg.h"
#include "app/Prompts.h"
#include "app/RefreshCommands.h"
#include "app/ResultLists.h"
#include "app/ScanBridge.h"
#include "bench/app/BenchProfile.h"
#include "lattix/model/CellData.h"
#include "lattix/view/TableCtrl.h"
#include "net/Clock.h"
#include "query/Server.h"
#include "tests/support/TestNetProcess.h"

#include <QApplication>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    int count = 10000;
    int runs = 20;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--count" && i + 1 < argc)
            count = std::atoi(argv[++i]);
        else if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else {
            std::fputs("usage: app_refresh_bench [--count N] [--runs N]\n", stderr);
            return 2;
        }
    }
    const CBenchProfile profile;
    QApplication app(argc, argv);
    {
        QSettings settings = profile.Settings();
        settings.setValue("IncludeEmptyServers", 1);
        settings.setValue("LastView", 1);
    }

    // The refresh's 10 s rule runs on this clock; each run moves it on.
    qint64 now = 0;
    MainDlgOptions options;
    options.scanLimit = 100000;
    options.clock = [&now] { return now; };
    options.requeryPollMs = 0;
    CMainDlg dialog(options);
    dialog.show();

    CTestNetProcess::COptions net;
    net.args = {"--count", std::to_string(count), "--seed", "11", "--delays", "5,20,40,80"};
    net.readManifest = false;
    CTestNetProcess network(net);
    dialog.SetMasterAddress(QString::fromStdString(network.MasterAddress()));
    QSignalSpy finished(&dialog, &CMainDlg::ScanFinished);
    dialog.QueryMaster();
    if (!finished.wait(600000))
        return 1;

    // The busiest server in the middle of the list, selected.
    Lattix::CTableCtrl& servers = dialog.ServerList();
    int row = servers.GetRowCount() / 2;
    for (int r = row; r < std::min(servers.GetRowCount(), row + 200); ++r)
        if (servers.GetCell(r, 7)->GetInt() > servers.GetCell(row, 7)->GetInt())
            row = r;
    servers.SelectRow(row);
    dialog.Lists().ShowServerPlayers(row);
    const CServer* server = dialog.Lists().ServerOfServerRow(row);
    if (server == nullptr)
        return 1;

    // The time from the command to the row, taken when the row has been updated: the
    // window's own handler runs first, as it was connected first.
    std::int64_t updatedAt = 0;
    std::int64_t sentAt = 0;
    QObject::connect(&dialog.Bridge(), &CScanBridge::ServerRefreshed, [&](const CServer* fresh) {
        updatedAt = ReadCounter();
        sentAt = fresh->sendTime;
    });
    std::printf("servers listed %d, player rows %d (of %d servers); the refreshed server has "
                "%d players\n",
                servers.GetRowCount(), dialog.PlayerList().GetRowCount(), count,
                static_cast<int>(server->players.size()));
    // F5 in the view; false when a refresh went wrong.
    const auto measure = [&](const char* view) {
        std::vector<double> totals;
        std::vector<double> overheads;
        std::vector<double> beforeSend;
        int pings = 0;
        for (int run = 0; run < runs; ++run) {
            now += 10'000;
            updatedAt = 0;
            QSignalSpy ended(&dialog.Refresh().Refresher(), &CServerRefresh::Ended);
            const std::int64_t commandAt = ReadCounter();
            if (dialog.Refresh().RefreshSelected() != 1 || !ended.wait(10000) || updatedAt == 0)
                return false;
            const double total = static_cast<double>(updatedAt - commandAt) / 1e6;
            beforeSend.push_back(static_cast<double>(sentAt - commandAt) / 1e6);
            // The ping is whole milliseconds, rounded down: what is left over is at most
            // 1 ms more than the refresh's own time.
            totals.push_back(total);
            overheads.push_back(total - server->ping);
            pings += server->ping;
        }
        std::sort(totals.begin(), totals.end());
        std::sort(overheads.begin(), overheads.end());
        std::sort(beforeSend.begin(), beforeSend.end());
        std::printf("%s, %d runs: F5 to the updated row median %.2f ms, mean round trip %.1f "
                    "ms;\n  less the round trip: median %.2f ms, longest %.2f ms (before the "
                    "request left: median %.2f ms)\n",
                    view, runs, totals[totals.size() / 2], static_cast<double>(pings) / runs,
                    overheads[overheads.size() / 2], overheads.back(),
                    beforeSend[beforeSend.size() / 2]);
        return true;
    };
    if (!measure("server list") ||
        dialog.Lists().ServerOfServerRow(servers.GetSelectedRow()) != server)
        return 1;
    // The same server by one of its players in the player list.
    dialog.SetView(0);
    Lattix::CTableCtrl& players = dialog.PlayerList();
    int playerRow = 0;
    while (playerRow < players.GetRowCount() &&
           dialog.Lists().ServerOfPlayerRow(playerRow) != server)
        ++playerRow;
    players.SelectRow(playerRow);
    if (!measure("player list") ||
        dialog.Lists().ServerOfPlayerRow(players.GetSelectedRow()) != server)
        return 1;
    dialog.reject();
    return 0;
}
