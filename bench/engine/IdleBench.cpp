// Idle cost: a scan of about 10 s over servers that never answer must cost the worker
// under 1 % of one CPU.
#include "bench/engine/BenchSupport.h"

#include <sys/resource.h>

#include <cstdio>

namespace {

double CpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main()
{
    // 44 silent servers at 2 per tick ("ISDN"): the first 14 start in the first 7 ticks;
    // then every tick's resends leave room for about one new server, and the last one
    // times out about 2.6 s after its start: about 11 s in all.
    constexpr int kServers = 44;
    constexpr int kLimit = 2;

    CTestNetProcess net(
        {"--count", std::to_string(kServers), "--silent", std::to_string(kServers)});
    CCountingDriver counting;
    counting.AddTestNetServers(net);

    const double processBefore = CpuSeconds(RUSAGE_SELF);
    const double mainBefore = CpuSeconds(RUSAGE_THREAD);
    const ScanFigures scan = counting.TimeScan(kLimit);
    const double process = CpuSeconds(RUSAGE_SELF) - processBefore;
    const double mainThread = CpuSeconds(RUSAGE_THREAD) - mainBefore;
    // The worker has ended by now; RUSAGE_SELF still holds what it used.
    const double worker = process - mainThread;
    const double wall = Seconds(scan.wall);

    std::printf("idle: %d silent test servers at %d requests per tick\n", kServers, kLimit);
    PrintFigure("scan time", wall, "s");
    PrintFigure("servers reported", scan.reported);
    PrintFigure("servers answered", scan.answered);
    PrintFigure("ticks served", scan.ticks);
    PrintFigure("status requests sent", scan.requests);
    PrintFigure("CPU time of the process", process * 1000.0, "ms");
    PrintFigure("CPU time of the waiting thread", mainThread * 1000.0, "ms");
    PrintFigure("CPU time of the worker", worker * 1000.0, "ms");
    PrintFigure("worker CPU load", worker / wall * 100.0, "%");
    PrintFigure("process CPU load", process / wall * 100.0, "%");
    bool met = Verdict("scan of at least 10 s", wall >= 10.0 && wall <= 12.0);
    met = Verdict("worker under 1 % CPU", worker / wall < 0.01) && met;
    met = Verdict("every server timed out",
                  !scan.failed && scan.reported == kServers && scan.answered == 0) &&
          met;
    return met ? 0 : 1;
}
