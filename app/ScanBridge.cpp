#include "app/ScanBridge.h"

#include "net/Error.h"
#include "net/SockAddr.h"
#include "query/MasterQuery.h"

#include <QMetaObject>

#include <utility>

namespace {

// Waiting "without limit" in a form that a deadline computation cannot overflow.
constexpr std::chrono::milliseconds kForever = std::chrono::hours(24 * 366);

} // namespace

CScanBridge::CScanBridge(QueryEngineOptions options, QObject* parent)
    : QObject(parent), m_engine(*this, std::move(options))
{
}

CScanBridge::~CScanBridge()
{
    m_activeScan = 0;
    m_engine.StopQuery(kForever);
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
    if (!m_engine.StartQuery(limit))
        return false;
    m_activeScan = m_engine.ScanNumber();
    return true;
}

void CScanBridge::OnServerQueried(CServer& server, unsigned scan)
{
    CServer* record = &server;
    QMetaObject::invokeMethod(
        this,
        [this, record, scan] {
            if (scan == m_activeScan)
                emit ServerQueried(record);
        },
        Qt::QueuedConnection);
}

void CScanBridge::OnScanError(const std::string& text, unsigned scan)
{
    QMetaObject::invokeMethod(
        this,
        [this, message = QString::fromStdString(text), scan] {
            if (scan == m_activeScan)
                emit ScanError(message);
        },
        Qt::QueuedConnection);
}

void CScanBridge::OnScanEnded(unsigned scan)
{
    QMetaObject::invokeMethod(
        this,
        [this, scan] {
            if (scan == m_activeScan)
                emit ScanEnded();
        },
        Qt::QueuedConnection);
}

void CScanBridge::SetMasterTimeouts(std::chrono::milliseconds first, std::chrono::milliseconds step)
{
    m_masterFirstTimeout = first;
    m_masterTimeoutStep = step;
}

bool CScanBridge::FetchMaster(const std::string& masterText, std::string request)
{
    if (IsFetchingMaster())
        return false;
    MasterQueryOptions options;
    options.firstTimeout = m_masterFirstTimeout;
    options.timeoutStep = m_masterTimeoutStep;
    m_masterThread = std::thread([this, masterText, request = std::move(request), options] {
        auto list = std::make_shared<CServerMap>();
        bool answered = false;
        QString error;
        try {
            const CSockAddr master(masterText);
            if (!master.IsValid())
                throw CError("Cannot find the master server " + masterText + ".");
            answered = QueryMaster(master, request, *list, options) == MasterResult::Answered;
            if (!answered)
                error = QString::fromUtf8(kNoMasterResponse.data(),
                                          static_cast<qsizetype>(kNoMasterResponse.size()));
        } catch (const CError& e) {
            error = QString::fromStdString(e.what());
        } catch (...) {
            error = QString::fromUtf8(kUnknownScanException.data(),
                                      static_cast<qsizetype>(kUnknownScanException.size()));
        }
        QMetaObject::invokeMethod(
            this,
            [this, list, answered, error] {
                JoinMasterThread();
                if (answered) {
                    // The list replaces the map only with no scan running.
                    Stop(kForever);
                    Servers() = std::move(*list);
                }
                emit MasterFinished(answered, error);
            },
            Qt::QueuedConnection);
    });
    return true;
}
