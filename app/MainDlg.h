#pragma once

#include "app/SettingsKey.h"
#include "lattix/model/SortKey.h"
#include "lattix/view/Notify.h"
#include "lattix/view/TableCtrl.h"
#include "panlo/Resizer.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

class CPlayerSearch;
class CResultLists;
class CScanBridge;
class CServer;
class CSplitCtrl;
class QCheckBox;
class CExComboBox;
class QLabel;
class CExEdit;
class QProgressBar;
class QTabBar;
struct QueryEngineOptions;

// How a main window is set up beyond its settings; the defaults are the program's.
struct MainDlgOptions
{
    // Where "Query Master" goes when no master is stored.
    QString defaultMaster = QStringLiteral("wolfmaster.idsoftware.com:27950");
    QString favoritesPath; // empty: favorites.dat in the application's data folder
    std::function<QueryEngineOptions()> engineOptions;
    // Time-outs of the master probe; tests shorten them.
    int masterFirstTimeoutMs = 1000;
    int masterTimeoutStepMs = 500;
    // Requests a tick of every scan; 0: by the Speed box. Benchmarks scan unpaced with it.
    int scanLimit = 0;
    // Milliseconds for the search box's double-click rule; empty: a monotonic clock.
    std::function<qint64()> clock;
    // The query that starts once the window is shown (0 none, 1 favorites, 2 master);
    // -1: as the "StartupQuery" setting says.
    int startupQuery = -1;
};

// The main window: query options, the three result grids in two views, the player search,
// joining, and the buttons of the favorites and option dialogs. It only wires the pieces
// that do the work (scan bridge, result lists, player search, join command, dialogs) to
// its controls and to the settings.
class CMainDlg : public QDialog, public Lattix::CNotifyTarget
{
    Q_OBJECT

public:
    // Control ids of the window's template.
    enum : int
    {
        IDC_FRAGS_PLAYERS_ON_SERVER = 1009,
        IDC_SEARCH_TEXT = 1010,
        IDC_PLAYER_LIST = 1011,
        IDC_SERVER_LIST = 1012,
        IDC_SERVERS_TO_QUERY = 1017,
        IDC_JOIN = 1018,
        IDC_SEARCH = 1019,
        IDC_AUTHOR = 1020,
        IDC_PLAYER_COUNT = 1021,
        IDC_INCLUDE_EMPTY = 1022,
        IDC_TABS = 1023,
        IDC_SPEED = 1024,
        IDC_PROGRESS = 1025,
        IDC_SERVER_COUNT = 1027,
        IDC_QUERY_AREA = 1028,
        IDC_COUNTER_AREA = 1029,
        IDC_SPLITTER = 1030,
        IDC_JOIN_AREA = 1031,
        IDC_DELETE_SEARCH = 1032,
        IDC_HOME_PAGE = 1033,
        IDC_SEARCH_GROUP = 1035,
        IDC_VERSION = 1036,
        IDC_PASSWORD = 1041,
        IDC_QUERY_FAVORITES = 1042,
        IDC_FAVORITES_DIALOG = 1044,
        IDC_MASTER_DIALOG = 1045,
        IDC_INCLUDE_FULL = 1047,
        IDC_OPTIONS = 1049,
        IDC_QUERY_MASTER = 1004,
        IDC_CLOSE = 2,
    };
    // Row commands of the server list's context menu.
    static constexpr unsigned kAddToFavorites = 57341;
    static constexpr unsigned kShowServerInfo = 57343;

    // The application's name, also the window title.
    static const QString kAppName;

    explicit CMainDlg(MainDlgOptions options = {}, QWidget* parent = nullptr);
    ~CMainDlg() override;

    std::intptr_t OnNotify(Lattix::NMTABLECTRL& notification) override;
    std::intptr_t OnKeyNotify(Lattix::NMKEY& notification) override;

    // Commands, as the buttons run them.
    void QueryMaster();
    void QueryFavorites();
    void JoinServer();
    void SearchPlayer(const QString& text);
    void DeleteSearchEntry();
    void OpenFavoritesDialog();
    void OpenOptionsDialog();
    void OpenMasterDialog();
    void OpenServerInfo(int serverRow);
    bool AddToFavorites(int serverRow);

    int CurrentView() const { return m_view; }
    void SetView(int view);

    // For tests and pictures.
    CResultLists& Lists() { return *m_lists; }
    CScanBridge& Bridge() { return *m_bridge; }
    Lattix::CTableCtrl& PlayerList() { return m_playerList; }
    Lattix::CTableCtrl& ServerList() { return m_serverList; }
    Lattix::CTableCtrl& ServerPlayerList() { return m_serverPlayerList; }
    CSplitCtrl& Splitter() { return *m_splitter; }
    QWidget* Control(int id) const;
    // The master server as "host:port"; resolved only when it is asked.
    const QString& MasterAddress() const { return m_master; }
    void SetMasterAddress(const QString& master) { m_master = master; }
    bool AutoClose() const { return m_autoClose; }
    const QString& FavoritesPath() const { return m_favoritesPath; }
    CSettingsKey& Settings() { return m_settings; }

signals:
    // The last record of a scan was listed (and both lists sorted), or the scan stopped.
    void ScanFinished();

protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void SetUpLayout();
    void ReadSettings();
    void WriteSettings();
    void RestoreWindowRect();
    // Tells the user, once, that the settings are read-only or that saving them failed.
    void ReportSettingsTrouble();

    bool StopScan();
    void StartScan();
    void OnServerQueried(CServer* server);
    void OnScanEnded();
    void ShowScanStopped();
    void OnMasterFinished(bool answered, const QString& error);
    void ShowCounters();

    void OnSearchPicked();
    void ReloadHistory(const QStringList& entries, const QString& select);
    QStringList HistoryEntries() const;
    qint64 Now() const;

    MainDlgOptions m_options;
    CSettingsKey m_settings;
    bool m_settingsTroubleReported = false;
    QString m_favoritesPath;

    Lattix::CTableCtrl m_playerList;
    Lattix::CTableCtrl m_serverList;
    Lattix::CTableCtrl m_serverPlayerList;
    std::unique_ptr<CResultLists> m_lists;
    std::unique_ptr<CPlayerSearch> m_search;
    std::unique_ptr<CScanBridge> m_bridge;
    CResizer m_resizer;
    CSplitCtrl* m_splitter = nullptr;

    QTabBar* m_tabs = nullptr;
    QWidget* m_tabFrame = nullptr;
    CExComboBox* m_version = nullptr;
    CExComboBox* m_speed = nullptr;
    CExComboBox* m_searchText = nullptr;
    QCheckBox* m_includeEmpty = nullptr;
    QCheckBox* m_includeFull = nullptr;
    CExEdit* m_password = nullptr;
    QLabel* m_serversToQueryLabel = nullptr;
    QLabel* m_serverCountLabel = nullptr;
    QLabel* m_playerCountLabel = nullptr;
    QProgressBar* m_progress = nullptr;

    QSize m_initialSize;
    int m_view = 0;
    QString m_master;
    bool m_includeEmptyScan = false;
    bool m_includeFullScan = true;
    bool m_autoClose = true;
    bool m_autoRequery = false;
    int m_serversToQuery = 0;
    unsigned m_finishedScans = 0;
    qint64 m_searchPickedUntil = -1;   // Now() starts at 0: nothing picked yet
    QStringList m_searchesThisSession; // newest first, for the history's cap
    std::string m_menuAddress;         // of the server-list row whose menu is open
    bool m_shutDown = false;
};
