#include "testnet/TestNet.h"

#include "testnet/MasterReply.h"
#include "testnet/Request.h"
#include "testnet/ServerReplies.h"

#include <arpa/inet.h>
#include <sys/epoll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace testnet {

namespace {

constexpr std::uint32_t kLoopback = INADDR_LOOPBACK; // 127.0.0.1, host order
constexpr std::uint32_t kStopToken = UINT32_MAX;
constexpr int kMaxReadsPerWake = 64;
constexpr std::uint64_t kRuntimeStream = 5;

std::uint64_t AddressKey(const sockaddr_in& a)
{
    return (static_cast<std::uint64_t>(ntohl(a.sin_addr.s_addr)) << 16) | ntohs(a.sin_port);
}

[[noreturn]] void ThrowErrno(const std::string& what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

} // namespace

CTestNet::CTestNet(CWorld world, const CTestNetOptions& options)
    : m_world(std::move(world)), m_jitterMs(options.jitterMs), m_lossPercent(options.lossPercent),
      m_masterExtra(options.masterExtra), m_masterPortWanted(options.masterPort),
      m_firstPortWanted(options.firstPort), m_rng(CRandom::Stream(options.seed, 0, kRuntimeStream)),
      m_buffer(65536)
{
}

CTestNet::~CTestNet() = default;

CUniqueFd CTestNet::BindSocket(std::uint16_t port, std::uint16_t& bound, const char* what)
{
    CUniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.Valid())
        ThrowErrno(std::string("cannot create the socket of the ") + what);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(kLoopback);
    address.sin_port = htons(port);
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ThrowErrno(std::string("cannot bind the ") + what +
                   " to 127.0.0.1:" + std::to_string(port));
    }
    socklen_t length = sizeof address;
    if (::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        ThrowErrno(std::string("cannot read the address of the ") + what);
    bound = ntohs(address.sin_port);
    return fd;
}

void CTestNet::Bind()
{
    m_epoll.Reset(::epoll_create1(EPOLL_CLOEXEC));
    if (!m_epoll.Valid())
        ThrowErrno("cannot create the event queue");

    m_endpoints.clear();
    m_endpoints.resize(m_world.servers.size() + 1);
    // Fixed ports first, so that a port the system picks cannot take one of them.
    auto bindMaster = [&] {
        m_endpoints[0].fd = BindSocket(m_masterPortWanted, m_world.masterPort, "master server");
        // The master sends bursts of datagrams; give it room.
        const int size = 1 << 20;
        ::setsockopt(m_endpoints[0].fd.Get(), SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
        ::setsockopt(m_endpoints[0].fd.Get(), SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    };
    if (m_masterPortWanted != 0)
        bindMaster();
    for (std::size_t i = 0; i < m_world.servers.size(); ++i) {
        CWorldServer& server = m_world.servers[i];
        const std::uint16_t wanted =
            m_firstPortWanted == 0 ? 0 : static_cast<std::uint16_t>(m_firstPortWanted + i);
        CEndpoint& endpoint = m_endpoints[i + 1];
        endpoint.fd = BindSocket(wanted, server.port, "game server");
        endpoint.server = static_cast<int>(i);
        if (server.behaviour == EBehaviour::Hostile) {
            const int size = static_cast<int>(kMaxUdpPayload) * 4;
            ::setsockopt(endpoint.fd.Get(), SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
            endpoint.status = std::make_shared<const std::string>(
                HostileReply(server, server.hostileKind, m_world.seed));
            endpoint.info = std::make_shared<const std::string>(
                HostileReply(server, server.hostileKind, m_world.seed, true));
        } else if (server.behaviour != EBehaviour::Silent) {
            endpoint.status = std::make_shared<const std::string>(StatusReply(server));
            endpoint.info = std::make_shared<const std::string>(InfoReply(server));
        }
    }
    if (m_masterPortWanted == 0)
        bindMaster();

    // Addresses the master lists where nothing answers: sockets that are bound, so no
    // one else can take the port, but never read.
    m_extraSockets.clear();
    m_world.masterExtraPorts.clear();
    for (int i = 0; i < m_masterExtra; ++i) {
        std::uint16_t port = 0;
        m_extraSockets.push_back(BindSocket(0, port, "unlisted address"));
        m_world.masterExtraPorts.push_back(port);
    }

    for (std::size_t i = 0; i < m_endpoints.size(); ++i) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u32 = static_cast<std::uint32_t>(i);
        if (::epoll_ctl(m_epoll.Get(), EPOLL_CTL_ADD, m_endpoints[i].fd.Get(), &event) != 0)
            ThrowErrno("cannot watch a socket");
    }
}

void CTestNet::Run(int stopFd, std::chrono::milliseconds runTime)
{
    epoll_event stop{};
    stop.events = EPOLLIN;
    stop.data.u32 = kStopToken;
    if (::epoll_ctl(m_epoll.Get(), EPOLL_CTL_ADD, stopFd, &stop) != 0)
        ThrowErrno("cannot watch the stop signal");

    const auto start = Clock::now();
    const bool limited = runTime.count() > 0;
    const auto deadline = start + runTime;
    std::vector<epoll_event> events(256);
    while (true) {
        auto now = Clock::now();
        SendDue(now);
        if (limited && now >= deadline)
            break;

        int timeoutMs = -1;
        auto wakeAt = Clock::time_point::max();
        if (!m_pending.empty())
            wakeAt = m_pending.top().due;
        if (limited)
            wakeAt = std::min(wakeAt, deadline);
        if (wakeAt != Clock::time_point::max()) {
            // Round up, so that a reply never leaves before its time.
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(wakeAt - now);
            timeoutMs = static_cast<int>(std::clamp<std::int64_t>(wait.count(), 0, 60000));
        }
        const int n =
            ::epoll_wait(m_epoll.Get(), events.data(), static_cast<int>(events.size()), timeoutMs);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno("cannot wait for requests");
        }
        for (int i = 0; i < n; ++i) {
            const std::uint32_t token = events[static_cast<std::size_t>(i)].data.u32;
            if (token == kStopToken) {
                ::epoll_ctl(m_epoll.Get(), EPOLL_CTL_DEL, stopFd, nullptr);
                return;
            }
            Drain(token);
        }
    }
    ::epoll_ctl(m_epoll.Get(), EPOLL_CTL_DEL, stopFd, nullptr);
}

void CTestNet::Drain(std::size_t index)
{
    CEndpoint& endpoint = m_endpoints[index];
    for (int reads = 0; reads < kMaxReadsPerWake; ++reads) {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n = ::recvfrom(endpoint.fd.Get(), m_buffer.data(), m_buffer.size(), 0,
                                     reinterpret_cast<sockaddr*>(&from), &length);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return; // EAGAIN: drained; anything else is not ours to fix
        }
        const std::string_view datagram(m_buffer.data(), static_cast<std::size_t>(n));
        if (endpoint.server < 0)
            HandleMaster(from, datagram);
        else
            HandleServer(endpoint, index, from, datagram);
    }
}

