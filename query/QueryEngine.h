#pragma once

#include "net/Event.h"
#include "query/ServerMap.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

class IWaitable;

// Receives the results of a scan. Every call comes from the engine's worker thread.
class IScanListener
{
public:
    virtual ~IScanListener() = default;
    // Once per finished record of scan `scan` (answered or timed out), in report order.
    // After this call the engine never touches the record again.
    virtual void OnServerQueried(CServer& server, unsigned scan) = 0;
    // The scan failed; text is the exception's text, or "Unhandled Unknown Exception!".
    virtual void OnScanError(const std::string& text, unsigned scan) = 0;
    // Last call of every scan (complete, stopped or failed).
    virtual void OnScanEnded(unsigned scan) = 0;
};

inline constexpr std::string_view kUnknownScanException = "Unhandled Unknown Exception!";

struct QueryEngineOptions
{
    // Period of the tick that paces the requests; the first tick is due at once.
    std::chrono::milliseconds tickPeriod{200};
    // Counter readings in nanoseconds (see net/Clock.h); empty: the monotonic clock.
    std::function<std::int64_t()> clock;
    // A tick source to use instead of the periodic timer (owned by the caller, who
    // signals it). For tests that step the ticks themselves.
    IWaitable* tickSource = nullptr;
    // Called on the worker after each tick with the number of requests it sent.
    std::function<void(int sent)> afterTick;
    // The receive buffer asked for; the system may grant less.
    int receiveBufferBytes = 4 << 20;
    // Hands a record to the listener as soon as its reply is read, instead of at the next
    // tick, so that a refresh of a few servers shows each one after its round trip; a scan
    // keeps reporting in tick order.
    bool reportOnReply = false;
};

// Datagrams read while a tick is due before the tick is served ahead of the socket, so that
// a flood of datagrams can delay the tick only briefly and never starve it.
inline constexpr int kMaxDatagramsWhileTickDue = 64;

// One scan at a time of the servers in its map, on a worker thread: each tick resends
// overdue requests and starts new servers up to the limit; replies are timed and parsed
// into their records; finished records are handed to the listener.
class CQueryEngine
{
public:
    explicit CQueryEngine(IScanListener& listener);
    CQueryEngine(IScanListener& listener, QueryEngineOptions options);
    // Stops a running scan and waits for it without limit.
    ~CQueryEngine();
    CQueryEngine(const CQueryEngine&) = delete;
    CQueryEngine& operator=(const CQueryEngine&) = delete;

    // Change only while !IsRunning().
    CServerMap& Servers() { return m_servers; }
    const CServerMap& Servers() const { return m_servers; }

    // Starts a scan of every record with `limit` requests per tick (at least 1). False while
    // a scan runs; otherwise Resets every record in map order and starts the worker.
    bool StartQuery(int limit);
    // Signals a running scan to stop and waits up to waitLimit for its end. True when no
    // scan runs afterwards. A scan that does not end in time keeps running; a later call
    // (or the destructor) waits again.
    bool StopQuery(std::chrono::milliseconds waitLimit);
    // Signals a running scan to stop without waiting.
    void SignalStop();
    // True from StartQuery until the worker has returned from OnScanEnded.
    bool IsRunning() const;
    // Number of the most recently started scan (1 for the first; 0 before any).
    unsigned ScanNumber() const { return m_scan.load(); }

private:
    class CScan;
    void WorkerMain(unsigned scan, int limit);
    void WaitForWorker();

    IScanListener& m_listener;
    QueryEngineOptions m_options;
    CServerMap m_servers;
    CEvent m_stop;
    std::thread m_worker;
    std::atomic<unsigned> m_scan{0};
    mutable std::mutex m_mutex;
    std::condition_variable m_workerEnded;
    bool m_running = false; // guarded by m_mutex
};

// Requests per tick for an index of the Speed box: 1 << index. An index outside the box
// (none selected, or a stored index of a longer list) gives the nearest entry's limit.
int SpeedLimit(int speedIndex);

// The texts of the Speed box, by index.
extern const std::array<std::string_view, 6> kSpeedNames;
