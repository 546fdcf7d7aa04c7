#include "app/MainDlg.h"

#include "app/DialogBuilder.h"
#include "app/FavoritesDlg.h"
#include "app/FavoritesFile.h"
#include "app/GameLauncher.h"
#include "app/GridLayouts.h"
#include "app/JoinCommand.h"
#include "app/MasterServerDlg.h"
#include "app/OptionsDlg.h"
#include "app/PlayerSearch.h"
#include "app/Prompts.h"
#include "app/ResultLists.h"
#include "app/ScanBridge.h"
#include "app/ServerInfoDlg.h"
#include "format/Cp1252.h"
#include "lattix/view/VirtualKey.h"
#include "panlo/ControlId.h"
#include "panlo/SplitCtrl.h"
#include "query/Favorites.h"
#include "query/MasterQuery.h"
#include "query/Server.h"
#include "velk/ExComboBox.h"
#include "velk/ExEdit.h"
#include "velk/HyperLink.h"
#include "velk/PopupMenu.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <QTabBar>
#include <QTimer>
#include <algorithm>

#include <array>

using namespace Lattix;
using Kind = CDialogBuilder::Kind;

namespace {

// Targets of the two links above the lists.
constexpr const char* kHomePage = "https://farsighter.invalid/";
constexpr const char* kMailAddress = "mailto:team@farsighter.invalid";

} // namespace

const QString CMainDlg::kAppName = QStringLiteral("Farsighter =Wolfenstein= 1.4.1");

namespace {

constexpr QSize kTemplateSize(422, 272); // dialog units

// The window's template: controls in tab and stacking order.
const std::array<CDialogBuilder::Control, 44> kControls = {{
    {CMainDlg::IDC_TABS, Kind::TabBar, nullptr, {5, 6, 314, 262}},
    {CMainDlg::IDC_PLAYER_LIST, Kind::Placeholder, nullptr, {11, 24, 302, 79}},
    {CMainDlg::IDC_SERVER_LIST, Kind::Placeholder, nullptr, {11, 107, 198, 144}},
    {CMainDlg::IDC_SPLITTER, Kind::Placeholder, nullptr, {210, 24, 5, 228}},
    {CMainDlg::IDC_FRAGS_PLAYERS_ON_SERVER, Kind::Placeholder, nullptr, {216, 107, 97, 144}},
    {-1, Kind::Static, "a server browser by", {125, 8, 56, 8}},
    {CMainDlg::IDC_AUTHOR, Kind::Link, "the Farsighter team", {182, 8, 66, 8}},
    {CMainDlg::IDC_HOME_PAGE, Kind::Link, "Farsighter", {91, 8, 33, 8}},
    {CMainDlg::IDC_QUERY_AREA, Kind::Frame, nullptr, {323, 6, 96, 109}},
    {-1, Kind::Group, "Query Server Options", {326, 14, 90, 100}},
    {-1, Kind::Static, "Version:", {330, 26, 26, 8}},
    {CMainDlg::IDC_VERSION, Kind::ComboList, nullptr, {358, 24, 54, 43}},
    {-1, Kind::Static, "Speed:", {331, 42, 24, 8}},
    {CMainDlg::IDC_SPEED, Kind::ComboEdit, nullptr, {358, 40, 54, 95}},
    {CMainDlg::IDC_INCLUDE_EMPTY, Kind::Check, "Include empty servers", {330, 55, 81, 10}},
    {CMainDlg::IDC_INCLUDE_FULL, Kind::Check, "Include full servers", {330, 67, 75, 10}},
    {CMainDlg::IDC_QUERY_MASTER, Kind::Button, "Query Master", {331, 79, 61, 14}},
    {CMainDlg::IDC_MASTER_DIALOG, Kind::Button, "...", {395, 79, 15, 14}},
    {CMainDlg::IDC_QUERY_FAVORITES, Kind::Button, "Query Favorites", {331, 96, 62, 14}},
    {CMainDlg::IDC_FAVORITES_DIALOG, Kind::Button, "...", {395, 96, 15, 14}},
    {CMainDlg::IDC_SEARCH_GROUP, Kind::Group, "Search for player", {326, 116, 90, 80}},
    {CMainDlg::IDC_SEARCH_TEXT, Kind::ComboSimple, nullptr, {331, 126, 79, 49}},
    {CMainDlg::IDC_SEARCH, Kind::DefaultButton, "Search", {332, 178, 53, 14}},
    {CMainDlg::IDC_DELETE_SEARCH, Kind::Button, "Del", {391, 178, 19, 14}},
    {CMainDlg::IDC_JOIN_AREA, Kind::Frame, nullptr, {322, 191, 98, 79}},
    {-1, Kind::Group, nullptr, {326, 195, 90, 41}},
    {-1, Kind::Static, "Pwd:", {332, 205, 17, 8}},
    {CMainDlg::IDC_PASSWORD, Kind::Edit, nullptr, {351, 203, 58, 12}},
    {CMainDlg::IDC_JOIN, Kind::Button, "Join", {332, 218, 78, 14}},
    {CMainDlg::IDC_OPTIONS, Kind::Button, "Options ...", {332, 238, 78, 14}},
    {CMainDlg::IDC_CLOSE, Kind::Button, "Close", {332, 254, 78, 14}},
    {CMainDlg::IDC_COUNTER_AREA, Kind::Frame, nullptr, {0, 253, 209, 17}},
    {-1, Kind::Static, "Servers:", {11, 255, 27, 8}},
    {CMainDlg::IDC_SERVER_COUNT, Kind::Static, "0", {38, 255, 25, 10}},
    {-1, Kind::Static, "Players:", {68, 255, 26, 8}},
    {CMainDlg::IDC_PLAYER_COUNT, Kind::Static, "0", {93, 255, 25, 10}},
    {-1, Kind::Static, "Servers to Query:", {123, 255, 56, 8}},
    {CMainDlg::IDC_SERVERS_TO_QUERY, Kind::Static, "0", {179, 255, 25, 10}},
    {CMainDlg::IDC_PROGRESS, Kind::Progress, nullptr, {208, 255, 105, 9}},
}};

// The frame of the tab control, behind the grids; the tab bar sits on its top edge.
constexpr int kTabFrameId = 10230;

constexpr int kDefaultSpeed = 1;
constexpr int kDefaultProtocol = 60;
constexpr int kVersionFallbackIndex = 2; // "1.3"

template <typename T>
T* Find(const QWidget* parent, int id)
{
    return qobject_cast<T*>(FindControl(parent, id));
}

} // namespace

