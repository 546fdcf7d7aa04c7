#pragma once

#include "query/QueryEngine.h"
#include "query/ServerMap.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// Runs one scan of the query engine and collects what it reports. The calling thread fills
// Servers(), calls Run and waits there, woken now and then to show progress, until every
// record is reported or the engine's last call for the scan (OnScanEnded).
class CScanDriver : public IScanListener
{
public:
    struct Progress
    {
        std::size_t toQuery = 0;  // records not yet reported
        std::size_t answered = 0; // reported records with an accepted reply
        std::size_t listed = 0;   // reported records that the filters let through
    };

    using ProgressFn = std::function<void(const Progress&)>;

    // The filters decide what Progress counts as listed; engineOptions go to the engine
    // (benchmarks count the requests of every tick with them).
    CScanDriver(bool includeEmpty, bool includeFull, QueryEngineOptions engineOptions = {});
    ~CScanDriver() override;

    CScanDriver(const CScanDriver&) = delete;
    CScanDriver& operator=(const CScanDriver&) = delete;

    // The records to scan; change them only outside Run.
    CServerMap& Servers() { return m_engine.Servers(); }

    // Scans every record of Servers() with `limit` new requests per tick and returns when
    // every record is reported (the engine is then stopped rather than waited for until its
    // next tick) or the scan has ended otherwise. onProgress, when given, is called on this thread
    // about every `interval` while the scan runs and once at its end. Returns the error text when
    // the scan failed.
    std::optional<std::string>
    Run(int limit, const ProgressFn& onProgress = {},
        std::chrono::milliseconds interval = std::chrono::milliseconds(100));

    // The records reported by the last Run, in report order. They stay valid until
    // Servers() is changed.
    const std::vector<const CServer*>& Reported() const { return m_reported; }

private:
    void OnServerQueried(CServer& server, unsigned scan) override;
    void OnScanError(const std::string& text, unsigned scan) override;
    void OnScanEnded(unsigned scan) override;

    const bool m_includeEmpty;
    const bool m_includeFull;

    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_running = false;
    Progress m_progress;
    std::vector<const CServer*> m_reported;
    std::optional<std::string> m_error;

    // Last member: destroyed first, so that its worker is gone before the state above.
    CQueryEngine m_engine;
};
