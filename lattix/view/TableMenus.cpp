#include "lattix/view/TableMenus.h"

#include "lattix/model/ColumnGeometry.h"
#include "lattix/model/RowRef.h"
#include "lattix/view/ColumnInfo.h"
#include "lattix/view/HeaderDisplay.h"
#include "lattix/view/Selection.h"
#include "lattix/view/TableClipboard.h"
#include "lattix/view/TableCtrlInterface.h"
#include "lattix/view/TableCursor.h"
#include "lattix/view/TableDisplay.h"
#include "lattix/view/TableHost.h"
#include "lattix/view/WaitCursor.h"
#include "velk/PopupMenu.h"

#include <QCoreApplication>

#include <algorithm>

namespace Lattix {

namespace {

// A menu's item string in the user's language.
std::string Translated(const char* items)
{
    return QCoreApplication::translate("CTableMenus", items).toStdString();
}

} // namespace

std::unique_ptr<CPopupMenu> CTableMenus::NewMenu() const
{
    return m_menuFactory ? m_menuFactory() : std::make_unique<CPopupMenu>();
}

std::string CTableMenus::GetColumnMenuText(int col) const
{
    const CColumnInfo& info = m_ctrl.GetColumnInfo(col);
    if (info.strLongName.empty())
        return info.strTitle;
    std::string text = info.strLongName;
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

void CTableMenus::ShowBodyMenu(QPoint pos)
{
    CTableHost& ctrl = m_ctrl;
    CTableHost::CNotifyScope scope(ctrl);
    ctrl.Body().EndDragSelect();
    ctrl.Widget().setFocus(Qt::OtherFocusReason);
    int row = -1;
    int col = -1;
    QPoint at;
    if (pos.x() >= 0 && pos.y() >= 0) {
        row = ctrl.RowFromY(pos.y());
        col = ctrl.Geometry().ColumnFromX(pos.x() + ctrl.GetScrollX());
        ctrl.GetCursor().Set(row, col);
        at = ctrl.Body().mapToGlobal(pos);
    } else {
        row = ctrl.GetCursor().GetRow();
        col = ctrl.GetCursor().GetColumn();
        const int x = ctrl.Table().IsValidColumn(col)
                          ? ctrl.Geometry().GetColumnLeft(col) - ctrl.GetScrollX()
                          : 0;
        const int y = row >= 0 ? (row + 1) * ctrl.GetRowHeight() - ctrl.GetScrollY() : 0;
        at =
            ctrl.Body().mapToGlobal(QPoint(std::max(0, x), std::clamp(y, 0, ctrl.GetBodyHeight())));
    }
    // The rows may be re-sorted or deleted while the menu selects its row or is open (a scan
    // adds rows meanwhile): hold the row by its record and find it again.
    CRowRef held;
    held.Set(ctrl.Table(), row);
    if (row >= 0 && !ctrl.Table().IsRowMarked(row)) {
        ctrl.GetSelection().Click(row, 0);
        row = held.Find(ctrl.Table());
        ctrl.Table().Update(true);
    }
    std::unique_ptr<CPopupMenu> menu = NewMenu();
    ctrl.BuildBodyMenu(*menu, row, col);
    NMTABLECTRL built;
    built.nRow = row;
    built.nColumn = col;
    built.pMenu = menu.get();
    if (ctrl.Notify(LXN_BODYMENU, built) != 0)
        return;
    const unsigned command =
        menu->Track(&ctrl.Widget(), at.x(), at.y(), CPopupMenu::kTrackRightButton);
    if (command == 0)
        return;
    row = held.Find(ctrl.Table());
    NMTABLECTRL chosen;
    chosen.nRow = row;
    chosen.nColumn = col;
    chosen.nCommand = static_cast<int>(command);
    if (ctrl.Notify(LXN_BODYCOMMAND, chosen) != 0)
        return;
    ctrl.OnBodyMenuCommand(command, row, col);
}

void CTableMenus::BuildBodyMenu(CPopupMenu& menu, int row, int col)
{
    const CTableHost& ctrl = m_ctrl;
    const CColumnGeometry& columns = ctrl.Geometry();
    menu.AppendItems(Translated(kBodyMenuItems), ID_COPY_CELL);
    if (!ctrl.Table().IsValidRow(row) || !ctrl.Table().IsValidColumn(col))
        menu.EnableItem(ID_COPY_CELL, CPopupMenu::kGrayed);
    if (ctrl.GetSelection().GetMode() == CSelection::kNone)
        menu.DeleteItem(ID_COPY, CPopupMenu::kByCommand);
    if (ctrl.GetSelection().GetMode() != CSelection::kMultiple)
        menu.DeleteItem(ID_SELECT_ALL, CPopupMenu::kByCommand);

    // Submenus with "(none)" when they would offer nothing (hiding the last visible column is not
    // offered either).
    const auto noneWhenFewer = [](CPopupMenu& submenu, int fewer, unsigned id) {
        if (submenu.ItemCount() >= fewer)
            return;
        while (submenu.ItemCount() > 0)
            submenu.DeleteItem(0, CPopupMenu::kByPosition);
        submenu.AppendItems(Translated(QT_TRANSLATE_NOOP("CTableMenus", "~(none)")), id);
    };
    CPopupMenu hide;
    for (int c : columns.GetDisplayOrder()) {
        const std::string text = GetColumnMenuText(c);
        if (columns.IsVisible(c) && !text.empty() && c < 400)
            hide.AppendItem(CPopupMenu::kEnabled, ID_HIDE_FIRST + static_cast<unsigned>(c), text);
    }
    noneWhenFewer(hide, 2, ID_HIDE_FIRST);
    CPopupMenu show;
    show.AppendItems(Translated(QT_TRANSLATE_NOOP("CTableMenus", "&All columns;-")),
                     ID_ALL_COLUMNS);
    for (int c = 0; c < ctrl.Table().GetColumnCount() && c < 399; ++c) {
        const std::string text = GetColumnMenuText(c);
        if (!columns.IsVisible(c) && !text.empty())
            show.AppendItem(CPopupMenu::kEnabled, ID_SHOW_FIRST + static_cast<unsigned>(c), text);
    }
    noneWhenFewer(show, 3, ID_ALL_COLUMNS);
    menu.AttachSubmenu(ID_SHOW_COLUMN, show);
    menu.AttachSubmenu(ID_HIDE_COLUMN, hide);
}

void CTableMenus::OnBodyMenuCommand(unsigned command, int row, int col)
{
    CTableHost& ctrl = m_ctrl;
    const bool hide = command >= ID_HIDE_FIRST && command < ID_HIDE_FIRST + 400;
    const bool show = command >= ID_SHOW_FIRST && command < ID_SHOW_FIRST + 399;
    if (hide || show) {
        const int c = static_cast<int>(command - (hide ? ID_HIDE_FIRST : ID_SHOW_FIRST));
        if (ctrl.Table().IsValidColumn(c)) {
            ctrl.Table().SetColumnVisible(c, show);
            // The rows keep their order, so the sort arrows stay.
            ctrl.Table().Update(true);
        }
        return;
    }
    switch (command) {
    case ID_COPY_CELL:
        if (ctrl.Table().IsValidRow(row) && ctrl.Table().IsValidColumn(col))
            ctrl.Clipboard().CopyCell(row, col);
        break;
    case ID_COPY:
    case ID_COPY_ALL:
        ctrl.Clipboard().CopyRows(command == ID_COPY_ALL);
        break;
    case ID_SELECT_ALL:
        if (ctrl.GetSelection().GetMode() == CSelection::kMultiple) {
            if (ctrl.Table().GetRowCount() > 0)
                ctrl.Table().MarkRows(0, ctrl.Table().GetRowCount() - 1, true);
        } else if (ctrl.Table().IsValidRow(row)) {
            ctrl.Table().MarkRow(row, true);
        }
        ctrl.Table().Update(true);
        break;
    case ID_ALL_COLUMNS:
        ShowAllTitledColumns();
        ctrl.Table().Update(true);
        break;
    case ID_RESTORE_DEFAULT:
        RestoreDefault();
        break;
    case ID_SAVE_AS:
        ctrl.Clipboard().SaveAsHtml();
        break;
    default:
        break;
    }
}

void CTableMenus::ShowAllTitledColumns()
{
    for (int c = 0; c < m_ctrl.Table().GetColumnCount(); ++c) {
        if (!m_ctrl.GetColumnInfo(c).strTitle.empty())
            m_ctrl.Table().SetColumnVisible(c, true);
    }
}

void CTableMenus::RestoreDefault()
{
    CTableHost& ctrl = m_ctrl;
    if (!ctrl.GetDefaultLayout().empty()) {
        ctrl.Table().SetLayout(ctrl.GetDefaultLayout());
        ctrl.Table().Update(false);
        return;
    }
    for (int c = 0; c < ctrl.Table().GetColumnCount(); ++c)
        ctrl.MoveColumn(c, c);
    ctrl.Table().AutoSizeColumns(true);
    ShowAllTitledColumns();
    ctrl.Table().Update(false);
}

void CTableMenus::ShowHeaderMenu(QPoint pos)
{
    CTableHost& ctrl = m_ctrl;
    CTableHost::CNotifyScope scope(ctrl);
    ctrl.Widget().setFocus(Qt::OtherFocusReason);
    ctrl.Header().CancelTracking();
    const int col = ctrl.Geometry().ColumnFromX(pos.x() + ctrl.GetScrollX());
    std::unique_ptr<CPopupMenu> menu = NewMenu();
    ctrl.BuildHeaderMenu(*menu, col);
    NMTABLECTRL built;
    built.nColumn = col;
    built.pMenu = menu.get();
    if (ctrl.Notify(LXN_HEADERMENU, built) != 0)
        return;
    const QPoint at = ctrl.Header().mapToGlobal(pos);
    const unsigned command =
        menu->Track(&ctrl.Widget(), at.x(), at.y(), CPopupMenu::kTrackRightButton);
    if (command == 0)
        return;
    NMTABLECTRL chosen;
    chosen.nColumn = col;
    chosen.nCommand = static_cast<int>(command);
    if (ctrl.Notify(LXN_HEADERCOMMAND, chosen) != 0)
        return;
    ctrl.OnHeaderMenuCommand(command, col);
}

void CTableMenus::BuildHeaderMenu(CPopupMenu& menu, int col)
{
    const CTableHost& ctrl = m_ctrl;
    if (!ctrl.Table().IsValidColumn(col)) {
        menu.AppendItems(Translated(QT_TRANSLATE_NOOP("CTableMenus", "~Todo: Implementieren")), 1);
        return;
    }
    if (ctrl.Table().IsHeaderSortEnabled()) {
        menu.AppendItems(Translated(kHeaderMenuItems), ID_SORT_ASCENDING);
        menu.CheckRadioItem(ID_SORT_ASCENDING, ID_SORT_NONE,
                            ID_SORT_ASCENDING + static_cast<unsigned>(DirectionOf(col)),
                            CPopupMenu::kByCommand);
    } else {
        menu.AppendItem(CPopupMenu::kEnabled, ID_HIDE,
                        Translated(QT_TRANSLATE_NOOP("CTableMenus", "Hide")));
    }
    int visible = 0;
    for (int c = 0; c < ctrl.Table().GetColumnCount(); ++c)
        visible += ctrl.Geometry().IsVisible(c) ? 1 : 0;
    if (visible <= 1)
        menu.EnableItem(ID_HIDE, CPopupMenu::kGrayed);
}

void CTableMenus::OnHeaderMenuCommand(unsigned command, int col)
{
    if (m_ctrl.Table().IsValidColumn(col)) {
        switch (command) {
        case ID_SORT_ASCENDING:
        case ID_SORT_DESCENDING:
        case ID_SORT_NONE:
            SortByColumn(col, static_cast<int>(command - ID_SORT_ASCENDING), false);
            break;
        case ID_HIDE:
            m_ctrl.Table().SetColumnVisible(col, false);
            break;
        default:
            break;
        }
    }
    m_ctrl.Table().Update(true);
}

int CTableMenus::DirectionOf(int col) const
{
    int direction = kNoSort;
    for (const CSortKey& key : m_ctrl.Table().GetSortOrder()) {
        if (key.nColumn == col)
            direction = key.bDescending ? kDescending : kAscending;
    }
    return direction;
}

void CTableMenus::OrderSortKeys()
{
    const CColumnGeometry& columns = m_ctrl.Geometry();
    std::vector<CSortKey>& keys = m_ctrl.SortOrder();
    std::stable_sort(keys.begin(), keys.end(), [&](const CSortKey& a, const CSortKey& b) {
        return columns.GetColumnPos(a.nColumn) < columns.GetColumnPos(b.nColumn);
    });
}

bool CTableMenus::SortByColumn(int col, int direction, bool replace)
{
    CTableHost& ctrl = m_ctrl;
    CWaitCursor wait;
    if (ctrl.Notify(LXN_SORTCHANGING, -1, col) != 0)
        return false;
    std::vector<CSortKey>& keys = ctrl.SortOrder();
    if (replace)
        keys.clear();
    const auto it = std::find_if(keys.begin(), keys.end(),
                                 [col](const CSortKey& key) { return key.nColumn == col; });
    if (it != keys.end()) {
        if (direction == kNoSort)
            keys.erase(it);
        else
            it->bDescending = direction == kDescending;
    } else if (direction != kNoSort) {
        keys.push_back({col, direction == kDescending});
    }
    OrderSortKeys();
    ctrl.Table().Sort(std::vector<CSortKey>(keys));
    ctrl.Notify(LXN_SORTED, -1, col);
    return true;
}

void CTableMenus::ResortByDisplayOrder()
{
    CTableHost& ctrl = m_ctrl;
    if (!ctrl.Table().GetSortOrder().empty()) {
        CWaitCursor wait;
        if (ctrl.Notify(LXN_SORTCHANGING) == 0) {
            OrderSortKeys();
            ctrl.Table().Sort(std::vector<CSortKey>(ctrl.Table().GetSortOrder()));
            ctrl.Notify(LXN_SORTED);
        }
    }
    ctrl.Table().Update(true);
}

} // namespace Lattix
