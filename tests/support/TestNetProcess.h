#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

// Runs the built farsighter-testnet for a test or a benchmark.
//
// The constructor starts the program with the given arguments and waits for its
// "ready" line; it adds --master-port 0 and --first-port 0 unless the arguments name
// those options (so that tests running in parallel never collide), a --run-time
// safety net unless they name one, --exit-with-parent (the network ends with the
// process that started it; start it from a thread that outlives it), --quiet, and a
// --manifest in a private temporary folder (the arguments must not name one). It throws
// std::runtime_error, with the program's error output, when the program ends or stays silent
// instead of getting ready. The destructor stops it (SIGTERM, then SIGKILL after a grace time).
class CTestNetProcess
{
public:
    struct COptions
    {
        std::vector<std::string> args;
        std::chrono::milliseconds readyTimeout{20000};
        int runTimeSec = 600;     // safety net; 0: none
        bool readManifest = true; // parse the manifest (skip it for very large worlds)
    };

    explicit CTestNetProcess(std::vector<std::string> args = {});
    explicit CTestNetProcess(COptions options);
    CTestNetProcess(const CTestNetProcess&) = delete;
    CTestNetProcess& operator=(const CTestNetProcess&) = delete;
    ~CTestNetProcess();

    // Sends SIGTERM and waits up to grace, then kills. Returns the exit code, or 128
    // plus the signal number when a signal ended it; later calls return the same.
    int Stop(std::chrono::milliseconds grace = std::chrono::milliseconds(5000));

    // Waits up to timeout for the program to end by itself; its exit status as Stop
    // gives it, or nothing when it is still running.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);

    std::uint16_t MasterPort() const { return m_masterPort; }
    std::string MasterAddress() const; // "127.0.0.1:PORT"
    int ServerCount() const { return m_serverCount; }
    // Ports of the game servers in manifest order (empty without a manifest).
    std::vector<std::uint16_t> ServerPorts() const;
    const nlohmann::json& Manifest() const { return m_manifest; }
    // What the program wrote to standard error so far.
    std::string ErrorOutput() const;

    // The bytes a manifest text stands for (its texts are Windows-1252 decoded to
    // UTF-8). Throws std::invalid_argument for a text outside that code page.
    static std::string RawBytes(const nlohmann::json& text);

private:
    void Start(const COptions& options);
    void WaitReady(std::chrono::milliseconds timeout);
    [[noreturn]] void Fail(const std::string& what);

    pid_t m_pid = -1;
    int m_exitStatus = -1;
    int m_stdout = -1;
    std::string m_folder;
    std::string m_manifestPath;
    std::string m_stderrPath;
    std::string m_readyLine;
    std::uint16_t m_masterPort = 0;
    int m_serverCount = 0;
    nlohmann::json m_manifest;
};
