#include "app/ScanBridge.h"

#include "net/Error.h"
#include "net/SockAddr.h"
#include "query/MasterQuery.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>

#include <utility>

namespace {

// The engine's fixed messages, marked here so that they are shown in the user's language.
constexpr const char* kEngineTexts[] = {
    QT_TRANSLATE_NOOP("CScanBridge", "No response from master server."),
    QT_TRANSLATE_NOOP("CScanBridge", "Unhandled Unknown Exception!"),
};
static_assert(kNoMasterResponse == kEngineTexts[0] && kUnknownScanException == kEngineTexts[1]);

// Waiting "without limit" in a form that a deadline computation cannot overflow.
constexpr std::chrono::milliseconds kForever = std::chrono::hours(24 * 366);

// How long one batch of notices may keep the GUI thread, leaving time for putting the new
// rows in order within half a frame.
constexpr qint64 kSliceNs = 3'000'000;

// How long the first notice of a batch waits for others: one frame, too short to notice.
constexpr int kGatherMs = 16;

// A refresh asks its few servers all at once, and hands each over when its reply is read.
QueryEngineOptions RefreshOptions(QueryEngineOptions options)
{
    options.tickSource = nullptr;
    options.afterTick = nullptr;
    options.reportOnReply = true;
    return options;
}
constexpr int kRefreshLimit = 1 << 16;

} // namespace

CScanBridge::CScanBridge(QueryEngineOptions options, QObject* parent)
    : QObject(parent), m_engine(*this, options),
      m_refreshEngine(m_refreshListener, RefreshOptions(options))
{
    m_gather.setSingleShot(true);
    m_gather.setInterval(kGatherMs);
    connect(&m_gather, &QTimer::timeout, this, &CScanBridge::Drain);
}

CScanBridge::~CScanBridge()
{
    StopRefresh();
    m_activeScan = 0;
    m_engine.StopQuery(kForever);
    DropMaster();
    JoinMasterThread();
}

void CScanBridge::JoinMasterThread()
{
    if (m_masterThread.joinable())
        m_masterThread.join();
}

bool CScanBridge::Stop(std::chrono::milliseconds waitLimit)
{
    m_activeScan = 0;
    return m_engine.StopQuery(waitLimit);
}

void CScanBridge::SignalStop()
{
    m_engine.SignalStop();
}

bool CScanBridge::Start(int limit)
{
    StopRefresh();
    if (!m_engine.StartQuery(limit))
        return false;
    m_activeScan = m_engine.ScanNumber();
    return true;
}

bool CScanBridge::Refresh(const std::vector<CSockAddr>& addresses)
{
    if (IsRunning() || IsRefreshing() || addresses.empty())
        return false;
    m_refreshEngine.StopQuery(kForever); // collects the thread of the last refresh
    CServerMap& servers = m_refreshEngine.Servers();
    servers.clear();
    for (const CSockAddr& address : addresses)
        servers.try_emplace(address, address);
    if (!m_refreshEngine.StartQuery(kRefreshLimit))
        return false;
    m_activeRefresh = m_refreshEngine.ScanNumber();
    return true;
}

void CScanBridge::StopRefresh()
{
    m_activeRefresh = 0;
    m_refreshEngine.StopQuery(kForever);
}

void CScanBridge::CRefreshListener::OnServerQueried(CServer& server, unsigned scan)
{
    m_bridge.Post({Notice::Refreshed, scan, &server, {}});
}

void CScanBridge::CRefreshListener::OnScanError(const std::string& /*text*/, unsigned /*scan*/)
{
    // A refresh that fails ends as one whose servers did not answer.
}

void CScanBridge::CRefreshListener::OnScanEnded(unsigned scan)
{
    m_bridge.Post({Notice::RefreshDone, scan, nullptr, {}});
}

void CScanBridge::Post(Notice notice)
{
    // A refresh's few answers are awaited by the user: they are handed over at once, not
    // gathered for a frame as a scan's many are.
    const bool refresh = notice.kind == Notice::Refreshed || notice.kind == Notice::RefreshDone;
    bool wake = false;
    {
        const std::lock_guard lock(m_noticesMutex);
        wake = !m_drainDue;
        m_drainDue = true;
        m_notices.push_back(std::move(notice));
    }
    if (!wake)
        return;
    if (refresh)
        QMetaObject::invokeMethod(this, &CScanBridge::Drain, Qt::QueuedConnection);
    else
        QMetaObject::invokeMethod(&m_gather, qOverload<>(&QTimer::start), Qt::QueuedConnection);
}