// The icon lives in the library's resources, which a static library must load itself.
static void LoadAppResources()
{
    Q_INIT_RESOURCE(farsighter);
}

CMainDlg::CMainDlg(MainDlgOptions options, QWidget* parent)
    : QDialog(parent), m_options(std::move(options)),
      m_favoritesPath(m_options.favoritesPath.isEmpty() ? CFavoritesFile::DefaultPath()
                                                        : m_options.favoritesPath)
{
    // 1. Title and icon.
    LoadAppResources();
    setWindowTitle(kAppName);
    setWindowIcon(QIcon(QStringLiteral(":/farsighter/farsighter.svg")));
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    CPrompts::SetTitle(kAppName);

    // 2. Settings.
    m_settings.SetRoot(CSettingsKey::kCurrentUser);
    if (!m_settings.OpenKey(QStringLiteral("Software\\Farsighter RTCW"), true))
        QTimer::singleShot(0, this, &CMainDlg::ReportSettingsTrouble);

    // 3.-4. Controls and the grids' columns.
    CreateControls();
    m_lists = std::make_unique<CResultLists>(m_playerList, m_serverList, m_serverPlayerList);
    m_lists->DefineColumns();
    m_search = std::make_unique<CPlayerSearch>(*m_lists);
    m_bridge = std::make_unique<CScanBridge>(
        m_options.engineOptions ? m_options.engineOptions() : QueryEngineOptions{}, this);
    m_bridge->SetMasterTimeouts(std::chrono::milliseconds(m_options.masterFirstTimeoutMs),
                                std::chrono::milliseconds(m_options.masterTimeoutStepMs));
    connect(m_bridge.get(), &CScanBridge::ServerQueried, this, &CMainDlg::OnServerQueried);
    connect(m_bridge.get(), &CScanBridge::ScanEnded, this, &CMainDlg::OnScanEnded);
    // A re-sort that fell due runs once, in an event-loop turn of its own.
    connect(m_bridge.get(), &CScanBridge::BatchDone, this, [this] {
        if (m_lists->IsSortDue())
            QTimer::singleShot(0, this, [this] { m_lists->SortDue(); });
    });
    connect(m_bridge.get(), &CScanBridge::ScanError, this,
            [this](const QString& text) { CPrompts::Show(this, QMessageBox::Warning, text); });
    connect(m_bridge.get(), &CScanBridge::MasterFinished, this, &CMainDlg::OnMasterFinished);

    // 5.-6. Geometry, resizer and splitter.
    SetUpLayout();

    // 7.-16. Everything the settings say.
    ReadSettings();

    // 17. The start-up query runs once the window is shown.
    const int startup = m_options.startupQuery >= 0
                            ? m_options.startupQuery
                            : m_settings.GetInt(QStringLiteral("StartupQuery"), 0);
    if (startup == 1)
        QTimer::singleShot(0, this, &CMainDlg::QueryFavorites);
    else if (startup == 2)
        QTimer::singleShot(0, this, &CMainDlg::QueryMaster);
}

