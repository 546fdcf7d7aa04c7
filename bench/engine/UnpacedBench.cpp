// Unpaced scan: 10,000 servers with --limit 10000 must be scanned in under 5 s with none
// lost; quakestat -rws scans the same servers for comparison.
#include "bench/engine/BenchSupport.h"
#include "net/SockUDP.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#ifndef FARSIGHTER_QUERY_PATH
#error "FARSIGHTER_QUERY_PATH must name the built farsighter-query"
#endif

namespace {

constexpr int kServers = 10000;
constexpr int kRuns = 3;

struct OutputRun
{
    ProcessRun run;
    std::string out;
};

// Runs a program with standard output into a file and returns what it wrote there.
OutputRun Run(const std::vector<std::string>& args, const std::string& outPath)
{
    OutputRun result{RunProcess(args, outPath), {}};
    std::ifstream in(outPath);
    std::ostringstream text;
    text << in.rdbuf();
    result.out = text.str();
    return result;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Servers that quakestat's raw output shows with a status: "RWS,address,name,..." lines
// whose third field is not one of its failure words.
std::size_t QuakestatAnswered(const std::string& out)
{
    std::size_t answered = 0;
    for (const std::string& line : Lines(out)) {
        if (!line.starts_with("RWS,")) {
            continue;
        }
        const std::size_t second = line.find(',', 4);
        const std::string status =
            second == std::string::npos
                ? ""
                : line.substr(second + 1, line.find(',', second + 1) - second - 1);
        if (status != "DOWN" && status != "TIMEOUT" && status != "ERROR" && status != "") {
            ++answered;
        }
    }
    return answered;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
    CTestNetProcess net({"--count", std::to_string(kServers), "--seed", "3"});
    std::size_t listable = 0;
    for (const auto& server : net.Manifest().at("servers")) {
        // With --empty and full servers on, every answering server with a game type is
        // listed.
        for (const auto& pair : server.at("vars")) {
            if (pair[0] == "g_gametype" && pair[1] != "0") {
                ++listable;
            }
        }
    }
    const std::string folder = "/tmp/fs-bench-unpaced-" + std::to_string(getpid());
    mkdir(folder.c_str(), 0700);
    const std::string list = folder + "/servers.txt";
    const std::string favorites = folder + "/favorites.dat";
    const std::string output = folder + "/out.txt";
    {
        std::ofstream qstatList(list);
        std::ofstream favoritesFile(favorites);
        for (const std::uint16_t port : net.ServerPorts()) {
            qstatList << "127.0.0.1:" << port << '\n';
            favoritesFile << "127.0.0.1:" << port << "\t\t\r\n";
        }
    }

    std::printf("unpaced: %d test servers, every request sent at the first tick\n", kServers);
    {
        CSockUDP probe;
        probe.Create();
        PrintFigure("receive buffer granted for 4 MiB",
                    static_cast<std::size_t>(probe.SetReceiveBufferSize(4 << 20)), "bytes");
    }
    bool met = true;

    std::vector<double> engineTimes;
    for (int i = 0; i < kRuns; ++i) {
        CCountingDriver counting;
        counting.AddTestNetServers(net);
        const ScanFigures scan = counting.TimeScan(kServers);
        engineTimes.push_back(Seconds(scan.wall));
        std::printf("  engine run %d: %.3f s, %zu reported, %zu answered, %zu requests sent "
                    "(%zu resends)\n",
                    i + 1, Seconds(scan.wall), scan.reported, scan.answered, scan.requests,
                    scan.requests - std::min<std::size_t>(scan.requests, kServers));
        met = Verdict("under 5 s, none lost", !scan.failed && scan.wall < std::chrono::seconds(5) &&
                                                  scan.answered == kServers) &&
              met;
    }
    PrintFigure("engine, median time", Median(engineTimes), "s");

    std::vector<double> cliTimes;
    const std::vector<std::string> cli = {
        FARSIGHTER_QUERY_PATH,    "--favorites", favorites, "--limit",
        std::to_string(kServers), "--empty",     "--csv"};
    for (int i = 0; i < kRuns; ++i) {
        const auto [run, out] = Run(cli, output);
        const std::size_t rows = Lines(out).size() - 1;
        cliTimes.push_back(Seconds(run.wall));
        std::printf("  farsighter-query run %d: %.3f s, exit %d, %zu servers listed of %zu "
                    "with a status\n",
                    i + 1, Seconds(run.wall), run.exitCode, rows, listable);
        met =
            Verdict("under 5 s, none lost",
                    run.exitCode == 0 && run.wall < std::chrono::seconds(5) && rows == listable) &&
            met;
    }
    PrintFigure("farsighter-query, median time", Median(cliTimes), "s");

    std::vector<double> qstatTimes;
    const std::vector<std::string> qstat = {
        "quakestat",     "-default", "rws",      "-f", list,   "-maxsim", "1000",
        "-sendinterval", "0",        "-timeout", "30", "-raw", ","};
    std::printf("  quakestat command: quakestat -default rws -f servers.txt -maxsim 1000 "
                "-sendinterval 0 -timeout 30 -raw ,\n");
    for (int i = 0; i < kRuns; ++i) {
        const auto [run, out] = Run(qstat, output);
        if (run.exitCode < 0) {
            std::printf("  quakestat not available\n");
            break;
        }
        qstatTimes.push_back(Seconds(run.wall));
        std::printf("  quakestat run %d: %.3f s, exit %d, %zu servers answered\n", i + 1,
                    Seconds(run.wall), run.exitCode, QuakestatAnswered(out));
    }
    if (!qstatTimes.empty()) {
        PrintFigure("quakestat, median time", Median(qstatTimes), "s");
    }
    std::remove(list.c_str());
    std::remove(favorites.c_str());
    std::remove(output.c_str());
    rmdir(folder.c_str());
    return met ? 0 : 1;
}
