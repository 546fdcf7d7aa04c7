#include "tests/support/ProgramRun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>

extern char** environ;

namespace {

[[noreturn]] void Fail(const char* what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

// fds[0] stays here for reading, fds[1] becomes a standard stream of the child: a pipe, or a
// pseudo-terminal (master end here).
std::array<int, 2> MakeChannel(bool terminal)
{
    std::array<int, 2> fds{-1, -1};
    if (!terminal) {
        if (::pipe2(fds.data(), O_CLOEXEC) != 0) {
            Fail("pipe2");
        }
        return fds;
    }
    fds[0] = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    const char* name = fds[0] >= 0 && ::grantpt(fds[0]) == 0 && ::unlockpt(fds[0]) == 0
                           ? ::ptsname(fds[0])
                           : nullptr;
    if (name == nullptr || (fds[1] = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC)) < 0) {
        Fail("pseudo-terminal");
    }
    return fds;
}

} // namespace

ProgramResult RunProgram(const std::string& path, const std::vector<std::string>& args,
                         std::chrono::milliseconds timeout, bool stderrOnTerminal)
{
    using Clock = std::chrono::steady_clock;
    const std::array<int, 2> out = MakeChannel(false);
    const std::array<int, 2> err = MakeChannel(stderrOnTerminal);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);

    const Clock::time_point start = Clock::now();
    pid_t pid = -1;
    const int spawnError =
        ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    if (spawnError != 0) {
        ::close(out[0]);
        ::close(err[0]);
        errno = spawnError;
        Fail("posix_spawn");
    }

    // Read both streams until both are closed (a pseudo-terminal reports an error once the
    // child has closed its end); kill the program when it overstays.
    ProgramResult result;
    bool killed = false;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    for (int open = 2; open > 0;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(start + timeout - Clock::now());
        if (left.count() <= 0 && !killed) {
            ::kill(pid, SIGKILL);
            killed = true;
        }
        const int ready = ::poll(fds, 2, killed ? 1000 : static_cast<int>(left.count()));
        if ((ready < 0 && errno != EINTR) || (ready == 0 && killed)) {
            break;
        }
        for (int i = 0; i < 2 && ready > 0; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            char buffer[65536];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    ::close(out[0]);
    ::close(err[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}
