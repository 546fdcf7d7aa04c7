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
    constexpr int kServers = 200;
    const std::vector<int> delays = {0, 20, 80, 250};

    CTestNetProcess net(
        {"--count", std::to_string(kServers), "--seed", "2", "--delays", "0,20,80,250"});
    CCountingDriver counting;
    counting.AddTestNetServers(net);
    CScanDriver& driver = counting.Driver();
    const ScanFigures scan = counting.TimeScan(32);

    std::map<std::uint16_t, int> delayOfPort;
    for (const auto& server : net.Manifest().at("servers")) {
        delayOfPort[server.at("port").get<std::uint16_t>()] = server.at("delay_ms").get<int>();
    }
    struct Spread
    {
        std::size_t count = 0;
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
        s.minError = std::min(s.minError, error);
        s.maxError = std::max(s.maxError, error);
        s.sum += error;
    }

    std::printf("ping: %d test servers with reply delays 0, 20, 80 and 250 ms, %zu reported\n",
                kServers, scan.reported);
    int worst = 0;
    for (const int delay : delays) {
        const Spread& s = byDelay[delay];
        std::printf("  delay %3d ms: %3zu servers, ping - delay from %d to %d ms, mean %.2f ms\n",
                    delay, s.count, s.count ? s.minError : 0, s.count ? s.maxError : 0,
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