CMainDlg::~CMainDlg()
{
    if (!m_shutDown) {
        m_bridge->Stop(std::chrono::hours(24 * 366));
        m_bridge->Servers().clear();
    }
}

QWidget* CMainDlg::Control(int id) const
{
    return FindControl(this, id);
}

void CMainDlg::CreateControls()
{
    CDialogBuilder builder(*this, CDialogBuilder::FittedUnits(font(), kControls));
    builder.AddAll(kControls);
    resize(builder.Pixels(QRect(QPoint(0, 0), kTemplateSize)).size());

    // The tab control: a frame over its whole rectangle, the tabs on its top edge.
    m_tabs = Find<QTabBar>(this, IDC_TABS);
    const QRect tabRect = m_tabs->geometry();
    m_tabFrame = new QFrame(this);
    static_cast<QFrame*>(m_tabFrame)->setFrameShape(QFrame::StyledPanel);
    SetControlId(m_tabFrame, kTabFrameId);
    m_tabs->addTab(QStringLiteral("Player list"));
    m_tabs->addTab(QStringLiteral("Server list"));
    // Tabs as wide as their titles, so the links beside them stay in sight.
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(false);
    const QSize tabSize = m_tabs->sizeHint();
    m_tabs->setGeometry(tabRect.x() + 2, tabRect.y(), tabSize.width(), tabSize.height());
    m_tabFrame->setGeometry(tabRect.adjusted(0, tabSize.height() - 1, 0, 0));
    m_tabFrame->lower();
    connect(m_tabs, &QTabBar::currentChanged, this, &CMainDlg::SetView);

    m_playerList.CreateFromControl(IDC_PLAYER_LIST, this);
    m_serverList.CreateFromControl(IDC_SERVER_LIST, this);
    m_serverPlayerList.CreateFromControl(IDC_FRAGS_PLAYERS_ON_SERVER, this);
    m_splitter = new CSplitCtrl(this);
    m_splitter->CreateFromControl(IDC_SPLITTER, this);

    for (const int id : {IDC_HOME_PAGE, IDC_AUTHOR}) {
        auto* link = Find<CHyperLink>(this, id);
        link->m_strURL = id == IDC_HOME_PAGE ? QString::fromLatin1(kHomePage)
                                             : QString::fromLatin1(kMailAddress);
        link->Attach();
        link->raise();
    }

    m_version = Find<CExComboBox>(this, IDC_VERSION);
    for (const std::string_view name : kVersionNames)
        m_version->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    m_speed = Find<CExComboBox>(this, IDC_SPEED);
    for (const std::string_view name : kSpeedNames)
        m_speed->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    m_searchText = Find<CExComboBox>(this, IDC_SEARCH_TEXT);
    m_searchText->m_bAutoSelect = false;
    m_searchText->SetSorted(true);
    m_includeEmpty = Find<QCheckBox>(this, IDC_INCLUDE_EMPTY);
    m_includeFull = Find<QCheckBox>(this, IDC_INCLUDE_FULL);
    m_password = Find<CExEdit>(this, IDC_PASSWORD);
    m_serversToQueryLabel = Find<QLabel>(this, IDC_SERVERS_TO_QUERY);
    m_serverCountLabel = Find<QLabel>(this, IDC_SERVER_COUNT);
    m_playerCountLabel = Find<QLabel>(this, IDC_PLAYER_COUNT);
    m_progress = Find<QProgressBar>(this, IDC_PROGRESS);

    const auto onClick = [this](int id, auto method) {
        connect(Find<QPushButton>(this, id), &QPushButton::clicked, this, method);
    };
    onClick(IDC_QUERY_MASTER, &CMainDlg::QueryMaster);
    onClick(IDC_QUERY_FAVORITES, &CMainDlg::QueryFavorites);
    onClick(IDC_JOIN, &CMainDlg::JoinServer);
    onClick(IDC_DELETE_SEARCH, &CMainDlg::DeleteSearchEntry);
    onClick(IDC_FAVORITES_DIALOG, &CMainDlg::OpenFavoritesDialog);
    onClick(IDC_OPTIONS, &CMainDlg::OpenOptionsDialog);
    onClick(IDC_MASTER_DIALOG, &CMainDlg::OpenMasterDialog);
    onClick(IDC_CLOSE, &CMainDlg::reject);
    connect(Find<QPushButton>(this, IDC_SEARCH), &QPushButton::clicked, this,
            [this] { SearchPlayer(m_searchText->currentText()); });
    connect(m_searchText, &CExComboBox::Command, this, [this](int, int code) {
        if (code == CExComboBox::kSelEndOk)
            OnSearchPicked();
        else if (code == CExComboBox::kDblClk && Now() > m_searchPickedUntil)
            SearchPlayer(m_searchText->currentText());
    });
}

