#pragma once

#include "net/Event.h"
#include "query/QueryEngine.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// The desktop's side of the scan engine: owns the engine and its server map, and turns
// the engine's worker-thread notices into signals on the GUI thread. Every notice carries
// its scan number; a notice of a scan that is no longer the active one (stopped, or
// followed by a refilled map) is dropped before it can touch a record, so no signal ever
// hands out a record that a new scan freed.
//
// Notices wait in a queue of their own and are handed out in batches of a few
// milliseconds, so that a burst of replies never holds up painting and input for long;
// BatchDone follows every batch, in which the window does work that is due once for many
// rows. Notices that trickle in are gathered for a few milliseconds, so that a paced scan
// lists its rows a handful at a time instead of one by one. One batch is handed out at a
// time, and a batch cut short by its time slice leaves the next turn of the event loop to
// painting.
//
// The master server query runs on a thread of its own so that the window stays live while
// the master is probed; its list replaces the map only once the running scan has stopped.
// A master query that another command overtook is dropped: its thread is cancelled, and an
// answer that still comes in is thrown away.
//
// A refresh asks a few given servers again on an engine of its own, with records of its
// own, so the scan's records are only ever written by the GUI thread while no scan runs.
// A scan that starts, and a master list that replaces the map, end a refresh under way.
class CScanBridge : public QObject, private IScanListener
{
    Q_OBJECT

public:
    explicit CScanBridge(QueryEngineOptions options = {}, QObject* parent = nullptr);
    ~CScanBridge() override;

    // Change only while !IsRunning().
    CServerMap& Servers() { return m_engine.Servers(); }
    bool IsRunning() const { return m_engine.IsRunning(); }
    bool IsRefreshing() const { return m_activeRefresh != 0; }
    // Number of the most recently started scan (0 before any).
    unsigned ScanNumber() const { return m_engine.ScanNumber(); }
    // A master query runs whose answer is still wanted.
    bool IsFetchingMaster() const { return m_masterThread.joinable() && !m_masterDropped; }

    // Stops a running scan, waiting up to waitLimit; notices still queued are dropped.
    // True when no scan runs afterwards.
    bool Stop(std::chrono::milliseconds waitLimit = std::chrono::milliseconds(5000));
    // Asks a running scan to stop without waiting; it ends on its own.
    void SignalStop();
    // Starts a scan of the map with `limit` requests a tick.
    bool Start(int limit);

    // Asks the servers at the addresses again, while neither a scan nor a refresh runs;
    // ServerRefreshed follows for each (answered or timed out), then RefreshEnded.
    bool Refresh(const std::vector<CSockAddr>& addresses);
    // Ends a refresh under way; nothing more of it is handed out.
    void StopRefresh();

    // Asks the master ("host:port", resolved on the background thread) for its list;
    // MasterFinished follows. False while an earlier master query is still under way.
    bool FetchMaster(const std::string& master, std::string request);
    // Drops the master query under way, if any: the map stays as it is and no
    // MasterFinished follows. True when there was one.
    bool DropMaster();
    // The master query's master list, set into the map by the GUI thread after the scan
    // stopped. Options for tests.
    void SetMasterTimeouts(std::chrono::milliseconds first, std::chrono::milliseconds step);

signals:
    // A finished record of the active scan. Valid until the map is refilled.
    void ServerQueried(CServer* server);
    void ScanError(const QString& text);
    void ScanEnded();
    // A record of the refresh under way: its own, not the map's. Valid until the next
    // Refresh.
    void ServerRefreshed(const CServer* fresh);
    void RefreshEnded();
    // The notices that were waiting have been handed out (or the time slice is used up).
    void BatchDone();
    // answered: the map now holds the master's list; otherwise the map is as it was and
    // error is the text to show ("No response from master server." or a socket error).
    void MasterFinished(bool answered, const QString& error);

private:
    struct Notice
    {
        enum Kind
        {
            Queried,
            Error,
            Ended,
            Refreshed,
            RefreshDone
        } kind;
        unsigned scan;
        CServer* server = nullptr;
        QString text;
    };
    // Worker side: queue a notice and wake the GUI thread when the queue was empty.
    void Post(Notice notice);
    // GUI side: hand out waiting notices for one time slice.
    void Drain();

    void OnServerQueried(CServer& server, unsigned scan) override;
    void OnScanError(const std::string& text, unsigned scan) override;
    void OnScanEnded(unsigned scan) override;
    void JoinMasterThread();

    // Takes the refresh engine's notices to the same queue.
    class CRefreshListener : public IScanListener
    {
    public:
        explicit CRefreshListener(CScanBridge& bridge) : m_bridge(bridge) {}
        void OnServerQueried(CServer& server, unsigned scan) override;
        void OnScanError(const std::string& text, unsigned scan) override;
        void OnScanEnded(unsigned scan) override;

    private:
        CScanBridge& m_bridge;
    };

    CQueryEngine m_engine;
    CRefreshListener m_refreshListener{*this};
    CQueryEngine m_refreshEngine;
    // The refresh whose notices are delivered; 0 for none. GUI thread only.
    unsigned m_activeRefresh = 0;
    // The scan whose notices are delivered; 0 for none. GUI thread only.
    unsigned m_activeScan = 0;
    std::thread m_masterThread;
    CEvent m_masterCancel{false, true}; // cancels the thread's query
    unsigned m_masterFetch = 0;         // number of the latest master query; GUI thread only
    bool m_masterDropped = false;       // its answer is no longer wanted
    std::chrono::milliseconds m_masterFirstTimeout{1000};
    std::chrono::milliseconds m_masterTimeoutStep{500};
    std::mutex m_noticesMutex;
    std::deque<Notice> m_notices; // guarded by m_noticesMutex
    bool m_drainDue = false;      // a Drain is on its way; guarded by m_noticesMutex
    QTimer m_gather;              // started by the first notice of a batch; Drain follows
};
