#include "app/MainDlgSettings.h"

#include "app/GridLayouts.h"
#include "app/SearchPanel.h"
#include "app/SettingsKey.h"
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

#include <algorithm>
#include <vector>

using Lattix::CSortKey;

namespace {

constexpr int kDefaultSpeed = 1;
constexpr int kDefaultProtocol = 60;
constexpr int kFirstProtocol = 56;       // of the Version box's first entry
constexpr int kVersionFallbackIndex = 2; // "1.3"

} // namespace

CMainDlgSettings::State CMainDlgSettings::Read(QSize initialSize, const QString& defaultMaster)
{
    // Layouts and default sort orders.
    RestoreGridLayout(m_settings, m_c.players, QStringLiteral("Lattix_Player"));
    m_c.players.Sort(std::vector<CSortKey>{{0, false}});
    m_c.players.Update(true);
    RestoreGridLayout(m_settings, m_c.servers, QStringLiteral("Lattix_Server"));
    m_c.servers.Sort(std::vector<CSortKey>{{4, false}});
    m_c.servers.Update(true);
    RestoreGridLayout(m_settings, m_c.serverPlayers, QStringLiteral("Lattix_PlayerOnServer"));
    m_c.serverPlayers.Update(false);

    // Search history and password.
    m_c.search.Load(m_settings.GetString(QStringLiteral("LastPlayers")));
    m_c.password.setText(m_settings.GetString(QStringLiteral("Password")));

    RestoreWindowRect(initialSize);

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

void CMainDlgSettings::RestoreWindowRect(QSize initialSize)
{
    const auto stored = m_settings.GetRect(QStringLiteral("LastPos"));
    if (!stored || stored->width() < initialSize.width() || stored->height() <= 0)
        return;
    QRect rect = *stored;
    // A rectangle from a monitor that is gone comes back onto the available area, and an
    // absurd size (more than twice the desktop) shrinks to the desktop; a window spanning
    // several monitors stays as it was.
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) {
        const QRect desktop = primary->availableVirtualGeometry();
        if (rect.width() > 2 * desktop.width() || rect.height() > 2 * desktop.height())
            rect.setSize(rect.size().boundedTo(desktop.size()).expandedTo(initialSize));
        const QRect titleBar(rect.topLeft(), QSize(rect.width(), 24));
        if (!desktop.intersects(titleBar)) {
            const QRect area = primary->availableGeometry();
            rect.moveTopLeft(QPoint(
                std::clamp(rect.x(), area.left(), std::max(area.left(), area.right() - 100)),
                std::clamp(rect.y(), area.top(), std::max(area.top(), area.bottom() - 100))));
        }
    }
    m_c.window.setGeometry(rect);
    m_c.resizer.Resize();
    const int split = m_settings.GetInt(QStringLiteral("SplitPos"), 0);
    if (split != 0)
        m_c.splitter.SetPos(split);
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
    if (!m_c.window.isMinimized()) {
        m_settings.SetRect(QStringLiteral("LastPos"), m_c.window.normalGeometry().normalized());
        m_settings.SetInt(QStringLiteral("SplitPos"), m_c.splitter.GetPos());
    }
}
