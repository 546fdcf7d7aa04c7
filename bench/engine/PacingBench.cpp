// Pacing: 2,000 servers at "DSL*4" (32 new requests per 200 ms tick) must take the time
// that the ticks need, within 5 %, and every server must answer.
#include "bench/engine/BenchSupport.h"
#include "query/QueryEngine.h"

#include <cmath>
#include <cstdio>

int main()
{
    constexpr int kServers = 2000;
    constexpr double kTick = 0.2;
    const int limit = SpeedLimit(5); // "DSL*4"

    CTestNetProcess net({"--count", std::to_string(kServers), "--seed", "1"});
    CCountingDriver counting;
    counting.AddTestNetServers(net);
    const ScanFigures scan = counting.TimeScan(limit);

    // Ticks 0 .. n-1 start the servers; tick n reports the last answers, tick n + 1 finds
    // nothing left and ends the scan.
    const int sendTicks = (kServers + limit - 1) / limit;
    const double ideal = sendTicks * kTick;
    const double idealEnd = (sendTicks + 1) * kTick;
    const double wall = Seconds(scan.wall);
    const double deviation = (wall - ideal) / ideal * 100.0;

    std::printf("pacing: %d test servers at \"%s\" (%d requests per tick)\n", kServers,
                std::string(kSpeedNames[5]).c_str(), limit);
    PrintFigure("ticks needed", static_cast<std::size_t>(sendTicks));
    PrintFigure("ideal time (ticks x 200 ms)", ideal, "s");
    PrintFigure("ideal end (one tick to report more)", idealEnd, "s");
    PrintFigure("measured time", wall, "s");
    PrintFigure("deviation from ideal time", deviation, "%");
    PrintFigure("ticks served", scan.ticks);
    PrintFigure("status requests sent", scan.requests);
    PrintFigure("servers reported", scan.reported);
    PrintFigure("servers answered", scan.answered);
    PrintFigure("servers lost", static_cast<std::size_t>(kServers) - scan.answered);
    bool met = Verdict("within 5 % of the ideal time", std::abs(deviation) <= 5.0);
    met = Verdict("none lost", !scan.failed && scan.answered == kServers) && met;
    return met ? 0 : 1;
}
