#pragma once

#include "app/ServerRefresh.h"

#include <QObject>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class CPopupMenu;
class CResultLists;
class CScanBridge;
class CScanFlow;
class CSettingsKey;
class CStatusLine;
class QTimer;
class QWidget;

// The refresh commands of the main window: "Refresh" (F5) asks the selected servers
// again, "Refresh all" (Shift+F5) scans the servers of the last query again without the
// master, both on the row menus of the three grids; and the background requery, which
// asks the selected server again every kBackgroundPeriodMs while the window is shown, when
// the options ask for it.
class CRefreshCommands : public QObject
{
    Q_OBJECT

public:
    static constexpr unsigned kRefresh = 57370;
    static constexpr unsigned kRefreshAll = 57371;
    static constexpr qint64 kBackgroundPeriodMs = 30'000;

    struct Parts
    {
        QWidget& window;
        CScanBridge& bridge;
        CResultLists& lists;
        CStatusLine& status;
        CScanFlow& flow;
        CSettingsKey& settings;
    };
    // clock: milliseconds of a monotonic clock (empty: the steady clock). pollMs: how
    // often the background requery looks whether it is due; 0: only when Poll is called.
    CRefreshCommands(Parts parts, std::function<qint64()> clock, int pollMs);

    // Puts the items at the top of the row menu of a grid (a control id of the window).
    void FillMenu(CPopupMenu& menu, int grid, int row);
    // Runs a command of the menu; false when it is none of these.
    bool Command(int command, int grid, int row);

    // Refresh: the selected servers of the grid shown (the player list or the server list).
    int RefreshSelected();
    void RefreshAll();

    // Reads whether the background requery is on ("AutoRequery").
    void ReadOptions();
    // Asks the selected server again when the background requery is on and due, and the
    // window is shown. Returns how many servers it asked.
    int Poll();

    CServerRefresh& Refresher() { return m_refresh; }

private:
    // The servers of the marked rows of the grid, or of the row when it is not marked.
    std::vector<CSockAddr> Selected(int grid, int row) const;
    // The server of the grid's cursor row when that row is marked.
    std::optional<CSockAddr> CursorServer(int grid) const;
    // The player list or the server list, whichever is shown.
    int VisibleGrid() const;
    // Asks the other selected servers of the grid of the last F5.
    void AskOthers();
    bool IsBusy() const;

    Parts m_parts;
    std::function<qint64()> m_clock;
    CServerRefresh m_refresh;
    QTimer* m_poll = nullptr;
    bool m_background = false;
    qint64 m_lastBackground = 0; // when the background requery last fell due
    // The grid and the first server of an F5 whose other selected servers are still to ask.
    std::optional<std::pair<int, CSockAddr>> m_othersOf;
};
