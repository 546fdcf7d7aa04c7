#pragma once

#include "app/StatusLine.h"
#include <QCoreApplication>

class CSettingsKey;
class QLabel;
class QProgressBar;
class QWidget;

// The main window's counters and status: the "Servers", "Players" and "Servers to Query"
// labels, the scan's progress bar, the status line, and the warning about settings that
// cannot be saved.
// It counts the servers a scan still has to query; labels and bar follow every second
// record, and a scan that stops early shows nothing left to query.
class CScanStatus
{
    Q_DECLARE_TR_FUNCTIONS(CScanStatus)

public:
    CScanStatus(QLabel& serverCount, QLabel& playerCount, QLabel& serversToQuery,
                QProgressBar& progress, QLabel& statusLine);

    CStatusLine& Line() { return m_line; }

    // A scan of `servers` records starts: all of them are to query, the bar is empty.
    void Start(int servers);
    // One record of the scan was queried. True when it was the last: the bar empties.
    bool Queried();
    // The scan stopped: nothing is left to query, the bar empties. False, and nothing
    // changes, when no record was still to query.
    bool Stopped();
    // Servers of the scan, and those of them not yet queried.
    int Total() const { return m_total; }
    int Left() const { return m_serversToQuery; }
    // Shows the shown row counts of the server list and the player list, each as
    // "shown / listed" while the filter bar hides some of its rows.
    void ShowCounts(int servers, int players, int hiddenServers = 0, int hiddenPlayers = 0);

    // Tells the user that the settings are read-only or that saving them failed; once in
    // the status's life, and nothing while neither is so.
    void ReportSettingsTrouble(QWidget* parent, const CSettingsKey& settings);

private:
    QLabel& m_serverCount;
    QLabel& m_playerCount;
    QLabel& m_serversToQueryLabel;
    QProgressBar& m_progress;
    CStatusLine m_line;
    int m_total = 0;
    int m_serversToQuery = 0;
    bool m_settingsTroubleReported = false;
};
