#pragma once

#include "lattix/model/LayoutWords.h"
#include "lattix/model/SortKey.h"
#include "lattix/view/Notify.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CPopupMenu;
class QKeyEvent;

namespace Lattix {

class CCellEditController;
class CColumnGeometry;
class CDrawState;
class CFooterDisplay;
class CHeaderDisplay;
class CSelection;
class CTable;
class CTableAccessible;
class CTableClipboard;
class CTableCtrlInterface;
class CTableCtrl;
class CTableCursor;
class CTableDisplay;
class CTableMenus;
struct CColumnInfo;

// What the parts of a grid (displays, menus, cursor, selection, clipboard, export,
// accessibility, editing) see of the grid that owns them: its table and view operations,
// the geometry of its columns and rows, its scroll position, its sibling parts, its
// focus, and the notifications that go to its owner. The grid implements it; a part
// receives it by reference and never reaches into the grid itself.
class CTableHost
{
public:
    // Creation style bits, those of a list-view placeholder.
    static constexpr unsigned kStyleSingleSel = 0x0004;
    static constexpr unsigned kStyleNoColumnHeader = 0x4000;
    static constexpr unsigned kStyleNoSortHeader = 0x8000;
    // Room round a cell's text, and the height of the header.
    static constexpr int kMarginLeft = 5;
    static constexpr int kMarginRight = 5;
    static constexpr int kMarginTop = 1;
    static constexpr int kMarginBottom = 1;
    static constexpr int kHeaderHeight = 18;

    // The grid's table and view operations (rows, marks, cells, columns, Update).
    virtual CTableCtrlInterface& Table() = 0;
    virtual const CTableCtrlInterface& Table() const = 0;
    // The grid's window: parent of the displays, focus, title, visibility.
    virtual QWidget& Widget() = 0;
    virtual const QWidget& Widget() const = 0;

    // Columns and rows.
    virtual const CColumnInfo& GetColumnInfo(int col) const = 0;
    // Widths, visibility and display order of the columns.
    virtual const CColumnGeometry& Geometry() const = 0;
    // Takes col out of the display order and puts it at pos.
    virtual void MoveColumn(int col, int pos) = 0;
    virtual bool IsHeaderShown() const = 0;
    virtual CDrawState& GetDrawState() = 0;
    virtual const CDrawState& GetDrawState() const = 0;
    virtual int GetRowHeight() const = 0;
    // Whole rows that the body shows.
    virtual int GetRowsPerPage() const = 0;
    virtual int GetBodyWidth() const = 0;
    virtual int GetBodyHeight() const = 0;
    // The row under a body y, or -1 past the last row.
    virtual int RowFromY(int bodyY) const = 0;
    // A cell's rectangle in body coordinates (scrolled), without its grid lines.
    virtual QRect GetCellRect(int row, int col) const = 0;
    virtual CTable& GetFooterTable() = 0;
    // The sort keys, as sorting by the header and its menu changes them.
    virtual std::vector<CSortKey>& SortOrder() = 0;
    // The layout that "Restore default" applies when it is not empty.
    virtual const CWordArray& GetDefaultLayout() const = 0;

    // Scrolling.
    virtual int GetScrollX() const = 0;
    virtual int GetScrollY() const = 0;
    // Scrolls to (x, y), clamped, y rounded down to whole rows; repaints what moved.
    virtual void SetScrollPos(int x, int y) = 0;
    virtual void EnsureVisible(int row, int col) = 0;
    // A horizontal scroll bar action (QAbstractSlider::SliderAction).
    virtual void ScrollHorz(int action) = 0;

    // The sibling parts.
    virtual CTableCursor& GetCursor() = 0;
    virtual const CTableCursor& GetCursor() const = 0;
    virtual CSelection& GetSelection() = 0;
    virtual const CSelection& GetSelection() const = 0;
    virtual CCellEditController& EditController() = 0;
    virtual CTableMenus& Menus() = 0;
    virtual CTableClipboard& Clipboard() = 0;
    virtual CTableDisplay& Body() = 0;
    virtual CHeaderDisplay& Header() = 0;
    virtual CFooterDisplay& Footer() = 0;

