#include "LoopbackPeers.h"

#include "query/Server.h"

#include <poll.h>

#include <stdexcept>

void CreateOnLoopback(CSockUDP& socket)
{
    CSockAddr loopback;
    loopback.Parse("127.0.0.1", CSockAddr::Lookup::NumericOnly);
    socket.Create(loopback);
}

std::string StatusReply(const std::string& info, const std::string& players)
{
    return "\xFF\xFF\xFF\xFFstatusResponse\n\\" + info + "\n" + players;
}

CLoopbackPeers::CLoopbackPeers(std::vector<Spec> specs)
{
    for (auto& spec : specs) {
        auto peer = std::make_unique<Peer>();
        CreateOnLoopback(peer->socket);
        peer->address = peer->socket.LocalAddress();
        peer->spec = std::move(spec);
        m_peers.push_back(std::move(peer));
    }
    m_thread = std::thread(&CLoopbackPeers::Serve, this);
}

CLoopbackPeers::~CLoopbackPeers()
{
    m_stop.Set();
    m_thread.join();
}

int CLoopbackPeers::TotalRequests() const
{
    int total = 0;
    for (const auto& peer : m_peers)
        total += peer->requests.load();
    return total;
}

std::optional<CSockAddr> CLoopbackPeers::Client() const
{
    std::lock_guard lock(m_mutex);
    return m_client;
}

void CLoopbackPeers::Serve()
{
    std::vector<pollfd> fds;
    fds.push_back({m_stop.WaitDescriptor(), POLLIN, 0});
    for (const auto& peer : m_peers)
        fds.push_back({peer->socket.WaitDescriptor(), POLLIN, 0});
    std::string request;
    for (;;) {
        if (poll(fds.data(), fds.size(), -1) < 0)
            continue;
        if (fds[0].revents != 0)
            return;
        for (std::size_t i = 1; i < fds.size(); ++i) {
            if (fds[i].revents == 0)
                continue;
            Peer& peer = *m_peers[i - 1];
            CSockAddr from;
            if (peer.socket.ReceiveFrom(request, from) != 0 || request != kStatusRequest)
                continue;
            {
                std::lock_guard lock(m_mutex);
                m_client = from;
            }
            const int count = ++peer.requests;
            int answers = 0;
            switch (peer.spec.behaviour) {
            case Behaviour::Silent:
                break;
            case Behaviour::Answer:
                answers = 1;
                break;
            case Behaviour::AnswerThrice:
                answers = 3;
                break;
            case Behaviour::AnswerSecond:
                answers = count % 2 == 0 ? 1 : 0;
                break;
            }
            for (int a = 0; a < answers; ++a) {
                std::size_t length = peer.spec.reply.size();
                peer.socket.SendTo(peer.spec.reply.data(), length, from);
            }
        }
    }
}
