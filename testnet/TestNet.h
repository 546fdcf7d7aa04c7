#pragma once

#include "testnet/Random.h"
#include "testnet/TestNetOptions.h"
#include "testnet/UniqueFd.h"
#include "testnet/World.h"

#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <queue>
#include <string>
#include <unordered_map>
#include <vector>

namespace testnet {

// The running test network: one UDP socket on 127.0.0.1 for the master and one for
// every game server, served by a single epoll loop. Delayed replies wait in a queue
// ordered by due time.
class CTestNet
{
public:
    struct CStats
    {
        std::uint64_t requests = 0; // datagrams received by game servers
        std::uint64_t lost = 0;     // dropped by --loss
        std::uint64_t ignored = 0;  // no request a server answers
        std::uint64_t replies = 0;  // datagrams sent by game servers
        std::uint64_t masterRequests = 0;
        std::uint64_t masterDatagrams = 0;
        std::uint64_t sendErrors = 0;
    };

    CTestNet(CWorld world, const CTestNetOptions& options);
    CTestNet(const CTestNet&) = delete;
    CTestNet& operator=(const CTestNet&) = delete;
    ~CTestNet();

    // Binds every socket and fills the ports into the world. Throws std::system_error
    // naming the port that could not be bound.
    void Bind();

    // Serves until stopFd is readable (it is not read) or runTime has passed
    // (zero: no limit).
    void Run(int stopFd, std::chrono::milliseconds runTime);

    const CWorld& World() const { return m_world; }
    const CStats& Stats() const { return m_stats; }

private:
    using Clock = std::chrono::steady_clock;

    struct CEndpoint
    {
        CUniqueFd fd;
        int server = -1; // index into the world's servers; -1 for the master
        std::shared_ptr<const std::string> status;
        std::shared_ptr<const std::string> info;
        std::unordered_map<std::uint64_t, std::uint32_t> requestsFrom; // resend-only
    };

    struct CPending
    {
        Clock::time_point due;
        std::uint64_t sequence = 0;
        std::size_t endpoint = 0;
        sockaddr_in to{};
        std::shared_ptr<const std::string> payload;
        int copies = 1;

        bool operator>(const CPending& other) const
        {
            return due != other.due ? due > other.due : sequence > other.sequence;
        }
    };

    CUniqueFd BindSocket(std::uint16_t port, std::uint16_t& bound, const char* what);
    void Drain(std::size_t endpoint);
    void HandleMaster(const sockaddr_in& from, std::string_view datagram);
    void HandleServer(CEndpoint& endpoint, std::size_t index, const sockaddr_in& from,
                      std::string_view datagram);
    void Schedule(std::size_t endpoint, const sockaddr_in& to,
                  std::shared_ptr<const std::string> payload, int copies, int delayMs);
    void Send(std::size_t endpoint, const sockaddr_in& to, const std::string& payload, int copies);
    void SendDue(Clock::time_point now);

    CWorld m_world;
    int m_jitterMs;
    double m_lossPercent;
    int m_masterExtra;
    std::uint16_t m_masterPortWanted;
    std::uint16_t m_firstPortWanted;
    CRandom m_rng;
    CUniqueFd m_epoll;
    std::vector<CEndpoint> m_endpoints; // [0] the master, then the servers in order
    std::vector<CUniqueFd> m_extraSockets;
    std::priority_queue<CPending, std::vector<CPending>, std::greater<>> m_pending;
    std::uint64_t m_sequence = 0;
    std::vector<char> m_buffer;
    CStats m_stats;
};

} // namespace testnet
