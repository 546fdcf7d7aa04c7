#pragma once

#include "lattix/edit/CellEditController.h"
#include "lattix/model/ColumnGeometry.h"
#include "lattix/model/Table.h"
#include "lattix/view/ColumnInfo.h"
#include "lattix/view/DrawState.h"
#include "lattix/view/FooterDisplay.h"
#include "lattix/view/HeaderDisplay.h"
#include "lattix/view/Notify.h"
#include "lattix/view/Selection.h"
#include "lattix/view/TableClipboard.h"
#include "lattix/view/TableCtrlInterface.h"
#include "lattix/view/TableCursor.h"
#include "lattix/view/TableDisplay.h"
#include "lattix/view/TableHost.h"
#include "lattix/view/TableKeys.h"
#include "lattix/view/TableMenus.h"
#include "lattix/view/TableScroller.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CBottomTabCtrl;
class CPopupMenu;
class QScrollBar;

namespace Lattix {

class CTableAccessible;

// The grid window: shows a table of typed cells in columns drawn by renderers, with a
// header that sorts, resizes and moves columns, an optional footer row, scroll bars,
// selection, a focus cursor, type-ahead search, context menus, clipboard copy, HTML
// export and column layouts. It owns its table; the table operations of CTableInterface
// act on it, and the view operations of CTableCtrlInterface on the view.
//
// The columns' widths, visibility and display order are a CColumnGeometry that the header,
// body, footer, cursor and export read; sorting and the menus (CTableMenus) and the
// clipboard and export (CTableClipboard) are parts of their own.
//
// User actions are reported to the notification target (SetNotifyTarget, else the parent
// widget when it implements CNotifyTarget). Notifications are sent only while the grid
// handles an event of its own, and never while another one is being sent, so calls that
// the program makes itself, also from within a notification, report nothing.
class CTableCtrl : public QWidget, public CTableCtrlInterface, public CTableHost
{
public:
    // Style bits of a placeholder that the grid does not take over.
    static constexpr unsigned kPlaceholderStyleMask = 0x33FB;
    // Dynamic properties: a widget's control id, and a placeholder's creation style.
    static constexpr const char* kControlIdProperty = "controlId";
    static constexpr const char* kStyleProperty = "windowStyle";
    // The window text, which also names the exported HTML file.
    static constexpr const char* kWindowText = "Lattix";

    // The control id of the bottom tab strip.
    static constexpr int kBottomTabId = 23;
    // Room that the horizontal scroll bar leaves free right of the bottom tabs.
    static constexpr int kBottomTabGap = 12;

    // Milliseconds of a monotonic clock.
    using Clock = std::function<std::int64_t()>;

    CTableCtrl();
    ~CTableCtrl() override;

    // Makes the grid a child of parent at (x, y, cx, cy) with the control id. Style bits:
    // kStyleSingleSel, kStyleNoColumnHeader, kStyleNoSortHeader (titles that do not sort).
    bool Create(unsigned style, int x, int y, int cx, int cy, QWidget* parent, int id);
    // Takes the place of parent's child with the control id (kControlIdProperty): its
    // geometry, its style (kStyleProperty) without kPlaceholderStyleMask, its id and its
    // place in the tab and stacking order; the placeholder is deleted. False when parent
    // has no such child.
    bool CreateFromControl(int id, QWidget* parent);

    // Table operations with a view side.
    using CTableCtrlInterface::AddColumn;
    using CTableCtrlInterface::CreateRowLayout;
    using CTableCtrlInterface::SetColumn;
    void SetColumnCount(int n) override;
    void CreateRowLayout() override;
    void Clear() override;
    void Sort(std::span<const CSortKey> keys) override;
    void MergeNewRows(int first, std::span<const CSortKey> keys) override;
    void DeleteRow(int index) override;
    void DeleteAllRows() override;
    void DeleteMarkedRows() override;
    void CopyRows(const CTableInterface& source) override;
    // Hides the rows whose key shown does not mark (CTable::ShowRows); the grid, keys and
    // screen readers see the shown rows only. Cursor and anchor leave hidden rows.
    void ShowRows(int keyColumn, std::span<const std::uint8_t> shown);
    int GetHiddenRowCount() const { return m_table.GetHiddenRowCount(); }
    // While on, rows added or inserted are hidden at once (CTable::SetNewRowsHidden).
    void SetNewRowsHidden(bool hidden) { m_table.SetNewRowsHidden(hidden); }

