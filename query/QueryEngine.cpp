#include "query/QueryEngine.h"

#include "net/Clock.h"
#include "net/SockUDP.h"
#include "net/Wait.h"
#include "net/WaitableTimer.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <vector>

const std::array<std::string_view, 6> kSpeedNames = {"Modem", "ISDN",  "ISDN128",
                                                     "DSL",   "DSL*2", "DSL*4"};

int SpeedLimit(int speedIndex)
{
    const int index = std::clamp(speedIndex, 0, static_cast<int>(kSpeedNames.size()) - 1);
    return 1 << index;
}

namespace {

// While a tick sends, the replies that have arrived are read after every kSendsPerDrain
// requests, at most kMaxDrainedPerPause of them at a time so that a flood cannot hold the
// tick up.
constexpr int kSendsPerDrain = 16;
constexpr int kMaxDrainedPerPause = 256;

// What one reply takes of the receive buffer: the system counts its own bookkeeping with
// each datagram, so a typical reply of 1 to 2 KB takes up to about twice its size.
constexpr int kReplyBudgetBytes = 4096;
// How long a tick waits for replies when the buffer may hold no more; replies that take
// longer are late (or lost), and the buffer is empty by then.
constexpr std::chrono::milliseconds kRoomWait{20};

} // namespace

// The state of one scan on the worker thread.
class CQueryEngine::CScan
{
public:
    CScan(CQueryEngine& engine, unsigned scan, int limit)
        : m_engine(engine), m_scan(scan), m_limit(limit), m_next(engine.m_servers.begin())
    {
        m_clock = engine.m_options.clock ? engine.m_options.clock : ReadCounter;
    }

    void Run()
    {
        std::optional<CWaitableTimer> timer;
        IWaitable* tick = m_engine.m_options.tickSource;
        if (tick == nullptr) {
            timer.emplace(m_engine.m_options.tickPeriod);
            tick = &*timer;
        }
        m_socket.Create();
        // Only as many requests may wait for their replies as the granted buffer holds.
        m_window =
            std::max(1, m_socket.SetReceiveBufferSize(m_engine.m_options.receiveBufferBytes) /
                            kReplyBudgetBytes);

        // Wait order: stop event, socket, tick.
        const std::array<IWaitable*, 3> sources{&m_engine.m_stop, &m_socket, tick};
        int datagramsWhileTickDue = 0;
        for (;;) {
            const std::uint32_t ready = PollSources(sources, std::nullopt);
            if ((ready & 1u) != 0 && m_engine.m_stop.Acquire())
                return;
            const bool socketReady = (ready & 2u) != 0;
            const bool tickDue = (ready & 4u) != 0;
            // The socket comes before the tick, but a tick that has waited behind
            // kMaxDatagramsWhileTickDue datagrams goes first.
            if (tickDue && (!socketReady || datagramsWhileTickDue >= kMaxDatagramsWhileTickDue)) {
                if (!tick->Acquire())
                    continue;
                datagramsWhileTickDue = 0;
                if (Tick())
                    return;
            } else if (socketReady) {
                if (tickDue)
                    ++datagramsWhileTickDue;
                ReadDatagram();
            }
        }
    }

private:
    void ReadDatagram()
    {
        const NetworkEvents events = m_socket.EnumNetworkEvents();
        if (!CSockUDP::HasEvent(events, kNetworkRead))
            return;
        ReceiveOne();
    }

    // Reads one pending datagram and hands it to its server; false when none was read.
    bool ReceiveOne()
    {
        if (m_socket.ReceiveFrom(m_reply, m_sender) != 0)
            return false;
        m_unread = std::max(0, m_unread - 1);
        const std::int64_t now = m_clock();
        const auto found = m_engine.m_servers.find(m_sender);
        if (found == m_engine.m_servers.end())
            return true; // not a server of this scan
        CServer& server = found->second;
        const bool waiting = !server.IsFinished();
        server.HandleReply(m_reply, now);
        if (waiting && server.IsFinished() && m_engine.m_options.reportOnReply)
            ReportNow(server);
        return true;
    }

    // Hands an answered record over at once; it leaves the requests in flight.
    void ReportNow(CServer& server)
    {
        const auto it = std::find(m_inFlight.begin(), m_inFlight.end(), &server);
        if (it == m_inFlight.end())
            return;
        m_inFlight.erase(it);
        m_engine.m_listener.OnServerQueried(server, m_scan);
    }

    // Counts one request of the running tick. A fast limit sends thousands of requests in
    // one tick, and their replies come back while the tick is still sending: every
    // kSendsPerDrain requests the replies that are already there are read, so that the
    // socket's receive buffer does not overflow and drop them, and their pings are not
    // stretched by the rest of the tick.
    //
    // The replies of all requests sent may arrive at once, and the receive buffer drops
    // what it cannot hold: once as many requests wait as the buffer has room for replies,
    // the tick waits for them (or kRoomWait, or the stop event) before it sends more.
    void CountSend(int& sent)
    {
        ++sent;
        ++m_unread;
        if (m_unread >= m_window)
            WaitForRoom();
        else if (sent % kSendsPerDrain == 0)
            Drain();
    }