    // Menus, which a grid may extend.
    virtual void BuildBodyMenu(CPopupMenu& menu, int row, int col) = 0;
    virtual void OnBodyMenuCommand(unsigned command, int row, int col) = 0;
    virtual void BuildHeaderMenu(CPopupMenu& menu, int col) = 0;
    virtual void OnHeaderMenuCommand(unsigned command, int col) = 0;

    // Focus and time.
    virtual bool HasFocus() const = 0;
    // Whether screen readers hear the cursor cell as the focus.
    virtual bool HasReaderFocus() const = 0;
    // Focus reaching the grid or its editor, and focus leaving either for newFocus.
    virtual void FocusGained() = 0;
    virtual void FocusLost(QWidget* newFocus) = 0;
    // Milliseconds of the grid's clock.
    virtual std::int64_t Now() const = 0;

    // Notifications to the owner. Notify sends code with the fields of notification (the
    // header, item data and control are filled in); 0 while notifications are off.
    virtual std::intptr_t Notify(int code, NMTABLECTRL& notification) = 0;
    virtual std::intptr_t Notify(int code, int row = -1, int col = -1) = 0;
    // Switches notifications on or off; returns the previous state.
    virtual bool SetNotificationsOn(bool on) = 0;

    // The grid's accessibility interface once a screen reader asked for it, else nullptr.
    virtual CTableAccessible* GetAccessible() const = 0;
    virtual void SetAccessible(CTableAccessible* accessible) = 0;

    // Switches notifications on for the lifetime of an event handler.
    class CNotifyScope
    {
    public:
        explicit CNotifyScope(CTableHost& host)
            : m_host(host), m_previous(host.SetNotificationsOn(true))
        {
        }
        ~CNotifyScope() { m_host.SetNotificationsOn(m_previous); }
        CNotifyScope(const CNotifyScope&) = delete;
        CNotifyScope& operator=(const CNotifyScope&) = delete;

    private:
        CTableHost& m_host;
        bool m_previous;
    };

protected:
    ~CTableHost() = default;
};

// A grid that an owner shows without reaching into the control (a combo box's drop-down):
// the control, made with the style bits and control id and without a parent, behind its
// host interface. The grid goes with this object.
class CGridWindow
{
public:
    CGridWindow(unsigned style, int id);
    ~CGridWindow();
    CGridWindow(const CGridWindow&) = delete;
    CGridWindow& operator=(const CGridWindow&) = delete;

    CTableHost& Host() const { return *m_host; }
    // Where the grid's notifications go (nullptr: its parent, when that listens).
    void SetNotifyTarget(CNotifyTarget* target);
    // Screen readers also hear the cursor cell as the focus while this says so (a list
    // whose keys another window takes).
    void SetReaderFocus(std::function<bool()> hasReaderFocus);
    // A key as the grid itself handles it (arrows, page keys, home, end, type-ahead).
    void HandleKey(QKeyEvent* event);

private:
    std::unique_ptr<CTableCtrl> m_grid;
    CTableHost* m_host;
};

// A host pointer that turns null once the host's window is gone (as QPointer does for a
// widget), for parts that Qt keeps longer than the grid (accessibility, clipboard data).
class CHostPointer
{
public:
    CHostPointer() = default;
    explicit CHostPointer(CTableHost* host)
        : m_widget(host ? &host->Widget() : nullptr), m_host(host)
    {
    }
    CTableHost* get() const { return m_widget ? m_host : nullptr; }
    explicit operator bool() const { return get() != nullptr; }
    CTableHost* operator->() const { return get(); }
    CTableHost& operator*() const { return *get(); }

private:
    QPointer<QWidget> m_widget;
    CTableHost* m_host = nullptr;
};

} // namespace Lattix