void CTestNet::HandleMaster(const sockaddr_in& from, std::string_view datagram)
{
    ++m_stats.masterRequests;
    const auto request = CRequest::Parse(datagram);
    if (!request)
        return;
    const auto query = CMasterQuery::From(*request);
    if (!query || m_world.masterSilent)
        return;
    std::vector<CListedAddress> listed;
    for (const CWorldServer* server : m_world.Listed(query->protocol, query->full, query->empty))
        listed.push_back({kLoopback, server->port});
    if (query->protocol == m_world.protocol) {
        for (std::uint16_t port : m_world.masterExtraPorts)
            listed.push_back({kLoopback, port});
    }
    for (std::string& datagram : MasterReply(listed)) {
        ++m_stats.masterDatagrams;
        Schedule(0, from, std::make_shared<const std::string>(std::move(datagram)), 1,
                 m_world.masterDelayMs);
    }
}

void CTestNet::HandleServer(CEndpoint& endpoint, std::size_t index, const sockaddr_in& from,
                            std::string_view datagram)
{
    ++m_stats.requests;
    if (m_lossPercent > 0 && m_rng.Percent(m_lossPercent)) {
        ++m_stats.lost;
        return;
    }
    const auto request = CRequest::Parse(datagram);
    const bool status = request && request->command == "getstatus";
    const bool info = request && request->command == "getinfo";
    const CWorldServer& server = m_world.servers[static_cast<std::size_t>(endpoint.server)];
    if ((!status && !info) || server.behaviour == EBehaviour::Silent) {
        ++m_stats.ignored;
        return;
    }
    if (server.behaviour == EBehaviour::ResendOnly &&
        ++endpoint.requestsFrom[AddressKey(from)] % 2 == 1) {
        ++m_stats.ignored;
        return;
    }

    std::shared_ptr<const std::string> payload = status ? endpoint.status : endpoint.info;
    const std::string_view challenge =
        request->args.empty() ? std::string_view() : std::string_view(request->args.front());
    if (!challenge.empty() && server.behaviour != EBehaviour::Hostile) {
        payload = std::make_shared<const std::string>(status ? StatusReply(server, challenge)
                                                             : InfoReply(server, challenge));
    }
    const int copies = server.behaviour == EBehaviour::Duplicates ? 3 : 1;
    const int delay = server.delayMs + (m_jitterMs > 0 ? m_rng.Between(0, m_jitterMs) : 0);
    Schedule(index, from, std::move(payload), copies, delay);
}

void CTestNet::Schedule(std::size_t endpoint, const sockaddr_in& to,
                        std::shared_ptr<const std::string> payload, int copies, int delayMs)
{
    if (delayMs <= 0) {
        Send(endpoint, to, *payload, copies);
        return;
    }
    CPending pending;
    pending.due = Clock::now() + std::chrono::milliseconds(delayMs);
    pending.sequence = m_sequence++;
    pending.endpoint = endpoint;
    pending.to = to;
    pending.payload = std::move(payload);
    pending.copies = copies;
    m_pending.push(std::move(pending));
}

void CTestNet::Send(std::size_t endpoint, const sockaddr_in& to, const std::string& payload,
                    int copies)
{
    for (int i = 0; i < copies; ++i) {
        const ssize_t n = ::sendto(m_endpoints[endpoint].fd.Get(), payload.data(), payload.size(),
                                   0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        if (n < 0)
            ++m_stats.sendErrors; // a full buffer loses the datagram, as a network would
        else if (endpoint != 0)
            ++m_stats.replies;
    }
}

void CTestNet::SendDue(Clock::time_point now)
{
    while (!m_pending.empty() && m_pending.top().due <= now) {
        // top() is const; the element is copied out before it is popped.
        const CPending pending = m_pending.top();
        m_pending.pop();
        Send(pending.endpoint, pending.to, *pending.payload, pending.copies);
    }
}

} // namespace testnet