void CMainDlg::SetUpLayout()
{
    // 5. The three grids cover one area; the view decides which are shown.
    m_initialSize = size();
    const QRect players = m_playerList.geometry();
    const QRect serverPlayers = m_serverPlayerList.geometry();
    QRect servers = m_serverList.geometry();
    servers.setTop(players.top());
    m_serverList.setGeometry(servers);
    QRect right = serverPlayers;
    right.setTop(players.top());
    m_serverPlayerList.setGeometry(right);
    QRect all = players;
    all.setBottom(serverPlayers.bottom());
    m_playerList.setGeometry(all);
    QRect bar = m_splitter->geometry();
    bar.setTop(players.top() + 1);
    bar.setBottom(serverPlayers.bottom() - 1);
    m_splitter->setGeometry(bar);

    // 6. Anchoring.
    using R = CResizer;
    m_resizer.Attach(this, 24);
    const int split =
        m_resizer.Add(m_splitter, R::kLeftProportional | R::kRightProportional | R::kBottomMoves);
    const unsigned stretch = R::kRightMoves | R::kBottomMoves;
    m_resizer.Add(m_tabFrame, stretch);
    m_resizer.Add(&m_playerList, stretch);
    m_resizer.Add(&m_serverList, R::kBottomMoves, -1, split);
    const int right0 = m_resizer.Add(&m_serverPlayerList, R::kLeftMoves | stretch, split);
    m_resizer.AddInRect(IDC_QUERY_AREA, R::kLeftMoves | R::kRightMoves, right0);
    const int queryArea = m_resizer.FindEntry(Control(IDC_QUERY_AREA));
    m_resizer.AddInRect(IDC_JOIN_AREA,
                        R::kLeftMoves | R::kRightMoves | R::kTopMoves | R::kBottomMoves, queryArea);
    m_resizer.AddInRect(IDC_COUNTER_AREA, R::kTopMoves | R::kBottomMoves);
    m_resizer.Add(m_progress, R::kRightMoves | R::kTopMoves | R::kBottomMoves);
    // The search box keeps its height: its history opens as a list below it.
    m_resizer.Add(IDC_SEARCH_TEXT, R::kLeftMoves | R::kRightMoves);
    m_resizer.Add(IDC_SEARCH_GROUP, R::kLeftMoves | R::kRightMoves | R::kBottomMoves);
    for (const int id : {IDC_SEARCH, IDC_DELETE_SEARCH})
        m_resizer.Add(id, R::kLeftMoves | R::kRightMoves | R::kTopMoves | R::kBottomMoves);
    m_splitter->Attach(&m_resizer, 15, 65);
    setMinimumSize(m_initialSize);
}

void CMainDlg::RestoreWindowRect()
{
    const auto stored = m_settings.GetRect(QStringLiteral("LastPos"));
    if (!stored || stored->width() < m_initialSize.width() || stored->height() <= 0)
        return;
    QRect rect = *stored;
    // A rectangle from a monitor that is gone comes back onto the available area, and an
    // absurd size (more than twice the desktop) shrinks to the desktop; a window spanning
    // several monitors stays as it was.
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) {
        const QRect desktop = primary->availableVirtualGeometry();
        if (rect.width() > 2 * desktop.width() || rect.height() > 2 * desktop.height())
            rect.setSize(rect.size().boundedTo(desktop.size()).expandedTo(m_initialSize));
        const QRect titleBar(rect.topLeft(), QSize(rect.width(), 24));
        if (!desktop.intersects(titleBar)) {
            const QRect area = primary->availableGeometry();
            rect.moveTopLeft(QPoint(
                std::clamp(rect.x(), area.left(), std::max(area.left(), area.right() - 100)),
                std::clamp(rect.y(), area.top(), std::max(area.top(), area.bottom() - 100))));
        }
    }
    setGeometry(rect);
    m_resizer.Resize();
    const int split = m_settings.GetInt(QStringLiteral("SplitPos"), 0);
    if (split != 0)
        m_splitter->SetPos(split);
}

