#pragma once

#include "lattix/model/SortKey.h"

#include <QSize>
#include <QString>

#include <memory>
#include <vector>

class CNameColumnFill;
class CResizer;
class CSearchPanel;
class CSettingsKey;
class CSplitCtrl;
class QCheckBox;
class QComboBox;
class QDialog;
class QLineEdit;

namespace Lattix {
class CTableCtrl;
}

// The settings that the main window's controls show: read once at creation and written at
// shut-down. They are the grids' layouts and sort orders, the search history, the
// password, the window's rectangle with the splitter, the query options, the master
// server and the view. A value that is missing or does not fit reads as its default.
class CMainDlgSettings
{
public:
    // The window's controls whose state is kept.
    struct Controls
    {
        QDialog& window;
        CResizer& resizer;
        CSplitCtrl& splitter;
        Lattix::CTableCtrl& players;
        Lattix::CTableCtrl& servers;
        Lattix::CTableCtrl& serverPlayers;
        CSearchPanel& search;
        QLineEdit& password;
        QComboBox& version;
        QComboBox& speed;
        QCheckBox& includeEmpty;
        QCheckBox& includeFull;
    };
    // What the window keeps itself.
    struct State
    {
        QString master; // "host:port"
        int view = 0;   // "LastView" as stored
    };

    CMainDlgSettings(CSettingsKey& settings, const Controls& controls);
    ~CMainDlgSettings();

    // Sets the controls as the settings say. initialSize: the window's size from its
    // template, the least that a stored rectangle must have to be used.
    State Read(QSize initialSize, const QString& defaultMaster);
    // Stores the controls' state and the window's; the rectangle and the splitter only
    // while the window is not minimized.
    void Write(const State& state);

private:
    // Puts the window at its stored rectangle, brought back onto the desktop, maximised
    // when it was, and the splitter where it was; nothing without a usable rectangle.
    void RestoreWindowRect(QSize initialSize);
    // Without a stored place, moves the splitter so far left that the players of a server
    // show their columns whole, as far as the splitter's limits let it.
    void ShowServerPlayersWhole();
    // The sort order stored under name as "col[d],..." (d: descending), or fallback when
    // there is none or it does not fit the grid's columns.
    std::vector<Lattix::CSortKey> ReadSortOrder(const QString& name, const Lattix::CTableCtrl& grid,
                                                std::vector<Lattix::CSortKey> fallback) const;
    static QString SortOrderText(const Lattix::CTableCtrl& grid);

    CSettingsKey& m_settings;
    Controls m_c;
    std::vector<std::unique_ptr<CNameColumnFill>> m_fills; // of the grids at their defaults
};
