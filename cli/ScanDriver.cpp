#include "cli/ScanDriver.h"

#include "cli/ResultSet.h"
#include "query/ResultRules.h"

#include <stdexcept>
#include <utility>

namespace {

// Far more than a worker needs to return after its last notice.
constexpr std::chrono::milliseconds kWorkerReturnLimit{60000};

} // namespace

CScanDriver::CScanDriver(bool includeEmpty, bool includeFull, QueryEngineOptions engineOptions)
    : m_includeEmpty(includeEmpty), m_includeFull(includeFull),
      m_engine(*this, std::move(engineOptions))
{
}

CScanDriver::~CScanDriver() = default;

std::optional<std::string> CScanDriver::Run(int limit, const ProgressFn& onProgress,
                                            std::chrono::milliseconds interval)
{
    std::unique_lock lock(m_mutex);
    m_reported.clear();
    m_reported.reserve(Servers().size());
    m_error.reset();
    m_progress = Progress{Servers().size(), 0, 0};
    m_running = true;
    lock.unlock();
    if (!m_engine.StartQuery(limit)) {
        lock.lock();
        m_running = false;
        throw std::logic_error("CScanDriver::Run: a scan is already running");
    }
    lock.lock();
    // Once every record is reported the results are complete: the engine would end only
    // at its next tick, so it is stopped instead of waited for.
    const auto done = [this] { return !m_running || m_progress.toQuery == 0; };
    while (!done()) {
        m_ended.wait_for(lock, interval, done);
        if (onProgress && !done()) {
            const Progress snapshot = m_progress;
            lock.unlock();
            onProgress(snapshot);
            lock.lock();
        }
    }
    const Progress last = m_progress;
    std::optional<std::string> error = m_error;
    lock.unlock();
    // Stop the engine (a no-op once its last act, OnScanEnded, is done) and wait until its
    // worker has returned, so that the records are ours alone and the next Run can start a
    // scan at once.
    m_engine.StopQuery(kWorkerReturnLimit);
    if (onProgress) {
        onProgress(last);
    }
    return error;
}

void CScanDriver::OnServerQueried(CServer& server, unsigned /*scan*/)
{
    const bool listed = HasRows(server) && PassesFilter(server, m_includeEmpty, m_includeFull);
    std::lock_guard lock(m_mutex);
    m_reported.push_back(&server);
    if (m_progress.toQuery > 0) {
        --m_progress.toQuery;
    }
    if (m_progress.toQuery == 0) {
        m_ended.notify_all();
    }
    m_progress.answered += IsAnswered(server) ? 1 : 0;
    m_progress.listed += listed ? 1 : 0;
}

void CScanDriver::OnScanError(const std::string& text, unsigned /*scan*/)
{
    std::lock_guard lock(m_mutex);
    m_error = text;
}

void CScanDriver::OnScanEnded(unsigned /*scan*/)
{
    std::lock_guard lock(m_mutex);
    m_running = false;
    m_ended.notify_all();
}