void CMainDlg::ReadSettings()
{
    // 7. Layouts and default sort orders.
    RestoreGridLayout(m_settings, m_playerList, QStringLiteral("Lattix_Player"));
    m_playerList.Sort(std::vector<CSortKey>{{0, false}});
    m_playerList.Update(true);
    RestoreGridLayout(m_settings, m_serverList, QStringLiteral("Lattix_Server"));
    m_serverList.Sort(std::vector<CSortKey>{{4, false}});
    m_serverList.Update(true);
    RestoreGridLayout(m_settings, m_serverPlayerList, QStringLiteral("Lattix_PlayerOnServer"));
    m_serverPlayerList.Update(false);

    // 8. Search history and password.
    ReloadHistory(CSearchHistory::Parse(m_settings.GetString(QStringLiteral("LastPlayers"))), {});
    if (m_searchText->count() > 0)
        m_searchText->setCurrentIndex(0);
    m_password->setText(m_settings.GetString(QStringLiteral("Password")));

    // 9. Window rectangle and splitter.
    RestoreWindowRect();

    // 10.-14. Query options.
    const int version = m_settings.GetInt(QStringLiteral("Version"), kDefaultProtocol) - 56;
    m_version->setCurrentIndex(
        version >= 0 && version < m_version->count() ? version : kVersionFallbackIndex);
    m_autoClose = m_settings.GetInt(QStringLiteral("AutoClose"), 1) != 0;
    m_autoRequery = m_settings.GetInt(QStringLiteral("AutoRequery"), 0) != 0;
    m_includeEmpty->setChecked(m_settings.GetInt(QStringLiteral("IncludeEmptyServers"), 0) != 0);
    m_includeFull->setChecked(m_settings.GetInt(QStringLiteral("IncludeFullServers"), 1) != 0);
    m_master = m_settings.GetString(QStringLiteral("Master"), m_options.defaultMaster);
    const int speed = m_settings.GetInt(QStringLiteral("Speed"), kDefaultSpeed);
    m_speed->setCurrentIndex(speed >= 0 && speed < m_speed->count() ? speed : -1);

    // 15.-16. Tabs and view.
    const int view = m_settings.GetInt(QStringLiteral("LastView"), 0);
    m_view = view;
    m_tabs->setCurrentIndex(view == 0 ? 0 : 1);
    SetView(view);
}

void CMainDlg::WriteSettings()
{
    m_settings.SetInt(QStringLiteral("Speed"), m_speed->currentIndex());
    m_settings.SetInt(QStringLiteral("Version"), m_version->currentIndex() + 56);
    m_settings.SetInt(QStringLiteral("LastView"), m_view);
    m_settings.SetInt(QStringLiteral("IncludeEmptyServers"), m_includeEmpty->isChecked() ? 1 : 0);
    m_settings.SetInt(QStringLiteral("IncludeFullServers"), m_includeFull->isChecked() ? 1 : 0);
    m_settings.SetString(QStringLiteral("Master"), m_master);
    m_settings.SetString(QStringLiteral("LastPlayers"),
                         CSearchHistory::Format(HistoryEntries(), m_searchesThisSession));
    m_settings.SetString(QStringLiteral("Password"), m_password->text());
    SaveGridLayout(m_settings, m_playerList, QStringLiteral("Lattix_Player"));
    SaveGridLayout(m_settings, m_serverList, QStringLiteral("Lattix_Server"));
    SaveGridLayout(m_settings, m_serverPlayerList, QStringLiteral("Lattix_PlayerOnServer"));
    if (!isMinimized()) {
        m_settings.SetRect(QStringLiteral("LastPos"), normalGeometry().normalized());
        m_settings.SetInt(QStringLiteral("SplitPos"), m_splitter->GetPos());
    }
}

void CMainDlg::done(int result)
{
    if (!m_shutDown) {
        m_shutDown = true;
        m_bridge->DropMaster();
        m_bridge->Stop(std::chrono::hours(24 * 366));
        m_bridge->Servers().clear();
        m_lists->Clear();
        WriteSettings();
        ReportSettingsTrouble();
    }
    QDialog::done(result);
}

