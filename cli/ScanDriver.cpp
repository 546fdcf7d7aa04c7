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
    while (m_running) {
        m_ended.wait_for(lock, interval, [this] { return !m_running; });
        if (onProgress && m_running) {
            const Progress snapshot = m_progress;
            lock.unlock();
            onProgress(snapshot);
            lock.lock();
        }
    }
    const Progress last = m_progress;
    std::optional<std::string> error = m_error;
    lock.unlock();
    // The worker's last act was OnScanEnded; wait until it has returned, so that the
    // records are ours alone and the next Run can start a scan at once.
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
