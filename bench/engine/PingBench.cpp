// Ping accuracy: servers that answer after 0, 20, 80 and 250 ms must show those pings
// within 2 ms.
#include "bench/engine/BenchSupport.h"
#include "cli/ResultSet.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

int main()
{
    // Four new requests per tick, so that few replies fall due at the same moment and the
    // figures show the measurement rather than replies queueing behind each other.
    constexpr int kServers = 120;
    constexpr int kLimit = 4;
    const std::vector<int> delays = {0, 20, 80, 250};

    CTestNetProcess net(
        {"--count", std::to_string(kServers), "--seed", "2", "--delays", "0,20,80,250"});
    CCountingDriver counting;
    counting.AddTestNetServers(net);
    CScanDriver& driver = counting.Driver();
    const ScanFigures scan = counting.TimeScan(kLimit);

    std::map<std::uint16_t, int> delayOfPort;
    for (const auto& server : net.Manifest().at("servers")) {
        delayOfPort[server.at("port").get<std::uint16_t>()] = server.at("delay_ms").get<int>();
    }
    struct Spread
    {
        std::size_t count = 0;
        std::size_t within = 0; // within 2 ms
        int minError = 1 << 30;
        int maxError = -(1 << 30);
        long long sum = 0;
    };
    std::map<int, Spread> byDelay;
    std::size_t unanswered = 0;
    for (const CServer* server : driver.Reported()) {
        if (!IsAnswered(*server)) {
            ++unanswered;
            continue;
        }
        const int delay = delayOfPort.at(server->address.GetPort());
        Spread& s = byDelay[delay];
        const int error = server->ping - delay;
        ++s.count;
        s.within += std::abs(error) <= 2 ? 1 : 0;
        s.minError = std::min(s.minError, error);
        s.maxError = std::max(s.maxError, error);
        s.sum += error;
    }

    std::printf("ping: %d test servers with reply delays 0, 20, 80 and 250 ms, %d requests "
                "per tick, %zu reported\n",
                kServers, kLimit, scan.reported);
    int worst = 0;
    for (const int delay : delays) {
        const Spread& s = byDelay[delay];
        std::printf(
            "  delay %3d ms: %3zu servers, %3zu within 2 ms, ping - delay from %d to %d ms, "
            "mean %.2f ms\n",
            delay, s.count, s.within, s.count ? s.minError : 0, s.count ? s.maxError : 0,
            s.count ? double(s.sum) / double(s.count) : 0.0);
        if (s.count != 0) {
            worst = std::max({worst, std::abs(s.minError), std::abs(s.maxError)});
        }
    }
    PrintFigure("largest deviation", static_cast<std::size_t>(worst), "ms");
    PrintFigure("servers not answered", unanswered);
    bool met = Verdict("every ping within 2 ms of its delay", worst <= 2);
    met = Verdict("every server answered",
                  !scan.failed && unanswered == 0 && scan.reported == kServers) &&
          met;
    return met ? 0 : 1;
}
