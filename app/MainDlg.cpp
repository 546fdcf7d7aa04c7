#include "app/MainDlg.h"

#include "app/CountryOption.h"
#include "app/FavoritesDlg.h"
#include "app/FavoritesFile.h"
#include "app/FilterBar.h"
#include "app/FriendWatch.h"
#include "app/JoinFlow.h"
#include "app/MainDlgLayout.h"
#include "app/MainDlgSettings.h"
#include "app/MasterServerDlg.h"
#include "app/OptionsDlg.h"
#include "app/PlayerRowMenu.h"
#include "app/Prompts.h"
#include "app/RecentServers.h"
#include "app/RefreshCommands.h"
#include "app/ResultLists.h"
#include "app/ScanBridge.h"
#include "app/ScanFlow.h"
#include "app/ScanStatus.h"
#include "app/ScanStop.h"
#include "app/SearchPanel.h"
#include "app/ServerRefresh.h"
#include "app/ServerRowMenu.h"
#include "lattix/view/VirtualKey.h"
#include "panlo/ControlId.h"
#include "panlo/SplitCtrl.h"
#include "velk/ExComboBox.h"
#include "velk/ExEdit.h"
#include "velk/HyperLink.h"
#include "velk/PopupMenu.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

using namespace Lattix;

const QString CMainDlg::kAppName = QStringLiteral("Farsighter =Wolfenstein= 1.4.1");

namespace {

template <typename T>
T* Find(const QWidget* parent, int id)
{
    return qobject_cast<T*>(FindControl(parent, id));
}

} // namespace

CMainDlg::CMainDlg(MainDlgOptions options, QWidget* parent)
    : QDialog(parent), m_options(std::move(options)),
      m_favoritesPath(m_options.favoritesPath.isEmpty() ? CFavoritesFile::DefaultPath()
                                                        : m_options.favoritesPath)
{
    // 1. Title (the icon comes with the controls).
    setWindowTitle(kAppName);
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    CPrompts::SetTitle(kAppName);

    // 2. Settings.
    m_settings.SetRoot(CSettingsKey::kCurrentUser);
    if (!m_settings.OpenKey(QStringLiteral("Software\\Farsighter RTCW"), true))
        QTimer::singleShot(0, this, [this] { m_status->ReportSettingsTrouble(this, m_settings); });

    // 3.-4. Controls and the grids' columns.
    CreateControls();
    m_lists = std::make_unique<CResultLists>(m_playerList, m_serverList, m_serverPlayerList);
    m_lists->DefineColumns(CMainDlgLayout::WidthScale(*this));
    m_status = std::make_unique<CScanStatus>(
        *Find<QLabel>(this, IDC_SERVER_COUNT), *Find<QLabel>(this, IDC_PLAYER_COUNT),
        *Find<QLabel>(this, IDC_SERVERS_TO_QUERY), *Find<QProgressBar>(this, IDC_PROGRESS),
        *Find<QLabel>(this, IDC_STATUS_LINE));
    m_search = std::make_unique<CSearchPanel>(
        *Find<CExComboBox>(this, IDC_SEARCH_TEXT), *Find<QListView>(this, IDC_SEARCH_HISTORY),
        *Find<QPushButton>(this, IDC_SEARCH), *Find<QPushButton>(this, IDC_DELETE_SEARCH), *m_lists,
        m_status->Line(), m_options.clock);
    m_join =
        std::make_unique<CJoinFlow>(*this, m_settings, CRecentServers::PathBeside(m_favoritesPath));
    m_rowMenu =
        std::make_unique<CServerRowMenu>(*this, *m_lists, m_status->Line(), m_favoritesPath);
    m_bridge = std::make_unique<CScanBridge>(
        m_options.engineOptions ? m_options.engineOptions() : QueryEngineOptions{}, this);
    m_bridge->SetMasterTimeouts(std::chrono::milliseconds(m_options.masterFirstTimeoutMs),
                                std::chrono::milliseconds(m_options.masterTimeoutStepMs));
    m_stop = std::make_unique<CScanStop>(*Find<QPushButton>(this, IDC_STOP), *m_bridge, *m_status,
                                         *m_lists);
    m_flow = std::make_unique<CScanFlow>(CScanFlow::Parts{*this, *m_bridge, *m_lists, *m_status,
                                                          *m_stop, *m_includeEmpty, *m_includeFull,
                                                          *m_version, *m_speed},
                                         m_options.scanLimit);
    connect(m_flow.get(), &CScanFlow::ScanFinished, this, &CMainDlg::ScanFinished);
    m_friends = std::make_unique<CFriendWatch>(
        CFriendWatch::Parts{*this, *m_lists, m_status->Line(), *Find<CHyperLink>(this, IDC_FRIENDS),
                            m_options.notifier, [this] { SetView(1); }},
        m_favoritesPath);
    connect(this, &CMainDlg::ScanFinished, m_friends.get(), &CFriendWatch::Review);
    m_playerMenu = std::make_unique<CPlayerRowMenu>(*m_friends);
    m_refresh = std::make_unique<CRefreshCommands>(
        CRefreshCommands::Parts{*this, *m_bridge, *m_lists, m_status->Line(), *m_flow, m_settings},
        m_options.clock, m_options.requeryPollMs);
    connect(&m_refresh->Refresher(), &CServerRefresh::Ended, m_friends.get(),
            &CFriendWatch::Review);
    m_filter = std::make_unique<CFilterBar>(*this, *m_lists, [this] { m_flow->ShowCounters(); });
    connect(m_flow.get(), &CScanFlow::ScanFinished, m_filter.get(), &CFilterBar::ListMods);
    connect(&m_refresh->Refresher(), &CServerRefresh::Ended, m_filter.get(),
            &CFilterBar::RecordsChanged);

    // 5.-6. Geometry, resizer and splitter.
    m_initialSize = size();
    CMainDlgLayout::Anchor(*this, m_resizer, *m_splitter, m_playerList, m_serverList,
                           m_serverPlayerList);

    // 7.-16. Everything the settings say.
    m_settingsIo = std::make_unique<CMainDlgSettings>(
        m_settings,
        CMainDlgSettings::Controls{*this, m_resizer, *m_splitter, m_playerList, m_serverList,
                                   m_serverPlayerList, *m_search, *m_password, *m_version, *m_speed,
                                   *m_includeEmpty, *m_includeFull});
    const CMainDlgSettings::State state =
        m_settingsIo->Read(m_initialSize, m_options.defaultMaster);
    m_join->ReadOptions();
    CCountryOption::Apply(m_options.countryLookup, m_settings, *m_lists, m_status->Line());
    m_filter->Read(m_settings);
    m_master = state.master;
    m_view = state.view;
    m_tabs->setCurrentIndex(state.view == 0 ? 0 : 1);
    SetView(state.view);

    // 17. The start-up query runs once the window is shown.
    const int startup = m_options.startupQuery >= 0
                            ? m_options.startupQuery
                            : m_settings.GetInt(QStringLiteral("StartupQuery"), 0);
    if (startup == 1)
        QTimer::singleShot(0, this, &CMainDlg::QueryFavorites);
    else if (startup == 2)
        QTimer::singleShot(0, this, &CMainDlg::QueryMaster);
    else if (startup == 3)
        QTimer::singleShot(0, this, &CMainDlg::QueryRecent);
}

