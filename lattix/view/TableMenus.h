#pragma once

#include "lattix/model/SortKey.h"

#include <QPoint>

#include <functional>
#include <memory>
#include <string>

class CPopupMenu;

namespace Lattix {

class CTableHost;

// Sorting and the context menus of a grid: the sort keys that title clicks and the header menu set,
// the body menu (copy, select all, show and hide columns, restore the default layout, save as HTML)
// and the header menu (sort direction, hide). Menus are shown with the control's notifications;
// what they build and do goes through the control's virtual BuildBodyMenu, OnBodyMenuCommand,
// BuildHeaderMenu and OnHeaderMenuCommand, which a derived grid may override.
class CTableMenus
{
public:
    // Sort directions of a column.
    enum Direction
    {
        kAscending = 0,
        kDescending = 1,
        kNoSort = 2,
    };
    using MenuFactory = std::function<std::unique_ptr<CPopupMenu>()>;

    // Command ids of the menus.
    enum : unsigned
    {
        ID_COPY_CELL = 57345,
        ID_COPY = 57346,
        ID_COPY_ALL = 57347,
        ID_SELECT_ALL = 57348,
        ID_SHOW_COLUMN = 57350,
        ID_HIDE_COLUMN = 57351,
        ID_RESTORE_DEFAULT = 57352,
        ID_SAVE_AS = 57354,
        ID_SORT_ASCENDING = 57357,
        ID_SORT_DESCENDING = 57358,
        ID_SORT_NONE = 57359,
        ID_HIDE = 57361,
        ID_ALL_COLUMNS = 57443,
        ID_SHOW_FIRST = 57444, // + column, column < 399
        ID_HIDE_FIRST = 57844, // + column, column < 400
    };
    // Item strings as the menus show them translated (context "CTableMenus").
    static constexpr const char* kBodyMenuItems = QT_TRANSLATE_NOOP(
        "CTableMenus", "Copy cell;Copy;Copy all;Select all;-;Show column;Hide column;Restore "
                       "default;-;Save as ...;");
    static constexpr const char* kHeaderMenuItems =
        QT_TRANSLATE_NOOP("CTableMenus", "Ascending;Descending;No sort;-;Hide");

    explicit CTableMenus(CTableHost& ctrl) : m_ctrl(ctrl) {}

    // The menus to show (test seam); a plain CPopupMenu when none is set.
    void SetMenuFactory(MenuFactory factory) { m_menuFactory = std::move(factory); }
    std::unique_ptr<CPopupMenu> NewMenu() const;

    // Opens the body menu at pos (body coordinates; a negative position opens it at the focus cell,
    // as from the keyboard) or the header menu at pos (header coordinates).
    void ShowBodyMenu(QPoint pos);
    void ShowHeaderMenu(QPoint pos);

    void BuildBodyMenu(CPopupMenu& menu, int row, int col);
    void OnBodyMenuCommand(unsigned command, int row, int col);
    void BuildHeaderMenu(CPopupMenu& menu, int col);
    void OnHeaderMenuCommand(unsigned command, int col);
    // A column's text in the menus: its long name, else the first title line.
    std::string GetColumnMenuText(int col) const;

    // The direction of col in the sort order.
    int DirectionOf(int col) const;
    // Sets the column's key in the sort order (kNoSort removes it), after LXN_SORTCHANGING allowed
    // it; replace starts a new order. Sorts the rows and sends LXN_SORTED. False when the recipient
    // cancelled.
    bool SortByColumn(int col, int direction, bool replace);
    // Sorts again by the current keys after the display order changed (the end of a column move),
    // asking LXN_SORTCHANGING first; then updates the control.
    void ResortByDisplayOrder();

private:
    // Orders the sort keys by the display positions of their columns.
    void OrderSortKeys();
    void ShowAllTitledColumns();
    void RestoreDefault();

    CTableHost& m_ctrl;
    MenuFactory m_menuFactory;
};

} // namespace Lattix
