// Peak memory of farsighter-query against 40 servers on 127.0.0.1 that each answer with
// one 64 KiB datagram of empty "\\" pairs and bare line feeds, the reply that a hostile
// server sends to make a small request cost its client much memory.
//   engine_amplify_bench [PATH_OF_FARSIGHTER_QUERY]
#include "bench/engine/BenchSupport.h"
#include "net/Event.h"
#include "net/SockUDP.h"

#include <poll.h>

#include <cstdio>
#include <thread>
#include <vector>

#ifndef FARSIGHTER_QUERY_PATH
#error "FARSIGHTER_QUERY_PATH must name the built farsighter-query"
#endif

namespace {

constexpr int kServers = 40;
constexpr std::size_t kMaxUdpPayload = 65507;

// Half the datagram empty pairs, the rest bare line feeds.
std::string AmplifyingReply(int index)
{
    std::string reply = "\xFF\xFF\xFF\xFFstatusResponse\n\\sv_hostname\\Amplifier " +
                        std::to_string(index) + "\\g_gametype\\5\\sv_maxclients\\64";
    reply.append(2 * (kMaxUdpPayload / 4), '\\');
    reply += '\n';
    reply.append(kMaxUdpPayload - reply.size(), '\n');
    return reply;
}

// The servers: sockets on 127.0.0.1 answered by one thread until destroyed.
class CAmplifiers
{
public:
    CAmplifiers() : m_sockets(kServers)
    {
        CSockAddr loopback;
        loopback.Parse("127.0.0.1", CSockAddr::Lookup::NumericOnly);
        for (CSockUDP& socket : m_sockets)
            socket.Create(loopback);
        m_thread = std::thread([this] { Serve(); });
    }
    ~CAmplifiers()
    {
        m_stop.Set();
        m_thread.join();
    }
    std::vector<std::string> Addresses() const
    {
        std::vector<std::string> addresses;
        for (const CSockUDP& socket : m_sockets)
            addresses.push_back(socket.LocalAddress().ToString());
        return addresses;
    }

private:
    void Serve()
    {
        std::vector<pollfd> fds;
        for (const CSockUDP& socket : m_sockets)
            fds.push_back({socket.WaitDescriptor(), POLLIN, 0});
        fds.push_back({m_stop.WaitDescriptor(), POLLIN, 0});
        std::string request;
        CSockAddr client;
        while (poll(fds.data(), fds.size(), -1) > 0 && fds.back().revents == 0) {
            for (int i = 0; i < kServers; ++i) {
                while ((fds[i].revents & POLLIN) != 0 &&
                       m_sockets[i].ReceiveFrom(request, client) == 0) {
                    const std::string reply = AmplifyingReply(i);
                    std::size_t length = reply.size();
                    m_sockets[i].SendTo(reply.data(), length, client);
                }
            }
        }
    }

    std::vector<CSockUDP> m_sockets;
    CEvent m_stop{false, true};
    std::thread m_thread;
};

} // namespace

int main(int argc, char** argv)
{
    const std::string program = argc > 1 ? argv[1] : FARSIGHTER_QUERY_PATH;
    CAmplifiers servers;
    std::printf("amplify: %d servers answering with %zu-byte replies of empty pairs and line "
                "feeds\n  program: %s\n",
                kServers, kMaxUdpPayload, program.c_str());
    const std::vector<std::vector<std::string>> outputs = {
        {"--csv"}, {"--players", "--csv"}, {}, {"--players"}};
    for (const auto& output : outputs) {
        std::vector<std::string> args = {program, "--empty", "--limit", "64"};
        args.insert(args.end(), output.begin(), output.end());
        const std::vector<std::string> addresses = servers.Addresses();
        args.insert(args.end(), addresses.begin(), addresses.end());
        std::string shown = "--empty --limit 64";
        for (const std::string& option : output)
            shown += " " + option;
        const ProcessRun run = RunProcess(args, "/dev/null");
        std::printf("  farsighter-query %s <40 servers>: exit %d, %.2f s\n", shown.c_str(),
                    run.exitCode, Seconds(run.wall));
        PrintFigure("peak memory, " + (output.empty() ? std::string("table") : shown.substr(19)),
                    static_cast<double>(run.peakKiB) / 1024.0, "MiB");
    }
    return 0;
}