    // View operations.
    void Update(bool keepSort) override;
    void CreateRowLayout(int dataColumn) override;
    int AddColumn(const CColDef& def, const char* title, int width) override;
    void SetColumnView(int col, std::unique_ptr<CCellOutput> output,
                       std::unique_ptr<CCellInput> input, const char* title, int width) override;
    void SetColumn(int col, const CColDef& def, const char* title, int width) override;
    void GetLayout(CWordArray& words) const override;
    bool SetLayout(std::span<const std::uint16_t> words) override;
    int GetDlgCtrlID() const override { return m_nId; }
    void SetLeparello(bool on) override;
    bool GetLeparello() const override { return m_drawState.GetLeparello(); }
    void SetHorzGrid(bool on) override;
    void SetVertGrid(bool on) override;
    bool HasHorzGrid() const override { return m_drawState.GetHorzGrid() != 0; }
    bool HasVertGrid() const override { return m_drawState.GetVertGrid() != 0; }
    void ShowHeader(bool show) override;
    void EnableHeaderSort(bool enable) override;
    bool IsHeaderSortEnabled() const override { return m_bHeaderSort; }
    const std::vector<CSortKey>& GetSortOrder() const override { return m_sortOrder; }
    void SetColumnTitle(int col, const std::string& title, int format) override;
    void SetColumnFormat(int col, int format) override;
    std::string GetColumnTitle(int col) const override;
    int GetColumnFormat(int col) const override;
    void SetColumnWidth(int col, int width) override;
    void AutoSizeColumns(bool includeTitle) override;
    void AutoSizeColumn(int col, bool includeTitle) override;
    void SetColumnWidthLimits(int col, int minWidth, int maxWidth) override;
    int GetColumnMinWidth(int col) const override { return m_geometry.GetMinWidth(col); }
    int GetColumnMaxWidth(int col) const override { return m_geometry.GetMaxWidth(col); }
    int GetColumnWidth(int col) const override { return m_geometry.GetWidth(col); }
    void EnableColumnResize(bool enable) override { m_bColumnResize = enable; }
    bool IsColumnResizeEnabled() const override { return m_bColumnResize; }
    void EnableColumnMove(bool enable) override { m_bColumnMove = enable; }
    bool IsColumnMoveEnabled() const override { return m_bColumnMove; }
    bool FitColumnsToWindow() override;
    void SetColumnVisible(int col, bool visible) override;
    std::string GetCellText(int row, int col) const override;
    int FindText(int col, const std::string& prefix, int after) const override;
    int GetSelectedRow() const override;
    void SelectRow(int row) override;
    void SetItemData(int row, int value) override;
    int GetItemData(int row) const override;
    int FindItemData(int value) const override;

    // Operations of the control.
    virtual bool IsColumnVisible(int col) const { return m_geometry.IsVisible(col); }
    // Takes col out of the display order and puts it at pos.
    void MoveColumn(int col, int pos) override;
    // The first display position after pos with a visible column, else the column count.
    virtual int GetNextVisiblePos(int pos) const { return m_geometry.GetNextVisiblePos(pos); }
    // The last display position before pos with a visible column, else -1.
    virtual int GetPrevVisiblePos(int pos) const { return m_geometry.GetPrevVisiblePos(pos); }
    void BuildBodyMenu(CPopupMenu& menu, int row, int col) override
    {
        m_menus.BuildBodyMenu(menu, row, col);
    }
    void OnBodyMenuCommand(unsigned command, int row, int col) override
    {
        m_menus.OnBodyMenuCommand(command, row, col);
    }
    void BuildHeaderMenu(CPopupMenu& menu, int col) override { m_menus.BuildHeaderMenu(menu, col); }
    void OnHeaderMenuCommand(unsigned command, int col) override
    {
        m_menus.OnHeaderMenuCommand(command, col);
    }
    virtual void EnableHorzScrollBar(bool enable);
    virtual void EnableVertScrollBar(bool enable);