void CMainDlg::keyPressEvent(QKeyEvent* event)
{
    // Escape that no control took (a grid's type-ahead, an open list) ends nothing: the
    // window closes by "Close" and by its close button only.
    if (event->matches(QKeySequence::Cancel)) {
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

bool CMainDlg::StopScan()
{
    if (!m_bridge->Stop(std::chrono::milliseconds(5000)))
        return false;
    if (m_serversToQuery != 0)
        ShowScanStopped();
    return true;
}

void CMainDlg::ShowScanStopped()
{
    // Nothing of a stopped scan is queried any more.
    m_serversToQuery = 0;
    m_serversToQueryLabel->setNum(0);
    m_progress->setValue(0);
}

void CMainDlg::StartScan()
{
    ++m_finishedScans; // an end-of-scan step still waiting belongs to the old scan
    m_includeEmptyScan = m_includeEmpty->isChecked();
    m_includeFullScan = m_includeFull->isChecked();
    m_lists->Clear();
    m_serversToQuery = static_cast<int>(m_bridge->Servers().size());
    m_serversToQueryLabel->setNum(m_serversToQuery);
    ShowCounters();
    m_progress->setRange(0, std::max(1, m_serversToQuery));
    m_progress->setValue(0);
    m_bridge->Start(m_options.scanLimit > 0 ? m_options.scanLimit
                                            : SpeedLimit(m_speed->currentIndex()));
}

void CMainDlg::QueryMaster()
{
    if (m_bridge->IsFetchingMaster() || !StopScan())
        return;
    m_includeEmptyScan = m_includeEmpty->isChecked();
    m_includeFullScan = m_includeFull->isChecked();
    const std::string request = BuildMasterRequest(
        ProtocolForVersionIndex(m_version->currentIndex()), m_includeFullScan, m_includeEmptyScan);
    setCursor(Qt::BusyCursor);
    m_bridge->FetchMaster(m_master.toStdString(), request);
}

void CMainDlg::OnMasterFinished(bool answered, const QString& error)
{
    unsetCursor();
    if (!answered) {
        CPrompts::Show(this, QMessageBox::Warning, error);
        return;
    }
    StartScan();
}

void CMainDlg::QueryFavorites()
{
    // The favorites overtake a master query still under way: its list must not replace them.
    if (m_bridge->DropMaster())
        unsetCursor();
    if (!StopScan())
        return;
    // No file yet: there is nothing to scan. A file that cannot be read is the user's to
    // know about, and the lists stay as they were; so are the lines that are left out.
    const QString file = QDir::toNativeSeparators(m_favoritesPath);
    QStringList notices;
    const QFileInfo info(m_favoritesPath);
    if (!info.exists() && !info.isSymLink()) {
        m_bridge->Servers().clear();
    } else {
        try {
            const FavoritesLoad load = LoadFavoritesForScan(
                QFile::encodeName(m_favoritesPath).toStdString(), m_bridge->Servers());
            for (const std::string& notice : DescribeFavoritesLoad(load, file.toStdString()))
                notices.append(QString::fromStdString(notice));
        } catch (const CFavoritesError& error) {
            CPrompts::Show(this, QMessageBox::Warning,
                           QStringLiteral("Cannot read the favorites file %1: %2")
                               .arg(file, QString::fromLocal8Bit(error.what())));
            return;
        }
    }
    StartScan();
    if (!notices.isEmpty())
        CPrompts::Show(this, QMessageBox::Warning, notices.join(QLatin1Char('\n')));
}

void CMainDlg::ShowCounters()
{
    m_serverCountLabel->setNum(m_serverList.GetRowCount());
    m_playerCountLabel->setNum(m_playerList.GetRowCount());
}

void CMainDlg::OnServerQueried(CServer* server)
{
    --m_serversToQuery;
    if (m_serversToQuery % 2 == 0) {
        m_serversToQueryLabel->setNum(m_serversToQuery);
        m_progress->setValue(std::min(m_progress->maximum(), m_progress->value() + 2));
    }
    if (m_lists->AddServer(*server, m_includeEmptyScan, m_includeFullScan)) {
        m_lists->ResortVisibleList(m_view);
        ShowCounters();
    }
    if (m_serversToQuery == 0) {
        // Both lists in order at the end, each in an event-loop turn of its own.
        m_lists->SortServers();
        m_progress->setValue(0);
        const unsigned scan = ++m_finishedScans;
        QTimer::singleShot(0, this, [this, scan] {
            if (scan != m_finishedScans)
                return;
            m_lists->SortPlayers();
            emit ScanFinished();
        });
    }
}

void CMainDlg::OnScanEnded()
{
    if (m_serversToQuery != 0) {
        ShowScanStopped();
        emit ScanFinished();
    }
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
        if (from == IDC_SERVER_LIST && n.pMenu) {
            const bool valid = m_serverList.IsValidRow(n.nRow);
            // The menu runs a nested event loop, in which a new scan may refill the list;
            // the row's command must still be about this server.
            m_menuAddress =
                valid ? m_serverList.GetCellText(n.nRow, CResultLists::kServerAddressColumn)
                      : std::string();
            const auto items =
                CPopupMenu::ParseItems(valid ? "Add to favorites;-;Show server info;-"
                                             : "~Add to favorites;-;~Show server info;-");
            for (unsigned i = 0; i < items.size(); ++i)
                n.pMenu->InsertItem(i, items[i].flags | CPopupMenu::kByPosition,
                                    kAddToFavorites + i, items[i].text);
        }
        return 0;
    case LXN_BODYCOMMAND:
        if (from != IDC_SERVER_LIST)
            return 0;
        if ((n.nCommand == static_cast<int>(kAddToFavorites) ||
             n.nCommand == static_cast<int>(kShowServerInfo)) &&
            (!m_serverList.IsValidRow(n.nRow) ||
             m_serverList.GetCellText(n.nRow, CResultLists::kServerAddressColumn) !=
                 m_menuAddress)) {
            CPrompts::Show(this, QMessageBox::Warning,
                           QStringLiteral("The server %1 is no longer in the list.")
                               .arg(QString::fromStdString(m_menuAddress)));
            return 1;
        }
        if (n.nCommand == static_cast<int>(kAddToFavorites)) {
            AddToFavorites(n.nRow);
            return 1;
        }
        if (n.nCommand == static_cast<int>(kShowServerInfo)) {
            OpenServerInfo(n.nRow);
            return 1;
        }
        return 0;
    default:
        return 0;
    }
}

void CMainDlg::JoinServer()
{
    // What joining needs of the record is copied now: the questions below run nested event
    // loops, and the record is not held across them.
    QString address;
    QString favorite;
    {
        const CTableCtrl& grid = m_view == 0 ? m_playerList : m_serverList;
        const int row = grid.GetSelectedRow();
        const CServer* server =
            m_view == 0 ? m_lists->ServerOfPlayerRow(row) : m_lists->ServerOfServerRow(row);
        if (!server)
            return;
        address = QString::fromStdString(server->address.ToString());
        favorite = QString::fromStdString(Cp1252ToUtf8(server->password));
    }
    // Joining ends the querying: the scan, and a master query whose list would start another.
    m_bridge->SignalStop();
    if (m_bridge->DropMaster())
        unsetCursor();

    QString path = m_settings.GetString(QStringLiteral("RTCW"));
    QString password = m_password->text().trimmed();
    // A password that would add commands to the game's command line is refused before
    // anything else is asked.
    const auto refuse = [this](const QString& text) {
        const auto refusal = UnsafeJoinText(QStringLiteral("password"), text);
        if (refusal)
            CPrompts::Show(this, QMessageBox::Warning, *refusal);
        return refusal.has_value();
    };
    if (refuse(password))
        return;
    switch (ChooseJoinPassword(password, favorite)) {
    case JoinPasswordChoice::Typed:
        break;
    case JoinPasswordChoice::Favorite:
        password = favorite;
        break;
    case JoinPasswordChoice::Ask: {
        const auto answer =
            CPrompts::Show(this, QMessageBox::Question, AmbiguousPasswordQuestion(favorite),
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel || answer == QMessageBox::NoButton)
            return;
        if (answer == QMessageBox::Yes)
            password = favorite;
        break;
    }
    }
    if (refuse(password))
        return;
    const QStringList arguments = JoinArguments(JoinCommandText(address, password));
    const QStringList filters = {QStringLiteral("WolfMP.exe (*.exe)"),
                                 QStringLiteral("Game programs (wolfmp* iowolfmp* *.x86*)"),
                                 QStringLiteral("All files (*)")};
    for (;;) {
        const CGameLauncher::Result result = CGameLauncher::Start(path, arguments);
        if (result.started)
            break;
        if (!result.problem.isEmpty())
            CPrompts::Show(this, QMessageBox::Warning, result.problem);
        path = CPrompts::OpenFileName(this, path.isEmpty() ? QStringLiteral("WolfMP.exe") : path,
                                      filters);
        if (path.isEmpty())
            return;
        m_settings.SetString(QStringLiteral("RTCW"), path);
    }
    if (m_autoClose)
        reject();
}

qint64 CMainDlg::Now() const
{
    if (m_options.clock)
        return m_options.clock();
    static const QElapsedTimer started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return started.elapsed();
}

QStringList CMainDlg::HistoryEntries() const
{
    QStringList entries;
    for (int i = 0; i < m_searchText->count(); ++i)
        entries.append(m_searchText->itemText(i));
    return entries;
}

void CMainDlg::ReloadHistory(const QStringList& entries, const QString& select)
{
    const QSignalBlocker blocker(m_searchText);
    m_searchText->clear();
    for (const QString& entry : entries)
        m_searchText->AddItem(entry, 1);
    if (!select.isEmpty())
        m_searchText->setCurrentIndex(CSearchHistory::Find(entries, select));
}

void CMainDlg::OnSearchPicked()
{
    // A double click that picks an entry also ends in a double-click notice; it must not
    // search a second time.
    m_searchPickedUntil = Now() + 100;
    SearchPlayer(m_searchText->GetSelectedText());
}

void CMainDlg::SearchPlayer(const QString& rawText)
{
    const QString text = rawText.trimmed();
    if (text.isEmpty())
        return;
    QStringList entries = HistoryEntries();
    if (CSearchHistory::Find(entries, text) < 0) {
        entries.append(text);
        entries.sort(Qt::CaseInsensitive);
        ReloadHistory(entries, text);
    }
    m_searchesThisSession.removeAll(text);
    m_searchesThisSession.prepend(text);
    m_search->Run(text);
}

void CMainDlg::DeleteSearchEntry()
{
    const int index = m_searchText->currentIndex();
    if (index < 0)
        return;
    const QString entry = m_searchText->itemText(index);
    if (CPrompts::Show(this, QMessageBox::Question,
                       QStringLiteral("Are you sure to delete '%1'?").arg(entry),
                       QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        m_searchText->removeItem(index);
}

bool CMainDlg::AddToFavorites(int serverRow)
{
    if (!m_serverList.IsValidRow(serverRow))
        return false;
    QString error;
    const CFavoritesFile file(m_favoritesPath);
    const auto result =
        file.Add(QString::fromStdString(
                     m_serverList.GetCellText(serverRow, CResultLists::kServerAddressColumn)),
                 QString::fromStdString(
                     m_serverList.GetCellText(serverRow, CResultLists::kServerNameColumn)),
                 &error);
    if (result == CFavoritesFile::AddResult::Failed) {
        CPrompts::Show(this, QMessageBox::Warning,
                       QStringLiteral("Cannot write %1: %2").arg(m_favoritesPath, error));
        return false;
    }
    return true;
}

void CMainDlg::OpenFavoritesDialog()
{
    CFavoritesDlg dialog(m_favoritesPath, m_settings, this);
    dialog.exec();
    ReportSettingsTrouble();
}

void CMainDlg::ReportSettingsTrouble()
{
    if (m_settingsTroubleReported)
        return;
    const QString file = QDir::toNativeSeparators(m_settings.FilePath());
    QString text;
    if (!m_settings.IsWritable())
        text = QStringLiteral("The settings in %1 are read-only: they are used, but changes "
                              "cannot be saved.")
                   .arg(file);
    else if (!m_settings.WriteError().isEmpty())
        text =
            QStringLiteral("Cannot save the settings to %1: %2").arg(file, m_settings.WriteError());
    else
        return;
    m_settingsTroubleReported = true;
    CPrompts::Show(this, QMessageBox::Warning, text);
}

void CMainDlg::OpenOptionsDialog()
{
    COptionsDlg dialog(m_settings, this);
    if (dialog.exec() == QDialog::Accepted) {
        m_autoClose = m_settings.GetInt(QStringLiteral("AutoClose"), 1) != 0;
        m_autoRequery = m_settings.GetInt(QStringLiteral("AutoRequery"), 0) != 0;
    }
    ReportSettingsTrouble();
}

void CMainDlg::OpenMasterDialog()
{
    CMasterServerDlg dialog(m_master, this);
    if (dialog.exec() == QDialog::Accepted)
        m_master = dialog.Master();
}

void CMainDlg::OpenServerInfo(int serverRow)
{
    if (const CServer* server = m_lists->ServerOfServerRow(serverRow)) {
        CServerInfoDlg dialog(*server, this);
        dialog.exec();
    }
}
