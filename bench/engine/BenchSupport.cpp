#include "bench/engine/BenchSupport.h"

#include "cli/ResultSet.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

extern char** environ;

namespace {

QueryEngineOptions Counting(std::atomic<std::size_t>& ticks, std::atomic<std::size_t>& requests)
{
    QueryEngineOptions options;
    options.afterTick = [&ticks, &requests](int sent) {
        ++ticks;
        requests += static_cast<std::size_t>(sent);
    };
    return options;
}

} // namespace

CCountingDriver::CCountingDriver() : m_driver(true, true, Counting(m_ticks, m_requests)) {}

void CCountingDriver::AddTestNetServers(const CTestNetProcess& net)
{
    for (const std::uint16_t port : net.ServerPorts()) {
        CSockAddr address("127.0.0.1");
        address.SetPort(port);
        m_driver.Servers().insert_or_assign(address, CServer(address));
    }
}

ScanFigures CCountingDriver::TimeScan(int limit)
{
    m_ticks = 0;
    m_requests = 0;
    ScanFigures figures;
    const auto start = std::chrono::steady_clock::now();
    const auto error = m_driver.Run(limit);
    figures.wall = std::chrono::steady_clock::now() - start;
    if (error) {
        std::fprintf(stderr, "scan failed: %s\n", error->c_str());
        figures.failed = true;
    }
    figures.reported = m_driver.Reported().size();
    for (const CServer* server : m_driver.Reported()) {
        figures.answered += IsAnswered(*server) ? 1 : 0;
    }
    figures.ticks = m_ticks;
    figures.requests = m_requests;
    return figures;
}

ProcessRun RunProcess(const std::vector<std::string>& args, const std::string& outPath)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);

    ProcessRun run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        return run;
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
    }
    run.wall = std::chrono::steady_clock::now() - start;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.peakKiB = usage.ru_maxrss;
    return run;
}

double Seconds(std::chrono::nanoseconds duration)
{
    return std::chrono::duration<double>(duration).count();
}

void PrintFigure(const std::string& name, double value, const std::string& unit)
{
    std::printf("  %-38s %10.3f %s\n", (name + ":").c_str(), value, unit.c_str());
    std::fflush(stdout);
}

void PrintFigure(const std::string& name, std::size_t value, const std::string& unit)
{
    std::printf("  %-38s %10zu %s\n", (name + ":").c_str(), value, unit.c_str());
    std::fflush(stdout);
}

bool Verdict(const std::string& goal, bool met)
{
    std::printf("  %s: %s\n", met ? "MET" : "MISSED", goal.c_str());
    std::fflush(stdout);
    return met;
}
