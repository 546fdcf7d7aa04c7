#pragma once

#include "net/Event.h"
#include "net/SockAddr.h"
#include "net/SockUDP.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// Game servers played on 127.0.0.1 by a background thread: each answers status requests
// as its behaviour says and counts them.
class CLoopbackPeers
{
public:
    enum class Behaviour
    {
        Silent,       // never answers
        Answer,       // answers every request once
        AnswerThrice, // answers every request three times
        AnswerSecond  // answers only every second request
    };
    struct Spec
    {
        Behaviour behaviour = Behaviour::Answer;
        std::string reply;
    };

    explicit CLoopbackPeers(std::vector<Spec> specs);
    ~CLoopbackPeers();

    std::size_t Size() const { return m_peers.size(); }
    CSockAddr Address(std::size_t index) const { return m_peers[index]->address; }
    int Requests(std::size_t index) const { return m_peers[index]->requests.load(); }
    int TotalRequests() const;
    // The address the requests came from, once one has arrived.
    std::optional<CSockAddr> Client() const;

private:
    struct Peer
    {
        CSockUDP socket;
        CSockAddr address;
        Spec spec;
        std::atomic<int> requests{0};
    };
    void Serve();

    std::vector<std::unique_ptr<Peer>> m_peers;
    CEvent m_stop;
    mutable std::mutex m_mutex;
    std::optional<CSockAddr> m_client;
    std::thread m_thread;
};

// A socket on 127.0.0.1 (any port).
void CreateOnLoopback(CSockUDP& socket);

// A status reply with the given infostring (without the leading backslash) and player lines.
std::string StatusReply(const std::string& info, const std::string& players = "");