    void SetColumnEditable(int col, bool editable);
    void SetAllColumnsEditable(bool editable);

    // Footer: a row of the footer table under the body, for the columns whose footer
    // flag is set.
    void ShowFooter(bool show);
    void SetColumnFooter(int col, bool show);
    void SetColumnFooterTip(int col, const std::string& tip);
    CTable& GetFooterTable() override { return m_footer; }

    // Bottom tab strip: sheet tabs left of the always shown horizontal scroll bar, at most
    // two thirds of the grid wide; its notifications reach the parent as the grid's.
    void ShowBottomTab(bool show);
    CBottomTabCtrl& BottomTab() { return *m_pBottomTab; }

    bool IsHeaderShown() const override { return m_bHeaderShown; }

    // The layout that "Restore default" applies when it is not empty.
    void SetDefaultLayout(CWordArray words) { m_defaultLayout = std::move(words); }
    const CWordArray& GetDefaultLayout() const override { return m_defaultLayout; }

    // What the parts see of the grid.
    CTableCtrlInterface& Table() override { return *this; }
    const CTableCtrlInterface& Table() const override { return *this; }
    QWidget& Widget() override { return *this; }
    const QWidget& Widget() const override { return *this; }
    bool SetNotificationsOn(bool on) override { return std::exchange(m_bNotify, on); }

    // Notifications.
    void SetNotifyTarget(CNotifyTarget* target) { m_pNotifyTarget = target; }
    bool AreNotificationsOn() const { return m_bNotify; }
    // Sends code with the fields of notification (the header, item data and control
    // are filled in); 0 while notifications are off.
    std::intptr_t Notify(int code, NMTABLECTRL& notification) override;
    std::intptr_t Notify(int code, int row = -1, int col = -1) override;

    // View state.
    const CColumnInfo& GetColumnInfo(int col) const override { return m_columns[Index(col)]; }
    // Widths, visibility and display order of the columns.
    const CColumnGeometry& Geometry() const override { return m_geometry; }
    int GetRowHeight() const override { return m_nRowHeight; }
    // Whole rows that the body shows.
    int GetRowsPerPage() const override { return m_scroller.GetRowsPerPage(); }
    int GetScrollX() const override { return m_scroller.GetScrollX(); }
    int GetScrollY() const override { return m_scroller.GetScrollY(); }
    // Scrolls to (x, y), clamped, y rounded down to whole rows; repaints what moved.
    void SetScrollPos(int x, int y) override { m_scroller.SetScrollPos(x, y); }
    int GetBodyWidth() const override { return m_scroller.GetBodyWidth(); }
    int GetBodyHeight() const override { return m_scroller.GetBodyHeight(); }
    // The row under a body y, or -1 past the last row.
    int RowFromY(int bodyY) const override { return m_scroller.RowFromY(bodyY); }
    void EnsureVisible(int row, int col) override { m_scroller.EnsureVisible(row, col); }

    CTableCursor& GetCursor() override { return m_cursor; }
    const CTableCursor& GetCursor() const override { return m_cursor; }
    CSelection& GetSelection() override { return m_selection; }
    const CSelection& GetSelection() const override { return m_selection; }

    // In-place editing of the focus cell (see CCellEditController).
    CCellEditController& EditController() override { return m_edit; }
    bool BeginEdit(bool userStart) { return m_edit.BeginEdit(userStart); }
    void EndEdit(bool cancel) { m_edit.EndEdit(cancel); }
    bool IsEditing() const { return m_edit.IsEditing(); }
    // A cell's rectangle in body coordinates (scrolled), without its grid lines.
    QRect GetCellRect(int row, int col) const override { return m_scroller.GetCellRect(row, col); }
    // Focus reaching the grid or its editor, and focus leaving either for newFocus: the
    // grid counts focus in its editor as its own.
    void FocusGained() override;
    void FocusLost(QWidget* newFocus) override;
    CDrawState& GetDrawState() override { return m_drawState; }
    const CDrawState& GetDrawState() const override { return m_drawState; }
    bool HasFocus() const override { return m_bHasFocus; }
    // Whether screen readers hear the cursor cell as the focus: while the grid has the
    // focus, or while a list that leaves the keyboard with another window is open.
    bool HasReaderFocus() const override { return m_bHasFocus || (m_listFocus && m_listFocus()); }

