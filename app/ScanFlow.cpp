#include "app/ScanFlow.h"

#include "app/FavoritesFile.h"
#include "app/OptionsDlg.h"
#include "app/Prompts.h"
#include "app/RecentServers.h"
#include "app/ResultLists.h"
#include "app/ScanBridge.h"
#include "app/ScanStatus.h"
#include "app/ScanStop.h"
#include "lattix/view/TableCtrl.h"
#include "query/MasterQuery.h"
#include "query/Server.h"
#include "velk/ExComboBox.h"

#include <QCheckBox>
#include <QTimer>

CScanFlow::CScanFlow(Parts parts, int scanLimit) : m_parts(parts), m_scanLimit(scanLimit)
{
    CScanBridge& bridge = m_parts.bridge;
    connect(&bridge, &CScanBridge::ServerQueried, this, &CScanFlow::OnServerQueried);
    connect(&bridge, &CScanBridge::ScanEnded, this, [this] {
        if (m_parts.status.Stopped())
            emit ScanFinished();
    });
    // The rows of a batch take their places before the lists are painted again.
    connect(&bridge, &CScanBridge::BatchDone, this, [this] { m_parts.lists.KeepInOrder(); });
    connect(&bridge, &CScanBridge::ScanError, this, [this](const QString& text) {
        CPrompts::Show(&m_parts.window, QMessageBox::Warning, text);
    });
    connect(&bridge, &CScanBridge::MasterFinished, this, &CScanFlow::OnMasterFinished);
    connect(&m_parts.stop, &CScanStop::Stopped, this, &CScanFlow::ScanFinished);
}

void CScanFlow::StartScan()
{
    ++m_finishedScans; // an end-of-scan step still waiting belongs to the old scan
    m_includeEmptyScan = m_parts.includeEmpty.isChecked();
    m_includeFullScan = m_parts.includeFull.isChecked();
    m_parts.lists.Clear();
    m_parts.status.Start(static_cast<int>(m_parts.bridge.Servers().size()));
    ShowCounters();
    m_parts.bridge.Start(m_scanLimit > 0 ? m_scanLimit : SpeedLimit(m_parts.speed.currentIndex()));
    m_parts.stop.Started();
    // A scan of no servers (an empty favorites file, a master that lists none) has no last
    // answer to end it: it ends at once.
    if (m_parts.bridge.Servers().empty())
        FinishScan();
}

void CScanFlow::FinishScan()
{
    // Both lists in order at the end, each in an event-loop turn of its own.
    m_parts.lists.SortServers();
    const unsigned scan = ++m_finishedScans;
    QTimer::singleShot(0, this, [this, scan] {
        if (scan != m_finishedScans)
            return;
        m_parts.lists.SortPlayers();
        emit ScanFinished();
    });
}

void CScanFlow::QueryMaster(const QString& master)
{
    if (m_parts.bridge.IsFetchingMaster() || !m_parts.stop.Halt())
        return;
    m_includeEmptyScan = m_parts.includeEmpty.isChecked();
    m_includeFullScan = m_parts.includeFull.isChecked();
    const std::string request =
        BuildMasterRequest(ProtocolForVersionIndex(m_parts.version.currentIndex()),
                           m_includeFullScan, m_includeEmptyScan);
    if (m_parts.bridge.FetchMaster(master.toStdString(), request))
        m_parts.status.Line().AskingMaster(master, m_parts.version.currentText());
}

void CScanFlow::OnMasterFinished(bool answered, const QString& error)
{
    if (!answered) {
        m_parts.status.Line().MasterSilent();
        CPrompts::Show(&m_parts.window, QMessageBox::Warning, error);
        return;
    }
    m_parts.status.Line().MasterListed(static_cast<int>(m_parts.bridge.Servers().size()));
    StartScan();
}

bool CScanFlow::Overtake()
{
    // A file's servers overtake a master query still under way: its list must not replace
    // them.
    if (m_parts.bridge.DropMaster())
        m_parts.status.Line().MasterDropped();
    return m_parts.stop.Halt();
}

void CScanFlow::QueryRecent(const QString& recentPath)
{
    if (!Overtake())
        return;
    const CRecentServers::ScanLoad load =
        CRecentServers(recentPath).LoadForScan(m_parts.bridge.Servers());
    if (!load.read) {
        CPrompts::Show(&m_parts.window, QMessageBox::Warning, load.message);
        return;
    }
    // Before the first join there is nothing to scan, and the lists stay as they are.
    if (load.servers == 0) {
        m_parts.status.Line().Say(tr("No server has been joined yet."));
        return;
    }
    m_parts.status.Line().Clear();
    StartScan();
}

void CScanFlow::QueryFavorites(const QString& favoritesPath)
{
    if (!Overtake())
        return;
    // A file that cannot be read is the user's to know about, and the lists stay as they
    // were; the status line names the lines that are left out.
    const CFavoritesFile::ScanLoad load =
        CFavoritesFile(favoritesPath).LoadForScan(m_parts.bridge.Servers());
    if (!load.read) {
        CPrompts::Show(&m_parts.window, QMessageBox::Warning, load.message);
        return;
    }
    m_parts.status.Line().Say(load.message);
    StartScan();
}

void CScanFlow::Rescan()
{
    const int servers = static_cast<int>(m_parts.bridge.Servers().size());
    if (m_parts.bridge.IsFetchingMaster() || servers == 0 || !m_parts.stop.Halt())
        return;
    m_parts.status.Line().Say(tr("Querying the %1 servers of the last query again.").arg(servers));
    StartScan();
}

bool CScanFlow::IsBusy() const
{
    return m_parts.bridge.IsFetchingMaster() ||
           (m_parts.bridge.IsRunning() && m_parts.status.Left() > 0);
}

bool CScanFlow::Settle()
{
    return !m_parts.bridge.IsRunning() || m_parts.stop.Halt();
}

void CScanFlow::ShowCounters()
{
    CResultLists& lists = m_parts.lists;
    m_parts.status.ShowCounts(lists.Servers().GetRowCount(), lists.Players().GetRowCount(),
                              lists.Servers().GetHiddenRowCount(),
                              lists.Players().GetHiddenRowCount());
}

void CScanFlow::OnServerQueried(CServer* server)
{
    const bool last = m_parts.status.Queried();
    if (m_parts.lists.AddServer(*server, m_includeEmptyScan, m_includeFullScan))
        ShowCounters();
    if (last)
        FinishScan();
}
