#include "app/ScanStatus.h"

#include "app/Prompts.h"
#include "app/SettingsKey.h"

#include <QDir>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>

CScanStatus::CScanStatus(QLabel& serverCount, QLabel& playerCount, QLabel& serversToQuery,
                         QProgressBar& progress, QLabel& statusLine)
    : m_serverCount(serverCount), m_playerCount(playerCount), m_serversToQueryLabel(serversToQuery),
      m_progress(progress), m_line(statusLine)
{
}

void CScanStatus::Start(int servers)
{
    m_total = servers;
    m_serversToQuery = servers;
    m_serversToQueryLabel.setNum(servers);
    m_progress.setRange(0, std::max(1, servers));
    m_progress.setValue(0);
}

bool CScanStatus::Queried()
{
    --m_serversToQuery;
    if (m_serversToQuery % 2 == 0) {
        m_serversToQueryLabel.setNum(m_serversToQuery);
        m_progress.setValue(std::min(m_progress.maximum(), m_progress.value() + 2));
    }
    if (m_serversToQuery != 0)
        return false;
    m_progress.setValue(0);
    return true;
}

bool CScanStatus::Stopped()
{
    if (m_serversToQuery == 0)
        return false;
    m_serversToQuery = 0;
    m_serversToQueryLabel.setNum(0);
    m_progress.setValue(0);
    return true;
}

void CScanStatus::ShowCounts(int servers, int players, int hiddenServers, int hiddenPlayers)
{
    const auto show = [](QLabel& label, int shown, int hidden) {
        if (hidden > 0)
            label.setText(tr("%1 / %2").arg(shown).arg(shown + hidden));
        else
            label.setNum(shown);
    };
    show(m_serverCount, servers, hiddenServers);
    show(m_playerCount, players, hiddenPlayers);
}

void CScanStatus::ReportSettingsTrouble(QWidget* parent, const CSettingsKey& settings)
{
    if (m_settingsTroubleReported)
        return;
    const QString file = QDir::toNativeSeparators(settings.FilePath());
    QString text;
    if (!settings.IsWritable())
        text = tr("The settings in %1 are read-only: they are used, but changes "
                  "cannot be saved.")
                   .arg(file);
    else if (!settings.WriteError().isEmpty())
        text = tr("Cannot save the settings to %1: %2").arg(file, settings.WriteError());
    else
        return;
    m_settingsTroubleReported = true;
    CPrompts::Show(parent, QMessageBox::Warning, text);
}