    CHeaderDisplay& Header() override { return m_header; }
    CTableDisplay& Body() override { return m_body; }
    CFooterDisplay& Footer() override { return m_footerWnd; }
    QScrollBar& VertScrollBar() { return m_scroller.Vert(); }
    QScrollBar& HorzScrollBar() { return m_scroller.Horz(); }

    // Type-ahead and the keys that move the cursor (CTableKeys).
    void TypeAhead(const QString& text) { m_keys.TypeAhead(text); }
    const std::string& GetTypeAheadText() const { return m_keys.GetTypeAheadText(); }

    // Sorting and menus; clipboard and export.
    CTableMenus& Menus() override { return m_menus; }
    CTableClipboard& Clipboard() override { return m_clipboard; }

    // Test seams.
    void SetClock(Clock clock) { m_clock = std::move(clock); }
    std::int64_t Now() const override;

    // Scroll bar actions (QAbstractSlider::SliderAction).
    void ScrollVert(int action) { m_scroller.ScrollVert(action); }
    void ScrollHorz(int action) override { m_scroller.ScrollHorz(action); }
    // The sort keys, as sorting by the header and its menu changes them (CTableMenus).
    std::vector<CSortKey>& SortOrder() override { return m_sortOrder; }

    // The grid's accessibility interface once a screen reader asked for it (it sets and
    // clears itself), else nullptr.
    CTableAccessible* GetAccessible() const override { return m_accessible; }
    void SetAccessible(CTableAccessible* accessible) override { m_accessible = accessible; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    // A changed theme (the desktop turned dark or light) recolours the rows and lines.
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // The wheel scrolls through the scroll bars: by rows, or by columns with shift or a
    // sideways wheel.
    void wheelEvent(QWheelEvent* event) override;

private:
    friend class CGridWindow;
    static std::size_t Index(int i) { return static_cast<std::size_t>(i); }
    CColumnInfo& Info(int col) { return m_columns[Index(col)]; }
    void Layout();
    void RepaintAll();
    std::vector<std::string> FirstTitles() const;
    void SetFocusFlag(bool on);
    // Recomputes row height and column limits from the renderers (after a change of
    // font or grid lines).
    void RecalcMetrics();
    CNotifyTarget* GetNotifyTarget() const;
    // After rows were deleted: a cursor whose row went moves to the row now at its old
    // index cursorRow (or to none), an anchor whose row went is dropped.
    void RowsDeleted(int cursorRow);

    CTable m_table;
    std::vector<CColumnInfo> m_columns;
    CColumnGeometry m_geometry;
    int m_nDataColumn = -1;
    int m_nTallestCell = 0;
    int m_nRowHeight = kMarginTop + kMarginBottom;
    int m_nId = 0;
    bool m_bHeaderShown = true;
    bool m_bHeaderSort = true;
    bool m_bFooter = false;
    bool m_bBottomTab = false;
    bool m_bColumnResize = true;
    bool m_bColumnMove = true;
    bool m_bHorzScrollAllowed = true;
    bool m_bVertScrollAllowed = true;
    bool m_bHasFocus = false;
    bool m_bNotify = false;
    CWordArray m_defaultLayout;
    CTableCursor m_cursor;
    CSelection m_selection;
    CCellEditController m_edit;
    CTableKeys m_keys;
    CTable m_footer;
    CDrawState m_drawState;
    std::vector<CSortKey> m_sortOrder;
    CNotifyTarget* m_pNotifyTarget = nullptr;
    CTableAccessible* m_accessible = nullptr; // owned by Qt's accessibility cache
    Clock m_clock;
    std::function<bool()> m_listFocus;

    CTableMenus m_menus;
    CTableClipboard m_clipboard;
    CTableDisplay m_body;
    CHeaderDisplay m_header;
    CFooterDisplay m_footerWnd;
    CTableScroller m_scroller;
    CBottomTabCtrl* m_pBottomTab;
};

} // namespace Lattix
