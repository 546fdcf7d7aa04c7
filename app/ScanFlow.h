#pragma once

#include <QObject>
#include <QString>

class CExComboBox;
class CResultLists;
class CScanBridge;
class CScanStatus;
class CScanStop;
class CServer;
class QCheckBox;
class QWidget;

// The queries the window's buttons start: asks a master server or reads the favorites or
// the recent servers,
// scans their servers with the bridge, lists each record that answers, and keeps the
// counters, progress and status line in step until both lists are sorted at the end.
class CScanFlow : public QObject
{
    Q_OBJECT

public:
    // The window's pieces that a scan reads and fills.
    struct Parts
    {
        QWidget& window; // the parent of warnings
        CScanBridge& bridge;
        CResultLists& lists;
        CScanStatus& status;
        CScanStop& stop;
        QCheckBox& includeEmpty;
        QCheckBox& includeFull;
        CExComboBox& version;
        CExComboBox& speed;
    };

    // scanLimit: requests a tick of every scan; 0: as the Speed box says.
    CScanFlow(Parts parts, int scanLimit);

    // Asks the master ("host:port") for the servers of the chosen version; their scan
    // starts when it answers.
    void QueryMaster(const QString& master);
    // Scans the servers of the favorites file.
    void QueryFavorites(const QString& favoritesPath);
    // Scans the servers joined last, from the file of the recent servers; says so when
    // there are none.
    void QueryRecent(const QString& recentPath);
    // Scans the servers of the last query again, without the master or the favorites.
    void Rescan();
    // A query is under way: the master is asked, or a scan has servers left.
    bool IsBusy() const;
    // Ends a scan whose servers are all listed (its worker only waits for its last tick).
    // True when no scan runs afterwards.
    bool Settle();
    // Shows the row counts of the two lists.
    void ShowCounters();

signals:
    // The last record of a scan was listed (and both lists sorted), or the scan stopped.
    void ScanFinished();

private:
    // Ends a master query and a scan under way for a scan of a file's servers; false when
    // the scan could not be ended.
    bool Overtake();
    void StartScan();
    // Sorts both lists and says that the scan finished, in turns of its own.
    void FinishScan();
    void OnServerQueried(CServer* server);
    void OnMasterFinished(bool answered, const QString& error);

    Parts m_parts;
    int m_scanLimit = 0;
    bool m_includeEmptyScan = false;
    bool m_includeFullScan = true;
    unsigned m_finishedScans = 0;
};
