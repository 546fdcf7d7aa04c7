#include "tests/support/TestNetProcess.h"

#include "format/Cp1252.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <thread>

extern char** environ;

#ifndef FARSIGHTER_TESTNET_PATH
#error "FARSIGHTER_TESTNET_PATH must name the built farsighter-testnet"
#endif

namespace {

using Clock = std::chrono::steady_clock;

bool Names(const std::vector<std::string>& args, const std::string& option)
{
    return std::any_of(args.begin(), args.end(), [&](const std::string& arg) {
        return arg == option || arg.starts_with(option + "=");
    });
}

// 128 + the signal number when a signal ended the program (nothing else stops a waited child).
int DecodeStatus(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string MakeFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/fs-testnet-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::system_error(errno, std::generic_category(), "cannot create " + pattern);
    return pattern;
}

} // namespace

CTestNetProcess::CTestNetProcess(std::vector<std::string> args)
    : CTestNetProcess(COptions{std::move(args)})
{
}

CTestNetProcess::CTestNetProcess(COptions options)
{
    try {
        Start(options);
        WaitReady(options.readyTimeout);
        if (options.readManifest) {
            std::ifstream file(m_manifestPath);
            m_manifest = nlohmann::json::parse(file);
        }
    } catch (...) {
        Stop(std::chrono::milliseconds(1000));
        if (m_stdout >= 0)
            ::close(m_stdout);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
        throw;
    }
}

CTestNetProcess::~CTestNetProcess()
{
    Stop();
    if (m_stdout >= 0)
        ::close(m_stdout);
    std::error_code ignored;
    if (!m_folder.empty())
        std::filesystem::remove_all(m_folder, ignored);
}

void CTestNetProcess::Start(const COptions& options)
{
    m_folder = MakeFolder();
    m_stderrPath = m_folder + "/stderr.txt";

    std::vector<std::string> args{FARSIGHTER_TESTNET_PATH};
    args.insert(args.end(), options.args.begin(), options.args.end());
    if (!Names(options.args, "--master-port"))
        args.insert(args.end(), {"--master-port", "0"});
    if (!Names(options.args, "--first-port"))
        args.insert(args.end(), {"--first-port", "0"});
    if (!Names(options.args, "--run-time") && options.runTimeSec > 0)
        args.insert(args.end(), {"--run-time", std::to_string(options.runTimeSec)});
    m_manifestPath = m_folder + "/manifest.json";
    args.insert(args.end(), {"--manifest", m_manifestPath, "--exit-with-parent", "--quiet"});

    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        throw std::system_error(errno, std::generic_category(), "cannot create a pipe");
    m_stdout = pipe[0];

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, m_stderrPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const int error = ::posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    if (error != 0) {
        m_pid = -1;
        throw std::system_error(error, std::generic_category(), "cannot start " + args[0]);
    }
}

void CTestNetProcess::WaitReady(std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    std::string received;
    while (received.find('\n') == std::string::npos) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            Fail("did not print its ready line within " + std::to_string(timeout.count()) + " ms");
        pollfd ready{m_stdout, POLLIN, 0};
        const int n = ::poll(&ready, 1, static_cast<int>(std::min<long long>(left, 60000)));
        if (n < 0 && errno != EINTR)
            Fail(std::string("cannot wait for its output: ") + std::strerror(errno));
        if (n <= 0)
            continue;
        char buffer[512];
        const ssize_t got = ::read(m_stdout, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            int status = 0;
            if (::waitpid(m_pid, &status, 0) == m_pid) {
                m_exitStatus = DecodeStatus(status);
                m_pid = -1;
            }
            Fail("ended before it was ready (exit status " + std::to_string(m_exitStatus) + ")");
        }
        received.append(buffer, static_cast<std::size_t>(got));
    }
    m_readyLine = received.substr(0, received.find('\n'));

    // "ready master=127.0.0.1:PORT servers=N"
    unsigned port = 0;
    int servers = 0;
    if (std::sscanf(m_readyLine.c_str(), "ready master=127.0.0.1:%u servers=%d", &port, &servers) !=
        2) {
        Fail("printed \"" + m_readyLine + "\" instead of its ready line");
    }
    m_masterPort = static_cast<std::uint16_t>(port);
    m_serverCount = servers;
}

void CTestNetProcess::Fail(const std::string& what)
{
    std::string message = "farsighter-testnet " + what;
    const std::string errors = ErrorOutput();
    if (!errors.empty())
        message += "; its error output:\n" + errors;
    throw std::runtime_error(message);
}

int CTestNetProcess::Stop(std::chrono::milliseconds grace)
{
    if (m_pid <= 0)
        return m_exitStatus;
    ::kill(m_pid, SIGTERM);
    if (const auto status = WaitForExit(grace))
        return *status;
    ::kill(m_pid, SIGKILL);
    return *WaitForExit(std::chrono::hours(1));
}

std::optional<int> CTestNetProcess::WaitForExit(std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    int status = 0;
    while (m_pid > 0) {
        const pid_t done = ::waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid || (done < 0 && errno != EINTR)) {
            m_exitStatus = done == m_pid ? DecodeStatus(status) : m_exitStatus;
            m_pid = -1;
        } else if (Clock::now() >= deadline) {
            return std::nullopt;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    return m_exitStatus;
}

std::string CTestNetProcess::MasterAddress() const
{
    return "127.0.0.1:" + std::to_string(m_masterPort);
}

std::vector<std::uint16_t> CTestNetProcess::ServerPorts() const
{
    std::vector<std::uint16_t> ports;
    if (m_manifest.contains("servers")) {
        for (const auto& server : m_manifest["servers"])
            ports.push_back(server["port"].get<std::uint16_t>());
    }
    return ports;
}

std::string CTestNetProcess::ErrorOutput() const
{
    std::ifstream file(m_stderrPath);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string CTestNetProcess::RawBytes(const nlohmann::json& text)
{
    const auto bytes = Utf8ToCp1252(text.get<std::string>());
    if (!bytes)
        throw std::invalid_argument("not a Windows-1252 text: " + text.dump());
    return *bytes;
}
