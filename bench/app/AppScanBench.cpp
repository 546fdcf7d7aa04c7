// The desktop browser under a large scan: start-up time, how long the GUI event loop
// stalls while result rows arrive, the GUI thread's CPU time, peak memory, and the player
// search over every player row, and the filter bar's answer to each key and toggle. Runs
// the real main window offscreen against a local test network of 10,000 servers (about
// 80,000 players) unless told otherwise.
//   app_scan_bench [--count N] [--unpaced] [--no-pulse]
//
// Goals: the longest stall under 8 ms and the GUI thread's CPU time for the whole scan
// under 1.5 s, paced at DSL*4 and unpaced; each player search under 10 ms at 80,000
// player rows. On a machine that other work keeps busy a gap between two beats of the
// event loop may be time in which the GUI thread did not run at all, so the longest
// stall is also given as the GUI thread's CPU time between two beats. The beats cost CPU
// time of their own (a thousand wake-ups a second): --no-pulse leaves them out, for the
// CPU time of the program alone (and reports no stalls).
#include "app/MainDlg.h"
#include "app/MainDlgLayout.h"
#include "app/Prompts.h"
#include "app/SearchPanel.h"
#include "bench/app/BenchProfile.h"
#include "tests/support/TestNetProcess.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

double ThreadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

long PeakRssMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    int count = 10000;
    bool unpaced = false;
    bool pulsed = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--count" && i + 1 < argc)
            count = std::atoi(argv[++i]);
        else if (arg == "--unpaced")
            unpaced = true;
        else if (arg == "--no-pulse")
            pulsed = false;
        else {
            std::fputs("usage: app_scan_bench [--count N] [--unpaced] [--no-pulse]\n", stderr);
            return 2;
        }
    }
    const CBenchProfile profile;
    QApplication app(argc, argv);
    {
        QSettings settings = profile.Settings();
        settings.setValue("Speed", 5); // DSL*4
        settings.setValue("IncludeEmptyServers", 1);
    }

    MainDlgOptions options;
    options.scanLimit = unpaced ? 100000 : 0;
    CMainDlg dialog(options);
    dialog.show();
    QApplication::processEvents();
    const double startupMs = static_cast<double>(sinceStart.nsecsElapsed()) / 1e6;

    CTestNetProcess::COptions net;
    net.args = {"--count", std::to_string(count), "--seed", "11", "--delays", "5,20,40,80"};
    net.readManifest = false;
    CTestNetProcess network(net);
    dialog.SetMasterAddress(QString::fromStdString(network.MasterAddress()));

    // The event loop's pulse: a 1 ms timer; a gap between two beats is a stall.
    QElapsedTimer wall;
    std::vector<double> gaps;
    std::vector<double> at;   // milliseconds into the scan of each beat
    std::vector<double> work; // GUI-thread CPU time of each gap
    double beatCpu = ThreadCpuMs();
    QElapsedTimer beat;
    QTimer pulse;
    pulse.setTimerType(Qt::PreciseTimer);
    pulse.setInterval(1);
    QObject::connect(&pulse, &QTimer::timeout, [&] {
        gaps.push_back(static_cast<double>(beat.nsecsElapsed()) / 1e6);
        at.push_back(static_cast<double>(wall.nsecsElapsed()) / 1e6);
        const double cpu = ThreadCpuMs();
        work.push_back(cpu - beatCpu);
        beatCpu = cpu;
        beat.restart();
    });

    QSignalSpy finished(&dialog, &CMainDlg::ScanFinished);
    wall.start();
    const double cpuBefore = ThreadCpuMs();
    beat.start();
    beatCpu = ThreadCpuMs();
    if (pulsed)
        pulse.start();
    dialog.QueryMaster();
    finished.wait(600000);
    pulse.stop();
    const double cpuMs = ThreadCpuMs() - cpuBefore;
    const double scanMs = static_cast<double>(wall.nsecsElapsed()) / 1e6;

    std::vector<double> sorted = gaps;
    std::sort(sorted.begin(), sorted.end());
    const double longest = sorted.empty() ? 0 : sorted.back();
    const double p99 = sorted.empty() ? 0 : sorted[sorted.size() * 99 / 100];

    // The player search: a prefix and a part anywhere in the name, five times each; the
    // first search after the scan, then the median of the others.
    struct SearchTimes
    {
        double first;
        double median;
    };
    const auto searchMs = [&](const QString& text) {
        std::vector<double> runs;
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer t;
            t.start();
            dialog.Search().Search(text);
            runs.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        }
        const double first = runs.front();
        std::sort(runs.begin(), runs.end());
        return SearchTimes{first, runs[2]};
    };
    const SearchTimes prefix = searchMs(QStringLiteral("Lie"));
    const SearchTimes anywhere = searchMs(QStringLiteral("*ank"));

    std::printf("servers listed %d, player rows %d (of %d servers, %s)\n",
                dialog.ServerList().GetRowCount(), dialog.PlayerList().GetRowCount(), count,
                unpaced ? "unpaced" : "DSL*4");
    std::printf("start-up to the window shown: %.1f ms\n", startupMs);
    std::printf("scan: %.0f ms wall; GUI thread CPU %.0f ms\n", scanMs, cpuMs);
    if (pulsed) {
        std::printf("event-loop stalls: longest %.1f ms, 99th percentile %.2f ms (%zu beats)\n",
                    longest, p99, gaps.size());
        std::printf("longest stall in GUI-thread CPU time: %.1f ms\n",
                    work.empty() ? 0 : *std::max_element(work.begin(), work.end()));
    }
    if (pulsed && std::getenv("APP_BENCH_STALLS")) {
        std::vector<std::size_t> order(gaps.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(), [&](auto a, auto b) { return work[a] > work[b]; });
        for (std::size_t i = 0; i < std::min<std::size_t>(8, order.size()); ++i)
            std::printf("  stall %.1f ms (CPU %.1f ms) ending at %.0f ms\n", gaps[order[i]],
                        work[order[i]], at[order[i]]);
    }
    std::printf("player search over %d rows: prefix %.1f ms (first %.1f ms), anywhere %.1f ms "
                "(first %.1f ms); medians of 5\n",
                dialog.PlayerList().GetRowCount(), prefix.median, prefix.first, anywhere.median,
                anywhere.first);
    // The filter bar: each key typed into its text, and each toggle, until the lists have
    // been filtered and repainted; the longest and the median of each kind.
    const int listedServers = dialog.ServerList().GetRowCount();
    const int listedPlayers = dialog.PlayerList().GetRowCount();
    std::vector<double> keys;
    std::vector<double> toggles;
    std::vector<double> keysCpu;
    std::vector<double> togglesCpu;
    const auto timed = [](std::vector<double>& wallMs, std::vector<double>& cpuMs,
                          const auto& action) {
        QElapsedTimer t;
        t.start();
        const double cpu = ThreadCpuMs();
        action();
        QApplication::processEvents();
        wallMs.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        cpuMs.push_back(ThreadCpuMs() - cpu);
    };
    auto* text = qobject_cast<QLineEdit*>(dialog.Control(MainDlgIds::IDC_FILTER_TEXT));
    auto* hideEmpty = qobject_cast<QCheckBox*>(dialog.Control(MainDlgIds::IDC_HIDE_EMPTY));
    auto* hideFull = qobject_cast<QCheckBox*>(dialog.Control(MainDlgIds::IDC_HIDE_FULL));
    auto* punkBuster = qobject_cast<QComboBox*>(dialog.Control(MainDlgIds::IDC_FILTER_PUNKBUSTER));
    // The user clicks into the text first: the grids learn the servers of their rows.
    std::vector<double> focus;
    std::vector<double> focusCpu;
    QApplication::setActiveWindow(&dialog);
    timed(focus, focusCpu, [&] { text->setFocus(); });
    for (int view : {0, 1}) {
        dialog.SetView(view);
        QApplication::processEvents();
        for (const QString& word : {QStringLiteral("mp_beach"), QStringLiteral("wolf #1")}) {
            for (const QChar c : word)
                timed(keys, keysCpu, [&] { text->insert(QString(c)); });
            while (!text->text().isEmpty())
                timed(keys, keysCpu, [&] { text->backspace(); });
        }
        for (QCheckBox* box : {hideEmpty, hideFull, hideEmpty, hideFull})
            timed(toggles, togglesCpu, [&] { box->toggle(); });
        for (const int choice : {1, 2, 0})
            timed(toggles, togglesCpu, [&] { punkBuster->setCurrentIndex(choice); });
    }
    const auto report = [](const char* what, std::vector<double> runs) {
        if (std::getenv("APP_BENCH_FILTER")) {
            for (const double ms : runs)
                std::printf(" %.1f", ms);
            std::printf("\n");
        }
        std::sort(runs.begin(), runs.end());
        std::printf("filter %s: longest %.2f ms, median %.2f ms (%zu)\n", what, runs.back(),
                    runs[runs.size() / 2], runs.size());
    };
    std::printf("filter bar over %d servers and %d player rows, both views:\n", listedServers,
                listedPlayers);
    report("focus reaching the bar", focus);
    report("keystrokes", keys);
    report("keystrokes, GUI thread CPU", keysCpu);
    report("toggles", toggles);
    report("toggles, GUI thread CPU", togglesCpu);
    std::printf("peak memory: %ld MiB\n", PeakRssMiB());
    dialog.reject();
    return finished.count() == 1 ? 0 : 1;
}
