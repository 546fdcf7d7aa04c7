#include "app/MainDlgSettings.h"

#include "app/GridLayouts.h"
#include "app/NameColumnFill.h"
#include "app/ResultLists.h"
#include "app/SearchPanel.h"
#include "app/SettingsKey.h"
#include "lattix/model/ColumnGeometry.h"
#include "lattix/model/SortKey.h"
#include "lattix/view/TableCtrl.h"
#include "panlo/Resizer.h"
#include "panlo/SplitCtrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QStringList>
#include <QStyle>

#include <algorithm>
#include <vector>

using Lattix::CSortKey;

namespace {

constexpr int kDefaultSpeed = 1;
constexpr int kDefaultProtocol = 60;
constexpr int kFirstProtocol = 56;       // of the Version box's first entry
constexpr int kVersionFallbackIndex = 2; // "1.3"

// How many sort keys a stored order may have.
constexpr std::size_t kMaxSortKeys = 16;

int Distance(const QRect& area, QPoint point)
{
    const int dx = std::max({area.left() - point.x(), 0, point.x() - area.right()});
    const int dy = std::max({area.top() - point.y(), 0, point.y() - area.bottom()});
    return dx + dy;
}

// rect moved wholly into the available area of the screen nearest to its centre, and
// shrunk to that area (but not below least) when it is larger.
QRect OntoNearestScreen(QRect rect, QSize least)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    const auto nearest = std::min_element(
        screens.begin(), screens.end(), [&rect](const QScreen* a, const QScreen* b) {
            return Distance(a->availableGeometry(), rect.center()) <
                   Distance(b->availableGeometry(), rect.center());
        });
    if (nearest == screens.end())
        return rect;
    const QRect area = (*nearest)->availableGeometry();
    rect.setSize(rect.size().boundedTo(area.size()).expandedTo(least));
    rect.moveTopLeft(QPoint(
        std::clamp(rect.x(), area.left(), std::max(area.left(), area.right() + 1 - rect.width())),
        std::clamp(rect.y(), area.top(), std::max(area.top(), area.bottom() + 1 - rect.height()))));
    return rect;
}

} // namespace

CMainDlgSettings::CMainDlgSettings(CSettingsKey& settings, const Controls& controls)
    : m_settings(settings), m_c(controls)
{
}

CMainDlgSettings::~CMainDlgSettings() = default;

CMainDlgSettings::State CMainDlgSettings::Read(QSize initialSize, const QString& defaultMaster)
{
    // Layouts, and the sort orders that the user left (else the default ones).
    // A grid without a layout of the user's lets its name columns fill it.
    const auto fill = [this](Lattix::CTableCtrl& grid, const QString& name,
                             std::vector<int> nameColumns) {
        if (!RestoreGridLayout(m_settings, grid, name))
            m_fills.push_back(std::make_unique<CNameColumnFill>(grid, std::move(nameColumns)));
    };
    fill(m_c.players, QStringLiteral("Lattix_Player"),
         {CResultLists::kPlayerNameColumn, CResultLists::kPlayerServerColumn});
    m_c.players.Sort(ReadSortOrder(QStringLiteral("Sort_Player"), m_c.players, {{0, false}}));
    m_c.players.Update(true);
    fill(m_c.servers, QStringLiteral("Lattix_Server"), {CResultLists::kServerNameColumn});
    m_c.servers.Sort(ReadSortOrder(QStringLiteral("Sort_Server"), m_c.servers, {{4, false}}));
    m_c.servers.Update(true);
    fill(m_c.serverPlayers, QStringLiteral("Lattix_PlayerOnServer"), {0});
    const auto serverPlayersOrder =
        ReadSortOrder(QStringLiteral("Sort_PlayerOnServer"), m_c.serverPlayers, {});
    if (!serverPlayersOrder.empty())
        m_c.serverPlayers.Sort(serverPlayersOrder);
    m_c.serverPlayers.Update(!serverPlayersOrder.empty());

    // Search history and password.
    m_c.search.Load(m_settings.GetString(QStringLiteral("LastPlayers")));
    m_c.password.setText(m_settings.GetString(QStringLiteral("Password")));

    RestoreWindowRect(initialSize);
    if (m_settings.GetInt(QStringLiteral("SplitPos"), 0) == 0)
        ShowServerPlayersWhole();
    for (const auto& fill : m_fills)
        fill->Fit();

    // Query options.
    const int version =
        m_settings.GetInt(QStringLiteral("Version"), kDefaultProtocol) - kFirstProtocol;
    m_c.version.setCurrentIndex(
        version >= 0 && version < m_c.version.count() ? version : kVersionFallbackIndex);
    m_c.includeEmpty.setChecked(m_settings.GetInt(QStringLiteral("IncludeEmptyServers"), 0) != 0);
    m_c.includeFull.setChecked(m_settings.GetInt(QStringLiteral("IncludeFullServers"), 1) != 0);
    State state;
    state.master = m_settings.GetString(QStringLiteral("Master"), defaultMaster);
    const int speed = m_settings.GetInt(QStringLiteral("Speed"), kDefaultSpeed);
    m_c.speed.setCurrentIndex(speed >= 0 && speed < m_c.speed.count() ? speed : -1);
    state.view = m_settings.GetInt(QStringLiteral("LastView"), 0);
    return state;
}