void CScanBridge::Drain()
{
    QElapsedTimer slice;
    slice.start();
    for (;;) {
        Notice notice;
        {
            const std::lock_guard lock(m_noticesMutex);
            if (m_notices.empty()) {
                m_drainDue = false; // the next notice wakes this thread again
                break;
            }
            if (slice.nsecsElapsed() > kSliceNs) {
                // Let painting and input in: the rest follows in the turn of the event loop
                // after the next one, so that the rows of this slice are painted in a turn
                // of their own.
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        QMetaObject::invokeMethod(this, &CScanBridge::Drain, Qt::QueuedConnection);
                    },
                    Qt::QueuedConnection);
                break;
            }
            notice = std::move(m_notices.front());
            m_notices.pop_front();
        }
        const bool refresh = notice.kind == Notice::Refreshed || notice.kind == Notice::RefreshDone;
        if (notice.scan != (refresh ? m_activeRefresh : m_activeScan))
            continue; // of a scan that was stopped: its records may be gone
        switch (notice.kind) {
        case Notice::Refreshed:
            emit ServerRefreshed(notice.server);
            break;
        case Notice::RefreshDone:
            m_activeRefresh = 0;
            emit RefreshEnded();
            break;
        case Notice::Queried:
            emit ServerQueried(notice.server);
            break;
        case Notice::Error:
            emit ScanError(notice.text);
            break;
        case Notice::Ended:
            emit ScanEnded();
            break;
        }
    }
    emit BatchDone();
}

void CScanBridge::OnServerQueried(CServer& server, unsigned scan)
{
    Post({Notice::Queried, scan, &server, {}});
}

void CScanBridge::OnScanError(const std::string& text, unsigned scan)
{
    // The engine's fixed messages (kEngineTexts) in the user's language, others as they are.
    Post({Notice::Error, scan, nullptr, tr(text.c_str())});
}

void CScanBridge::OnScanEnded(unsigned scan)
{
    Post({Notice::Ended, scan, nullptr, {}});
}

void CScanBridge::SetMasterTimeouts(std::chrono::milliseconds first, std::chrono::milliseconds step)
{
    m_masterFirstTimeout = first;
    m_masterTimeoutStep = step;
}

bool CScanBridge::DropMaster()
{
    if (!IsFetchingMaster())
        return false;
    m_masterDropped = true;
    m_masterCancel.Set();
    return true;
}

bool CScanBridge::FetchMaster(const std::string& masterText, std::string request)
{
    if (IsFetchingMaster())
        return false;
    JoinMasterThread(); // a dropped query, cancelled: it ends at its next wait
    const unsigned fetch = ++m_masterFetch;
    m_masterDropped = false;
    m_masterCancel.Reset();
    MasterQueryOptions options;
    options.firstTimeout = m_masterFirstTimeout;
    options.timeoutStep = m_masterTimeoutStep;
    options.cancel = &m_masterCancel;
    m_masterThread = std::thread([this, fetch, masterText, request = std::move(request), options] {
        auto list = std::make_shared<CServerMap>();
        bool answered = false;
        QString error;
        try {
            const CSockAddr master(masterText);
            if (!master.IsValid())
                throw CError(tr("Cannot find the master server %1.")
                                 .arg(QString::fromStdString(masterText))
                                 .toStdString());
            answered = QueryMaster(master, request, *list, options) == MasterResult::Answered;
            if (!answered)
                error = tr(kEngineTexts[0]);
        } catch (const CError& e) {
            error = QString::fromStdString(e.what());
        } catch (...) {
            error = tr(kEngineTexts[1]);
        }
        QMetaObject::invokeMethod(
            this,
            [this, fetch, list, answered, error] {
                if (fetch != m_masterFetch)
                    return; // a later query has already joined this thread
                JoinMasterThread();
                if (m_masterDropped)
                    return;
                if (answered) {
                    // The list replaces the map only with no scan or refresh running.
                    StopRefresh();
                    Stop(kForever);
                    Servers() = std::move(*list);
                }
                emit MasterFinished(answered, error);
            },
            Qt::QueuedConnection);
    });
    return true;
}
