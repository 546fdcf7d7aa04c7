#include "app/MainDlgLayout.h"

#include "app/AboutDlg.h"
#include "app/DialogBuilder.h"
#include "app/PasswordReveal.h"
#include "panlo/ControlId.h"
#include "panlo/Resizer.h"
#include "panlo/SplitCtrl.h"
#include "query/MasterQuery.h"
#include "query/QueryEngine.h"
#include "velk/HyperLink.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QIcon>
#include <QLineEdit>
#include <QTabBar>
#include <QUrl>

#include <array>

using Kind = CDialogBuilder::Kind;

namespace {

constexpr QSize kTemplateSize(422, 283); // dialog units

// The window's template: controls in tab and stacking order, one a line.
// clang-format off
const std::array<CDialogBuilder::Control, 54> kControls = {{
    {MainDlgIds::IDC_TABS, Kind::TabBar, nullptr, {5, 6, 314, 262}},
    {MainDlgIds::IDC_FILTER_TEXT, Kind::Edit, nullptr, {11, 24, 92, 12}},
    {MainDlgIds::IDC_HIDE_EMPTY, Kind::Check, QT_TRANSLATE_NOOP("Dialog", "Hide empty"), {107, 25, 56, 10}},
    {MainDlgIds::IDC_HIDE_FULL, Kind::Check, QT_TRANSLATE_NOOP("Dialog", "Hide full"), {165, 25, 50, 10}},
    {MainDlgIds::IDC_HIDE_PASSWORDED, Kind::Check, QT_TRANSLATE_NOOP("Dialog", "Hide passworded"), {217, 25, 80, 10}},
    {MainDlgIds::IDC_FILTER_PUNKBUSTER, Kind::ComboList, nullptr, {11, 39, 50, 60}},
    {MainDlgIds::IDC_FILTER_GAME_TYPE, Kind::ComboList, nullptr, {63, 39, 70, 60}},
    {MainDlgIds::IDC_FILTER_MOD, Kind::ComboList, nullptr, {135, 39, 60, 90}},
    {-1, Kind::Static, QT_TRANSLATE_NOOP("Dialog", "Max ping:"), {199, 41, 32, 8}},
    {MainDlgIds::IDC_FILTER_MAX_PING, Kind::Edit, nullptr, {232, 39, 26, 12}},
    {MainDlgIds::IDC_FILTER_CLEAR, Kind::Button, QT_TRANSLATE_NOOP("Dialog", "Clear"), {263, 38, 50, 14}},
    {MainDlgIds::IDC_PLAYER_LIST, Kind::Placeholder, nullptr, {11, 55, 302, 48}},
    {MainDlgIds::IDC_SERVER_LIST, Kind::Placeholder, nullptr, {11, 107, 198, 144}},
    {MainDlgIds::IDC_SPLITTER, Kind::Placeholder, nullptr, {210, 55, 5, 197}},
    {MainDlgIds::IDC_FRAGS_PLAYERS_ON_SERVER, Kind::Placeholder, nullptr, {216, 107, 97, 144}},
    {-1, Kind::Static, QT_TRANSLATE_NOOP("Dialog", "a server browser by"), {125, 8, 56, 8}},
    {MainDlgIds::IDC_AUTHOR, Kind::Link, QT_TRANSLATE_NOOP("Dialog", "the Farsighter team"), {182, 8, 66, 8}},
    {MainDlgIds::IDC_HOME_PAGE, Kind::Link, "Farsighter", {91, 8, 33, 8}},
    {MainDlgIds::IDC_FRIENDS, Kind::Link, nullptr, {262, 8, 54, 8}},
    {MainDlgIds::IDC_QUERY_AREA, Kind::Frame, nullptr, {323, 6, 96, 109}},
    {-1, Kind::Group, QT_TRANSLATE_NOOP("Dialog", "Query Server Options"), {326, 14, 90, 100}},
    {-1, Kind::Static, QT_TRANSLATE_NOOP("Dialog", "Version:"), {330, 25, 26, 8}},
    {MainDlgIds::IDC_VERSION, Kind::ComboList, nullptr, {358, 23, 54, 43}},
    {-1, Kind::Static, QT_TRANSLATE_NOOP("Dialog", "Speed:"), {331, 38, 24, 8}},
    {MainDlgIds::IDC_SPEED, Kind::ComboEdit, nullptr, {358, 36, 54, 95}},
    {MainDlgIds::IDC_INCLUDE_EMPTY, Kind::Check, QT_TRANSLATE_NOOP("Dialog", "Include empty servers"), {330, 50, 81, 10}},
    {MainDlgIds::IDC_INCLUDE_FULL, Kind::Check, QT_TRANSLATE_NOOP("Dialog", "Include full servers"), {330, 61, 75, 10}},
    {MainDlgIds::IDC_QUERY_MASTER, Kind::Button, QT_TRANSLATE_NOOP("Dialog", "Query Master"), {331, 72, 61, 13}},
    {MainDlgIds::IDC_MASTER_DIALOG, Kind::Button, "...", {395, 72, 15, 13}},
    {MainDlgIds::IDC_QUERY_FAVORITES, Kind::Button, QT_TRANSLATE_NOOP("Dialog", "Query Favorites"), {331, 86, 62, 13}},
    {MainDlgIds::IDC_FAVORITES_DIALOG, Kind::Button, "...", {395, 86, 15, 13}},
    {MainDlgIds::IDC_QUERY_RECENT, Kind::Button, QT_TRANSLATE_NOOP("Dialog", "Query Recent"), {331, 100, 62, 13}},
    {MainDlgIds::IDC_SEARCH_GROUP, Kind::Group, QT_TRANSLATE_NOOP("Dialog", "Search for player"), {326, 116, 90, 80}},
    {MainDlgIds::IDC_SEARCH_TEXT, Kind::ComboSimple, nullptr, {331, 126, 79, 12}},
    {MainDlgIds::IDC_SEARCH_HISTORY, Kind::List, nullptr, {331, 139, 79, 36}},
    {MainDlgIds::IDC_SEARCH, Kind::DefaultButton, QT_TRANSLATE_NOOP("Dialog", "Search"), {332, 178, 53, 14}},
    {MainDlgIds::IDC_DELETE_SEARCH, Kind::Button, QT_TRANSLATE_NOOP("Dialog", "Del"), {391, 178, 19, 14}},
    {MainDlgIds::IDC_JOIN_AREA, Kind::Frame, nullptr, {322, 191, 98, 79}},
    {-1, Kind::Group, nullptr, {326, 195, 90, 41}},
    {-1, Kind::Static, QT_TRANSLATE_NOOP("Dialog", "Pwd:"), {332, 205, 17, 8}},
    {MainDlgIds::IDC_PASSWORD, Kind::Edit, nullptr, {351, 203, 58, 12}},
    {MainDlgIds::IDC_JOIN, Kind::Button, QT_TRANSLATE_NOOP("Dialog", "Join"), {332, 218, 78, 14}},
    {MainDlgIds::IDC_OPTIONS, Kind::Button, QT_TRANSLATE_NOOP("Dialog", "Options ..."), {332, 238, 78, 14}},
    {MainDlgIds::IDC_CLOSE, Kind::Button, QT_TRANSLATE_NOOP("Dialog", "Close"), {332, 254, 78, 14}},
    {MainDlgIds::IDC_COUNTER_AREA, Kind::Frame, nullptr, {0, 253, 241, 17}},
    {-1, Kind::Static, QT_TRANSLATE_NOOP("Dialog", "Servers:"), {11, 255, 27, 8}},
    {MainDlgIds::IDC_SERVER_COUNT, Kind::Static, "0", {38, 255, 42, 10}},
    {-1, Kind::Static, QT_TRANSLATE_NOOP("Dialog", "Players:"), {82, 255, 26, 8}},
    {MainDlgIds::IDC_PLAYER_COUNT, Kind::Static, "0", {107, 255, 48, 10}},
    {-1, Kind::Static, QT_TRANSLATE_NOOP("Dialog", "Servers to Query:"), {157, 255, 56, 8}},
    {MainDlgIds::IDC_SERVERS_TO_QUERY, Kind::Static, "0", {213, 255, 25, 10}},
    {MainDlgIds::IDC_PROGRESS, Kind::Progress, nullptr, {240, 255, 38, 9}},
    {MainDlgIds::IDC_STOP, Kind::Button, QT_TRANSLATE_NOOP("Dialog", "Stop"), {281, 253, 32, 13}},
    {MainDlgIds::IDC_STATUS_LINE, Kind::Static, nullptr, {7, 272, 410, 9}},
}};
// clang-format on

// The horizontal base unit of the 8-point dialog font, in pixels.
constexpr int kTemplateBaseWidth = 6;

// The target the program's name shows as its tooltip; a click opens the About box.
constexpr const char* kAboutTarget = "about:farsighter";

// The frame of the tab control, behind the grids; the tab bar sits on its top edge.
constexpr int kTabFrameId = 10230;

} // namespace