    void Drain()
    {
        for (int i = 0; i < kMaxDrainedPerPause && ReceiveOne(); ++i) {
        }
    }

    void WaitForRoom()
    {
        const std::array<IWaitable*, 2> sources{&m_engine.m_stop, &m_socket};
        while (m_unread >= m_window && !m_stopping) {
            Drain();
            if (m_unread < m_window)
                break;
            const std::uint32_t ready = PollSources(sources, kRoomWait);
            if ((ready & 1u) != 0)
                m_stopping = true; // the stop event stays signalled for the wait loop
            else if (ready == 0)
                m_unread = 0; // nothing came: the rest are late or lost
        }
    }

    // One tick; true when the scan is complete.
    bool Tick()
    {
        auto& servers = m_engine.m_servers;
        if (m_next == servers.end() && m_inFlight.empty())
            return true;
        int sent = 0;
        // Resends first, in order of the first request; finished records are reported.
        auto kept = m_inFlight.begin();
        for (auto it = m_inFlight.begin(); it != m_inFlight.end(); ++it) {
            CServer& server = **it;
            if (server.SendStatusRequest(m_socket, m_clock())) {
                CountSend(sent);
            } else if (server.IsFinished()) {
                m_engine.m_listener.OnServerQueried(server, m_scan);
                continue;
            }
            *kept++ = *it;
        }
        m_inFlight.erase(kept, m_inFlight.end());
        // Then new servers, up to the limit.
        while (m_next != servers.end() && sent < m_limit && !m_stopping) {
            CServer& server = m_next->second;
            server.SendStatusRequest(m_socket, m_clock());
            m_inFlight.push_back(&server);
            CountSend(sent);
            ++m_next;
        }
        if (m_engine.m_options.afterTick)
            m_engine.m_options.afterTick(sent);
        return false;
    }

    CQueryEngine& m_engine;
    const unsigned m_scan;
    const int m_limit;
    std::function<std::int64_t()> m_clock;
    CSockUDP m_socket;
    CServerMap::iterator m_next;
    std::vector<CServer*> m_inFlight;
    std::string m_reply; // one receive buffer for the whole scan
    CSockAddr m_sender;
    int m_window = 1;        // requests whose replies the receive buffer holds
    int m_unread = 0;        // requests sent whose replies may still arrive unread
    bool m_stopping = false; // the stop event was seen while a tick waited for room
};

CQueryEngine::CQueryEngine(IScanListener& listener) : CQueryEngine(listener, QueryEngineOptions{})
{
}

CQueryEngine::CQueryEngine(IScanListener& listener, QueryEngineOptions options)
    : m_listener(listener), m_options(std::move(options))
{
}

CQueryEngine::~CQueryEngine()
{
    SignalStop();
    WaitForWorker();
}

bool CQueryEngine::StartQuery(int limit)
{
    if (IsRunning())
        return false;
    if (m_worker.joinable())
        m_worker.join(); // the last scan has ended; collect its thread
    m_stop.Reset();
    for (auto& entry : m_servers)
        entry.second.Reset();
    const unsigned scan = m_scan.load() + 1;
    m_scan.store(scan);
    {
        std::lock_guard lock(m_mutex);
        m_running = true;
    }
    try {
        m_worker = std::thread(&CQueryEngine::WorkerMain, this, scan, std::max(limit, 1));
    } catch (...) {
        std::lock_guard lock(m_mutex);
        m_running = false;
        throw;
    }
    return true;
}

bool CQueryEngine::StopQuery(std::chrono::milliseconds waitLimit)
{
    std::unique_lock lock(m_mutex);
    if (m_running) {
        m_stop.Set();
        if (!m_workerEnded.wait_for(lock, waitLimit, [this] { return !m_running; }))
            return false;
    }
    lock.unlock();
    if (m_worker.joinable())
        m_worker.join();
    return true;
}

void CQueryEngine::SignalStop()
{
    if (IsRunning())
        m_stop.Set();
}

bool CQueryEngine::IsRunning() const
{
    std::lock_guard lock(m_mutex);
    return m_running;
}

void CQueryEngine::WaitForWorker()
{
    if (m_worker.joinable())
        m_worker.join();
}

void CQueryEngine::WorkerMain(unsigned scan, int limit)
{
    auto reportError = [&](const std::string& text) {
        try {
            m_listener.OnScanError(text, scan);
        } catch (...) {
            // The listener failed to take the report: nothing is left to tell.
        }
    };
    try {
        CScan(*this, scan, limit).Run();
    } catch (const std::exception& error) {
        reportError(error.what());
    } catch (...) {
        reportError(std::string(kUnknownScanException));
    }
    try {
        m_listener.OnScanEnded(scan);
    } catch (...) {
        // As above: the scan is over either way.
    }
    {
        std::lock_guard lock(m_mutex);
        m_running = false;
    }
    m_workerEnded.notify_all();
}
