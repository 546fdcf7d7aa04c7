#pragma once

#include "app/MainDlgLayout.h"
#include "app/MainDlgOptions.h"
#include "app/SettingsKey.h"
#include "lattix/view/Notify.h"
#include "lattix/view/TableCtrl.h"
#include "panlo/ControlId.h"
#include "panlo/Resizer.h"

#include <QDialog>

#include <memory>

class CExComboBox;
class CExEdit;
class CFriendWatch;
class CFilterBar;
class CJoinFlow;
class CPlayerRowMenu;
class CRefreshCommands;
class CMainDlgSettings;
class CResultLists;
class CScanBridge;
class CScanFlow;
class CScanStatus;
class CScanStop;
class CSearchPanel;
class CServerRowMenu;
class CSplitCtrl;
class QCheckBox;
class QTabBar;

// The main window: query options, the three result grids in two views, the player search,
// joining, and the buttons of the favorites and option dialogs. It creates the controls
// and wires them to the pieces that do the work: the scan bridge, the result lists, the
// search panel, the join flow, the scan status, the settings and the dialogs.
class CMainDlg : public QDialog, public Lattix::CNotifyTarget, public MainDlgIds
{
    Q_OBJECT

public:
    // The application's name, also the window title.
    static const QString kAppName;

    explicit CMainDlg(MainDlgOptions options = {}, QWidget* parent = nullptr);
    ~CMainDlg() override;

    std::intptr_t OnNotify(Lattix::NMTABLECTRL& notification) override;
    std::intptr_t OnKeyNotify(Lattix::NMKEY& notification) override;

    // Commands, as the buttons run them.
    void QueryMaster();
    void QueryFavorites();
    void QueryRecent();
    void JoinServer();
    void OpenFavoritesDialog();
    void OpenOptionsDialog();
    void OpenMasterDialog();

    int CurrentView() const { return m_view; }
    void SetView(int view);

    // For tests and pictures.
    CResultLists& Lists() { return *m_lists; }
    CSearchPanel& Search() { return *m_search; }
    CJoinFlow& Joining() { return *m_join; }
    CServerRowMenu& RowMenu() { return *m_rowMenu; }
    CFilterBar& Filter() { return *m_filter; }
    CScanBridge& Bridge() { return *m_bridge; }
    CFriendWatch& Friends() { return *m_friends; }
    CRefreshCommands& Refresh() { return *m_refresh; }
    Lattix::CTableCtrl& PlayerList() { return m_playerList; }
    Lattix::CTableCtrl& ServerList() { return m_serverList; }
    Lattix::CTableCtrl& ServerPlayerList() { return m_serverPlayerList; }
    CSplitCtrl& Splitter() { return *m_splitter; }
    QWidget* Control(int id) const { return FindControl(this, id); }
    // The master server as "host:port"; resolved only when it is asked.
    const QString& MasterAddress() const { return m_master; }
    void SetMasterAddress(const QString& master) { m_master = master; }
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

    MainDlgOptions m_options;
    CSettingsKey m_settings;
    QString m_favoritesPath;

    Lattix::CTableCtrl m_playerList;
    Lattix::CTableCtrl m_serverList;
    Lattix::CTableCtrl m_serverPlayerList;
    std::unique_ptr<CResultLists> m_lists;
    std::unique_ptr<CScanBridge> m_bridge;
    std::unique_ptr<CSearchPanel> m_search;
    std::unique_ptr<CJoinFlow> m_join;
    std::unique_ptr<CServerRowMenu> m_rowMenu;
    std::unique_ptr<CScanStatus> m_status;
    std::unique_ptr<CScanStop> m_stop;
    std::unique_ptr<CScanFlow> m_flow;
    std::unique_ptr<CRefreshCommands> m_refresh;
    std::unique_ptr<CFilterBar> m_filter;
    std::unique_ptr<CMainDlgSettings> m_settingsIo;
    std::unique_ptr<CFriendWatch> m_friends;
    std::unique_ptr<CPlayerRowMenu> m_playerMenu;
    CResizer m_resizer;
    CSplitCtrl* m_splitter = nullptr;

    QTabBar* m_tabs = nullptr;
    CExComboBox* m_version = nullptr;
    CExComboBox* m_speed = nullptr;
    QCheckBox* m_includeEmpty = nullptr;
    QCheckBox* m_includeFull = nullptr;
    CExEdit* m_password = nullptr;

    QSize m_initialSize;
    int m_view = 0;
    QString m_master;
    bool m_shutDown = false;
};