CMainDlg::~CMainDlg()
{
    if (!m_shutDown) {
        m_bridge->Stop(std::chrono::hours(24 * 366));
        m_bridge->Servers().clear();
    }
}

void CMainDlg::CreateControls()
{
    CMainDlgLayout::Create(*this);
    CMainDlgLayout::ConnectAbout(*this, m_settings.FilePath(), m_favoritesPath);
    m_tabs = Find<QTabBar>(this, IDC_TABS);
    connect(m_tabs, &QTabBar::currentChanged, this, &CMainDlg::SetView);

    m_playerList.CreateFromControl(IDC_PLAYER_LIST, this);
    m_serverList.CreateFromControl(IDC_SERVER_LIST, this);
    m_serverPlayerList.CreateFromControl(IDC_FRAGS_PLAYERS_ON_SERVER, this);
    m_splitter = new CSplitCtrl(this);
    m_splitter->CreateFromControl(IDC_SPLITTER, this);

    m_version = Find<CExComboBox>(this, IDC_VERSION);
    m_speed = Find<CExComboBox>(this, IDC_SPEED);
    m_includeEmpty = Find<QCheckBox>(this, IDC_INCLUDE_EMPTY);
    m_includeFull = Find<QCheckBox>(this, IDC_INCLUDE_FULL);
    m_password = Find<CExEdit>(this, IDC_PASSWORD);

    const auto onClick = [this](int id, auto method) {
        connect(Find<QPushButton>(this, id), &QPushButton::clicked, this, method);
    };
    onClick(IDC_QUERY_MASTER, &CMainDlg::QueryMaster);
    onClick(IDC_QUERY_FAVORITES, &CMainDlg::QueryFavorites);
    onClick(IDC_QUERY_RECENT, &CMainDlg::QueryRecent);
    onClick(IDC_JOIN, &CMainDlg::JoinServer);
    onClick(IDC_FAVORITES_DIALOG, &CMainDlg::OpenFavoritesDialog);
    onClick(IDC_OPTIONS, &CMainDlg::OpenOptionsDialog);
    onClick(IDC_MASTER_DIALOG, &CMainDlg::OpenMasterDialog);
    onClick(IDC_CLOSE, &CMainDlg::reject);
}

