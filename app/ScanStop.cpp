#include "app/ScanStop.h"

#include "app/ResultLists.h"
#include "app/ScanBridge.h"
#include "app/ScanStatus.h"

#include <QPushButton>

#include <chrono>

CScanStop::CScanStop(QPushButton& button, CScanBridge& bridge, CScanStatus& status,
                     CResultLists& lists)
    : m_button(button), m_bridge(bridge), m_status(status), m_lists(lists)
{
    m_button.setEnabled(false);
    connect(&m_button, &QPushButton::clicked, this, &CScanStop::Stop);
    // A scan that ended on its own (its last server, or a join that stopped it).
    connect(&m_bridge, &CScanBridge::ScanEnded, this, [this] { m_button.setEnabled(false); });
}

void CScanStop::Started()
{
    m_button.setEnabled(m_bridge.IsRunning());
}

bool CScanStop::Halt()
{
    if (!m_bridge.Stop(std::chrono::milliseconds(5000)))
        return false;
    m_button.setEnabled(false);
    m_status.Stopped();
    return true;
}

bool CScanStop::Stop()
{
    if (!m_bridge.IsRunning())
        return false;
    const int left = m_status.Left();
    if (!m_bridge.Stop(std::chrono::milliseconds(5000)))
        return false;
    m_button.setEnabled(false);
    // A scan whose last record was already listed finishes as any scan does.
    if (!m_status.Stopped())
        return false;
    m_lists.SortServers();
    m_lists.SortPlayers();
    m_status.Line().ScanStopped(m_status.Total() - left, m_status.Total());
    emit Stopped();
    return true;
}