// The icon lives in the library's resources, which a static library must load itself.
static void LoadAppResources()
{
    Q_INIT_RESOURCE(farsighter);
}

void CMainDlgLayout::Create(QDialog& window)
{
    LoadAppResources();
    window.setWindowIcon(QIcon(QStringLiteral(":/farsighter/farsighter.svg")));
    CDialogBuilder builder(window, CDialogBuilder::FittedUnits(window.font(), kControls));
    builder.AddAll(kControls);
    window.resize(builder.Pixels(QRect(QPoint(0, 0), kTemplateSize)).size());

    // The tab control: a frame over its whole rectangle, the tabs on its top edge.
    auto* tabs = qobject_cast<QTabBar*>(FindControl(&window, MainDlgIds::IDC_TABS));
    const QRect tabRect = tabs->geometry();
    auto* frame = new QFrame(&window);
    frame->setFrameShape(QFrame::StyledPanel);
    SetControlId(frame, kTabFrameId);
    tabs->addTab(QCoreApplication::translate("CMainDlgLayout", "Player list"));
    tabs->addTab(QCoreApplication::translate("CMainDlgLayout", "Server list"));
    // Tabs as wide as their titles, so the links beside them stay in sight.
    tabs->setExpanding(false);
    tabs->setDrawBase(false);
    const QSize tabSize = tabs->sizeHint();
    tabs->setGeometry(tabRect.x() + 2, tabRect.y(), tabSize.width(), tabSize.height());
    frame->setGeometry(tabRect.adjusted(0, tabSize.height() - 1, 0, 0));
    frame->lower();

    for (const int id : {MainDlgIds::IDC_HOME_PAGE, MainDlgIds::IDC_AUTHOR}) {
        auto* link = qobject_cast<CHyperLink*>(FindControl(&window, id));
        link->m_strURL = id == MainDlgIds::IDC_HOME_PAGE ? QString::fromLatin1(kAboutTarget)
                                                         : CAboutDlg::ReadmeUrl().toString();
        link->Attach();
        link->raise();
    }

    // The search history's list starts right below the search field.
    QWidget* history = FindControl(&window, MainDlgIds::IDC_SEARCH_HISTORY);
    QRect list = history->geometry();
    list.setTop(FindControl(&window, MainDlgIds::IDC_SEARCH_TEXT)->geometry().bottom() + 3);
    history->setGeometry(list);

    CPasswordReveal::Attach(
        *qobject_cast<QLineEdit*>(FindControl(&window, MainDlgIds::IDC_PASSWORD)));

    auto* version = qobject_cast<QComboBox*>(FindControl(&window, MainDlgIds::IDC_VERSION));
    for (const std::string_view name : kVersionNames)
        version->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    auto* speed = qobject_cast<QComboBox*>(FindControl(&window, MainDlgIds::IDC_SPEED));
    for (const std::string_view name : kSpeedNames)
        speed->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

double CMainDlgLayout::WidthScale(const QDialog& window)
{
    return CDialogBuilder::FittedUnits(window.font(), kControls).BaseWidth() /
           static_cast<double>(kTemplateBaseWidth);
}

void CMainDlgLayout::ConnectAbout(QDialog& window, const QString& settingsPath,
                                  const QString& favoritesPath)
{
    auto* link = qobject_cast<CHyperLink*>(FindControl(&window, MainDlgIds::IDC_HOME_PAGE));
    CLinkDesktop desktop = CLinkDesktop::System();
    desktop.openUrl = [&window, settingsPath, favoritesPath](const QUrl&) {
        CAboutDlg(settingsPath, favoritesPath, &window).exec();
        return true;
    };
    link->SetDesktop(std::move(desktop));
}

void CMainDlgLayout::Anchor(QDialog& window, CResizer& resizer, CSplitCtrl& splitter,
                            QWidget& players, QWidget& servers, QWidget& serverPlayers)
{
    using Ids = MainDlgIds;
    // The three grids cover one area; the view decides which are shown.
    const QRect top = players.geometry();
    const QRect bottom = serverPlayers.geometry();
    QRect left = servers.geometry();
    left.setTop(top.top());
    servers.setGeometry(left);
    QRect right = bottom;
    right.setTop(top.top());
    serverPlayers.setGeometry(right);
    QRect all = top;
    all.setBottom(bottom.bottom());
    players.setGeometry(all);
    QRect bar = splitter.geometry();
    bar.setTop(top.top() + 1);
    bar.setBottom(bottom.bottom() - 1);
    splitter.setGeometry(bar);

    using R = CResizer;
    resizer.Attach(&window, 24);
    const int split =
        resizer.Add(&splitter, R::kLeftProportional | R::kRightProportional | R::kBottomMoves);
    const unsigned stretch = R::kRightMoves | R::kBottomMoves;
    resizer.Add(kTabFrameId, stretch);
    resizer.Add(&players, stretch);
    resizer.Add(&servers, R::kBottomMoves, -1, split);
    const int right0 = resizer.Add(&serverPlayers, R::kLeftMoves | stretch, split);
    resizer.Add(Ids::IDC_FRIENDS, R::kLeftMoves | R::kRightMoves);
    resizer.AddInRect(Ids::IDC_QUERY_AREA, R::kLeftMoves | R::kRightMoves, right0);
    const int queryArea = resizer.FindEntry(FindControl(&window, Ids::IDC_QUERY_AREA));
    resizer.AddInRect(Ids::IDC_JOIN_AREA,
                      R::kLeftMoves | R::kRightMoves | R::kTopMoves | R::kBottomMoves, queryArea);
    resizer.AddInRect(Ids::IDC_COUNTER_AREA, R::kTopMoves | R::kBottomMoves);
    resizer.Add(Ids::IDC_PROGRESS, R::kRightMoves | R::kTopMoves | R::kBottomMoves);
    resizer.Add(Ids::IDC_STOP, R::kLeftMoves | R::kRightMoves | R::kTopMoves | R::kBottomMoves);
    resizer.Add(Ids::IDC_STATUS_LINE, R::kRightMoves | R::kTopMoves | R::kBottomMoves);
    // The search field keeps its height; its history list below it fills the group.
    resizer.Add(Ids::IDC_SEARCH_TEXT, R::kLeftMoves | R::kRightMoves);
    resizer.Add(Ids::IDC_SEARCH_HISTORY, R::kLeftMoves | R::kRightMoves | R::kBottomMoves);
    resizer.Add(Ids::IDC_SEARCH_GROUP, R::kLeftMoves | R::kRightMoves | R::kBottomMoves);
    for (const int id : {Ids::IDC_SEARCH, Ids::IDC_DELETE_SEARCH})
        resizer.Add(id, R::kLeftMoves | R::kRightMoves | R::kTopMoves | R::kBottomMoves);
    splitter.Attach(&resizer, 15, 65);
    window.setMinimumSize(window.size());
}