void CMainDlg::done(int result)
{
    if (!m_shutDown) {
        m_shutDown = true;
        m_bridge->DropMaster();
        m_bridge->Stop(std::chrono::hours(24 * 366));
        m_bridge->Servers().clear();
        m_lists->Clear();
        m_settingsIo->Write({m_master, m_view});
        m_filter->Write(m_settings);
        m_status->ReportSettingsTrouble(this, m_settings);
    }
    QDialog::done(result);
}

void CMainDlg::keyPressEvent(QKeyEvent* event)
{
    // Escape that no control took (a grid's type-ahead, an open list) stops a running scan
    // and ends nothing else: the window closes by "Close" and by its close button only.
    if (event->matches(QKeySequence::Cancel)) {
        m_stop->Stop();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CMainDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_resizer.Resize();
}

void CMainDlg::SetView(int view)
{
    m_view = view;
    const bool players = view == 0;
    m_playerList.setVisible(players);
    m_serverList.setVisible(!players);
    m_serverPlayerList.setVisible(!players);
    m_splitter->setVisible(!players);
    if (m_tabs->currentIndex() != (players ? 0 : 1))
        m_tabs->setCurrentIndex(players ? 0 : 1);
}

void CMainDlg::QueryMaster()
{
    m_flow->QueryMaster(m_master);
}

void CMainDlg::QueryFavorites()
{
    m_flow->QueryFavorites(m_favoritesPath);
}

void CMainDlg::QueryRecent()
{
    m_flow->QueryRecent(CRecentServers::PathBeside(m_favoritesPath));
}

std::intptr_t CMainDlg::OnKeyNotify(NMKEY& key)
{
    // Enter on a row joins, as a double click does (in the players of a server: that
    // server); a held key does not start the game again and again.
    constexpr unsigned kRepeated = 0x4000;
    const auto from = key.hdr.idFrom;
    if (key.nVKey != VK_RETURN ||
        (from != IDC_PLAYER_LIST && from != IDC_SERVER_LIST && from != IDC_FRAGS_PLAYERS_ON_SERVER))
        return 0;
    if (!(key.uFlags & kRepeated))
        JoinServer();
    return 1;
}

std::intptr_t CMainDlg::OnNotify(NMTABLECTRL& n)
{
    const auto from = n.hdr.idFrom;
    switch (n.hdr.code) {
    case NM_DBLCLK:
        if (from == IDC_PLAYER_LIST || from == IDC_SERVER_LIST)
            JoinServer();
        return 0;
    case LXN_ROWCHANGED:
        if (from == IDC_SERVER_LIST)
            m_lists->ShowServerPlayers(n.nRow);
        return 0;
    case LXN_BODYMENU:
        if (n.pMenu)
            m_refresh->FillMenu(*n.pMenu, static_cast<int>(from), n.nRow);
        if (from == IDC_SERVER_LIST && n.pMenu)
            m_rowMenu->Fill(*n.pMenu, n.nRow);
        else if (n.pMenu)
            m_playerMenu->Fill(*n.pMenu,
                               from == IDC_PLAYER_LIST ? m_playerList : m_serverPlayerList, n.nRow);
        return 0;
    case LXN_BODYCOMMAND:
        if (m_refresh->Command(n.nCommand, static_cast<int>(from), n.nRow))
            return 1;
        if (from == IDC_SERVER_LIST)
            return m_rowMenu->Command(n.nCommand, n.nRow) ? 1 : 0;
        return m_playerMenu->Command(n.nCommand) ? 1 : 0;
    default:
        return 0;
    }
}

void CMainDlg::JoinServer()
{
    // What joining needs of the record is copied now: the join's questions run nested
    // event loops, and the record is not held across them.
    const CServer* server = m_view == 0 ? m_lists->ServerOfPlayerRow(m_playerList.GetSelectedRow())
                                        : m_lists->ServerOfServerRow(m_serverList.GetSelectedRow());
    if (!server)
        return;
    const CJoinFlow::Target target = CJoinFlow::TargetOf(*server);
    // Joining ends the querying: the scan, and a master query whose list would start another.
    m_bridge->SignalStop();
    if (m_bridge->DropMaster())
        m_status->Line().MasterDropped();
    m_join->Join(target, m_password->text(), m_password->echoMode() == QLineEdit::Normal);
}

void CMainDlg::OpenFavoritesDialog()
{
    CFavoritesDlg dialog(m_favoritesPath, m_settings, this);
    dialog.exec();
    m_status->ReportSettingsTrouble(this, m_settings);
}

void CMainDlg::OpenOptionsDialog()
{
    COptionsDlg dialog(m_settings, this);
    if (dialog.exec() == QDialog::Accepted) {
        m_join->ReadOptions();
        CCountryOption::Apply(m_options.countryLookup, m_settings, *m_lists, m_status->Line());
        m_refresh->ReadOptions();
    }
    m_status->ReportSettingsTrouble(this, m_settings);
}

void CMainDlg::OpenMasterDialog()
{
    CMasterServerDlg dialog(m_master, this);
    if (dialog.exec() == QDialog::Accepted)
        m_master = dialog.Master();
}