std::vector<CSortKey> CMainDlgSettings::ReadSortOrder(const QString& name,
                                                      const Lattix::CTableCtrl& grid,
                                                      std::vector<CSortKey> fallback) const
{
    const QString stored = m_settings.GetString(name);
    if (stored.isEmpty())
        return fallback;
    std::vector<CSortKey> keys;
    for (QString key : stored.split(QLatin1Char(','))) {
        const bool descending = key.endsWith(QLatin1Char('d'));
        if (descending)
            key.chop(1);
        bool ok = false;
        const int col = key.toInt(&ok);
        const bool known = std::any_of(keys.begin(), keys.end(),
                                       [col](const CSortKey& k) { return k.nColumn == col; });
        if (!ok || !grid.IsValidColumn(col) || known || keys.size() >= kMaxSortKeys)
            return fallback;
        keys.push_back({col, descending});
    }
    return keys;
}

QString CMainDlgSettings::SortOrderText(const Lattix::CTableCtrl& grid)
{
    QStringList keys;
    for (const CSortKey& key : grid.GetSortOrder())
        keys << QString::number(key.nColumn) + (key.bDescending ? QStringLiteral("d") : QString());
    return keys.join(QLatin1Char(','));
}

void CMainDlgSettings::RestoreWindowRect(QSize initialSize)
{
    const auto stored = m_settings.GetRect(QStringLiteral("LastPos"));
    if (!stored || stored->width() < initialSize.width() || stored->height() <= 0)
        return;
    QRect rect = *stored;
    // A window spanning several monitors stays as it was. One whose title bar is on no
    // monitor (its monitor is gone) comes back wholly on the nearest one, shrunk to it when
    // it is larger; so does an absurd size (more than twice the desktop).
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) {
        const QRect desktop = primary->availableVirtualGeometry();
        const QRect titleBar(rect.topLeft(), QSize(rect.width(), 24));
        const bool absurd =
            rect.width() > 2 * desktop.width() || rect.height() > 2 * desktop.height();
        if (absurd || !desktop.intersects(titleBar))
            rect = OntoNearestScreen(rect, initialSize);
    }
    m_c.window.setGeometry(rect);
    if (m_settings.GetInt(QStringLiteral("LastMaximized"), 0) != 0)
        m_c.window.setWindowState(m_c.window.windowState() | Qt::WindowMaximized);
    m_c.resizer.Resize();
    const int split = m_settings.GetInt(QStringLiteral("SplitPos"), 0);
    if (split != 0)
        m_c.splitter.SetPos(split);
}

void CMainDlgSettings::ShowServerPlayersWhole()
{
    const int need = m_c.serverPlayers.Geometry().GetTotalWidth() +
                     m_c.serverPlayers.style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                     m_c.serverPlayers.width() - m_c.serverPlayers.contentsRect().width();
    const int area = m_c.serverPlayers.geometry().right() - m_c.servers.geometry().left();
    const int wider = need - m_c.serverPlayers.width();
    if (wider > 0 && area > 0)
        m_c.splitter.SetPos(m_c.splitter.GetPos() - (wider * 100 + area - 1) / area);
}

void CMainDlgSettings::Write(const State& state)
{
    m_settings.SetInt(QStringLiteral("Speed"), m_c.speed.currentIndex());
    m_settings.SetInt(QStringLiteral("Version"), m_c.version.currentIndex() + kFirstProtocol);
    m_settings.SetInt(QStringLiteral("LastView"), state.view);
    m_settings.SetInt(QStringLiteral("IncludeEmptyServers"), m_c.includeEmpty.isChecked() ? 1 : 0);
    m_settings.SetInt(QStringLiteral("IncludeFullServers"), m_c.includeFull.isChecked() ? 1 : 0);
    m_settings.SetString(QStringLiteral("Master"), state.master);
    m_settings.SetString(QStringLiteral("LastPlayers"), m_c.search.Stored());
    m_settings.SetString(QStringLiteral("Password"), m_c.password.text());
    SaveGridLayout(m_settings, m_c.players, QStringLiteral("Lattix_Player"));
    SaveGridLayout(m_settings, m_c.servers, QStringLiteral("Lattix_Server"));
    SaveGridLayout(m_settings, m_c.serverPlayers, QStringLiteral("Lattix_PlayerOnServer"));
    m_settings.SetString(QStringLiteral("Sort_Player"), SortOrderText(m_c.players));
    m_settings.SetString(QStringLiteral("Sort_Server"), SortOrderText(m_c.servers));
    m_settings.SetString(QStringLiteral("Sort_PlayerOnServer"), SortOrderText(m_c.serverPlayers));
    if (!m_c.window.isMinimized()) {
        m_settings.SetRect(QStringLiteral("LastPos"), m_c.window.normalGeometry().normalized());
        m_settings.SetInt(QStringLiteral("SplitPos"), m_c.splitter.GetPos());
        m_settings.SetInt(QStringLiteral("LastMaximized"), m_c.window.isMaximized() ? 1 : 0);
    }
}
