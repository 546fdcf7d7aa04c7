// farsighter-testnet: a master server and game servers on 127.0.0.1 that play the
// outside world for tests, benchmarks and demonstrations.

#include "net/LibraryVersions.h"
#include "net/Version.h"
#include "testnet/Manifest.h"
#include "testnet/TestNet.h"
#include "testnet/TestNetOptions.h"
#include "testnet/World.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <system_error>
#include <vector>

#ifndef FARSIGHTER_VERSION
#define FARSIGHTER_VERSION "0.0.0"
#endif

namespace {

constexpr const char* kProgram = "farsighter-testnet";
// Descriptors besides the sockets: standard streams, epoll, signalfd, the manifest.
constexpr rlim_t kSpareDescriptors = 16;

// Lifts the soft limit of open files to the hard limit and checks that the sockets
// fit under it.
void RaiseFileLimit(std::size_t sockets)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        throw std::system_error(errno, std::generic_category(), "cannot read the open-file limit");
    if (limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
        ::getrlimit(RLIMIT_NOFILE, &limit);
    }
    const rlim_t needed = static_cast<rlim_t>(sockets) + kSpareDescriptors;
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < needed) {
        throw std::runtime_error(std::to_string(sockets) + " sockets need " +
                                 std::to_string(needed) + " open files, but the limit is " +
                                 std::to_string(limit.rlim_cur) + " (see ulimit -Hn)");
    }
}

int Serve(const testnet::CTestNetOptions& options)
{
    if (options.exitWithParent) {
        const pid_t parent = ::getppid();
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            return 0; // the parent is already gone
    }

    // SIGINT and SIGTERM arrive through a descriptor that ends the event loop.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    if (::sigprocmask(SIG_BLOCK, &stopSignals, nullptr) != 0)
        throw std::system_error(errno, std::generic_category(), "cannot block signals");
    testnet::CUniqueFd signals(::signalfd(-1, &stopSignals, SFD_CLOEXEC | SFD_NONBLOCK));
    if (!signals.Valid())
        throw std::system_error(errno, std::generic_category(), "cannot watch signals");

    RaiseFileLimit(static_cast<std::size_t>(options.count) + 1 +
                   static_cast<std::size_t>(options.masterExtra));

    testnet::CTestNet net(testnet::CWorld::Generate(options), options);
    net.Bind();
    const testnet::CWorld& world = net.World();
    if (!options.manifestPath.empty()) {
        testnet::WriteFileAtomically(options.manifestPath, testnet::ManifestText(world, options));
    }
    std::printf("ready master=127.0.0.1:%u servers=%zu\n", static_cast<unsigned>(world.masterPort),
                world.servers.size());
    std::fflush(stdout);
    if (!options.quiet) {
        std::fprintf(stderr, "%s: master on 127.0.0.1:%u, %zu game servers", kProgram,
                     static_cast<unsigned>(world.masterPort), world.servers.size());
        if (!world.servers.empty() && options.firstPort != 0) {
            std::fprintf(stderr, " on ports %u..%u",
                         static_cast<unsigned>(world.servers.front().port),
                         static_cast<unsigned>(world.servers.back().port));
        }
        std::fprintf(stderr, ", protocol %d, seed %llu\n", world.protocol,
                     static_cast<unsigned long long>(world.seed));
    }

    net.Run(signals.Get(), std::chrono::seconds(options.runTimeSec));

    if (!options.quiet) {
        const auto& s = net.Stats();
        std::fprintf(stderr,
                     "%s: %llu requests to game servers (%llu lost, %llu ignored), %llu replies, "
                     "%llu master requests, %llu master datagrams, %llu send errors\n",
                     kProgram, static_cast<unsigned long long>(s.requests),
                     static_cast<unsigned long long>(s.lost),
                     static_cast<unsigned long long>(s.ignored),
                     static_cast<unsigned long long>(s.replies),
                     static_cast<unsigned long long>(s.masterRequests),
                     static_cast<unsigned long long>(s.masterDatagrams),
                     static_cast<unsigned long long>(s.sendErrors));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    testnet::CTestNetOptions options;
    try {
        options = testnet::CTestNetOptions::Parse(args);
    } catch (const testnet::CUsageError& error) {
        std::cerr << kProgram << ": " << error.what() << "\nTry '" << kProgram
                  << " --help' for more information.\n";
        return 2;
    }
    if (options.help) {
        std::cout << testnet::CTestNetOptions::Usage();
        return 0;
    }
    if (options.version) {
        std::cout << VersionReport(kProgram, FARSIGHTER_VERSION);
        return 0;
    }
    try {
        return Serve(options);
    } catch (const std::exception& error) {
        std::cerr << kProgram << ": " << error.what() << "\n";
        return 1;
    }
}
