#include "app/ServerRefresh.h"

#include "app/ResultLists.h"
#include "app/ScanBridge.h"
#include "app/ScanFlow.h"
#include "app/StatusLine.h"
#include "query/Server.h"

#include <algorithm>

CServerRefresh::CServerRefresh(Parts parts, std::function<qint64()> clock)
    : m_parts(parts), m_clock(std::move(clock)), m_rows(parts.lists)
{
    connect(&m_parts.bridge, &CScanBridge::ServerRefreshed, this,
            &CServerRefresh::OnServerRefreshed);
    connect(&m_parts.bridge, &CScanBridge::RefreshEnded, this, &CServerRefresh::OnEnded);
}

int CServerRefresh::Refresh(const std::vector<CSockAddr>& addresses, bool quiet)
{
    CScanBridge& bridge = m_parts.bridge;
    if (m_parts.flow.IsBusy() || !m_parts.flow.Settle()) {
        if (!quiet)
            m_parts.status.Say(tr("A scan is running: refresh once it has ended."));
        return 0;
    }
    const qint64 now = m_clock();
    std::erase_if(m_asked, [now](const auto& asked) { return now - asked.second >= kMinGapMs; });
    int added = 0;
    QString tooSoon;
    for (const CSockAddr& address : addresses) {
        if (!bridge.Servers().contains(address))
            continue;
        if (m_asked.contains(address)) {
            tooSoon = QString::fromStdString(address.ToString());
            continue;
        }
        m_asked[address] = now;
        m_waiting.push_back(address);
        ++added;
    }
    if (added == 0) {
        if (!quiet && !tooSoon.isEmpty())
            m_parts.status.Say(
                tr("%1 was asked less than 10 seconds ago; it is not asked again yet.")
                    .arg(tooSoon));
        return 0;
    }
    if (!bridge.IsRefreshing())
        Start();
    return added;
}

void CServerRefresh::Start()
{
    // Servers that waited through a new query may be gone from the map.
    std::erase_if(m_waiting, [this](const CSockAddr& address) {
        return !m_parts.bridge.Servers().contains(address);
    });
    if (m_waiting.empty())
        return;
    m_asking = static_cast<int>(m_waiting.size());
    m_silent.clear();
    m_first = QString::fromStdString(m_waiting.front().ToString());
    const QString& first = m_first;
    if (!m_parts.bridge.Refresh(m_waiting)) {
        m_waiting.clear();
        m_asking = 0;
        return;
    }
    m_waiting.clear();
    // Where the rows are is looked up while the servers answer.
    m_rows.Prepare(m_parts.bridge.ScanNumber());
    m_parts.status.Say(m_asking == 1 ? tr("Refreshing %1 \u2026").arg(first)
                                     : tr("Refreshing %1 servers \u2026").arg(m_asking));
}

void CServerRefresh::OnServerRefreshed(const CServer* fresh)
{
    CServerMap& servers = m_parts.bridge.Servers();
    const auto found = servers.find(fresh->address);
    if (found == servers.end() || m_parts.bridge.IsRunning())
        return; // the map was refilled meanwhile
    if (fresh->tries < kAnsweredTries) {
        m_silent.push_back(QString::fromStdString(fresh->address.ToString()));
        return;
    }
    // The record stays where it is (the lists hold it); the password is the user's.
    CServer& record = found->second;
    std::string password = std::move(record.password);
    record = *fresh;
    record.password = std::move(password);
    if (m_rows.Update(record, m_parts.bridge.ScanNumber()))
        m_parts.flow.ShowCounters();
}

void CServerRefresh::OnEnded()
{
    const int asked = m_asking;
    m_asking = 0;
    if (m_silent.empty())
        m_parts.status.Say(asked == 1 ? tr("Refreshed %1.").arg(m_first)
                                      : tr("Refreshed %1 servers.").arg(asked));
    else if (asked == 1)
        m_parts.status.Say(
            tr("%1 did not answer; its row shows what it said before.").arg(m_silent.front()));
    else
        m_parts.status.Say(
            tr("%1 of %2 servers did not answer (%3); their rows show what they said before.")
                .arg(m_silent.size())
                .arg(asked)
                .arg(m_silent.front()));
    if (!m_waiting.empty())
        Start();
    emit Ended();
}
