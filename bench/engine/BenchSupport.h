#pragma once

#include "cli/ScanDriver.h"
#include "tests/support/TestNetProcess.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

// Shared pieces of the engine benchmarks: a test network on 127.0.0.1, one scan of it
// through the same driver as farsighter-query, and the figures of that scan.

struct ScanFigures
{
    std::chrono::nanoseconds wall{0}; // from the start of the scan to its end
    std::size_t reported = 0;
    std::size_t answered = 0;
    std::size_t ticks = 0;    // ticks served by the worker
    std::size_t requests = 0; // status requests sent, resends included
    bool failed = false;
};

// A scan driver whose engine counts ticks and requests.
class CCountingDriver
{
public:
    CCountingDriver();
    CScanDriver& Driver() { return m_driver; }

    // Fills the map with one fresh record per game server of the network.
    void AddTestNetServers(const CTestNetProcess& net);

    // Runs one scan with `limit` requests per tick and measures it.
    ScanFigures TimeScan(int limit);

private:
    std::atomic<std::size_t> m_ticks{0};
    std::atomic<std::size_t> m_requests{0};
    CScanDriver m_driver;
};

// One run of another program.
struct ProcessRun
{
    int exitCode = -1; // 128 + the signal number when a signal ended it; -1: not started
    std::chrono::nanoseconds wall{0};
    long peakKiB = 0; // peak resident memory
};

// Runs a program (looked up in PATH) with standard input empty, standard output into the
// file outPath and standard error discarded, and waits for its end.
ProcessRun RunProcess(const std::vector<std::string>& args, const std::string& outPath);

double Seconds(std::chrono::nanoseconds duration);

// Prints "name: value unit" lines in one format for every benchmark.
void PrintFigure(const std::string& name, double value, const std::string& unit);
void PrintFigure(const std::string& name, std::size_t value, const std::string& unit = {});

// Prints the verdict on one goal and returns whether it was met.
bool Verdict(const std::string& goal, bool met);
