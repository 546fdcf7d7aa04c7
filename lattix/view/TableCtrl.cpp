#include "lattix/view/TableCtrl.h"

#include "lattix/model/CellData.h"
#include "lattix/view/ColDef.h"
#include "lattix/view/TableAccessible.h"
#include "velk/BottomTabCtrl.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>

namespace Lattix {

namespace {

constexpr unsigned kStyleVisible = 0x10000000;

std::int64_t SteadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

CTableCtrl::CTableCtrl()
    : CTableCtrlInterface(&m_table, this), m_cursor(*this), m_selection(*this),
      m_edit(*this, m_cursor, m_selection), m_keys(*this), m_menus(*this), m_clipboard(*this),
      m_body(*this), m_header(*this), m_footerWnd(*this), m_scroller(*this),
      m_pBottomTab(new CBottomTabCtrl(kBottomTabId, this))
{
    CTableAccessible::Install();
    setWindowTitle(QString::fromLatin1(kWindowText));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    SetLeparello(true);
    m_drawState.Load();
    m_nRowHeight = m_drawState.GetHorzGrid() + m_nTallestCell + kMarginTop + kMarginBottom;
    m_footerWnd.hide();
    m_pBottomTab->hide();
    m_pBottomTab->SetEmbedded(m_drawState.GetBackColor(1), m_nId);
    for (QWidget* child :
         {static_cast<QWidget*>(&m_body), static_cast<QWidget*>(&m_header),
          static_cast<QWidget*>(&m_footerWnd), static_cast<QWidget*>(&m_scroller.Horz()),
          static_cast<QWidget*>(&m_scroller.Vert())})
        child->setFocusPolicy(Qt::NoFocus);

    Layout();
}

CTableCtrl::~CTableCtrl()
{
    // Nothing may reach the view once its parts start going; an open editor leaves the
    // body before the body goes, so that only its column owns it.
    m_pNotifyTarget = nullptr;
    m_bNotify = false;
    m_edit.Abandon();
    for (CColumnInfo& info : m_columns) {
        if (info.pInput && info.pInput->Window().parentWidget() == &m_body)
            info.pInput->Window().setParent(nullptr);
    }
    CTableAccessible::Detach(*this);
    m_scroller.Detach();
    if (hasFocus())
        clearFocus();
}

// ---------------------------------------------------------------- creation

bool CTableCtrl::Create(unsigned style, int x, int y, int cx, int cy, QWidget* parent, int id)
{
    setParent(parent);
    setGeometry(x, y, cx, cy);
    m_nId = id;
    setProperty(kControlIdProperty, id);
    m_pBottomTab->SetEmbedded(m_drawState.GetBackColor(1), id);
    raise();
    m_selection.SetMode((style & kStyleSingleSel) ? CSelection::kSingle : CSelection::kMultiple);
    m_bHeaderShown = (style & kStyleNoColumnHeader) == 0;
    m_bHeaderSort = (style & kStyleNoSortHeader) == 0;
    Layout();
    if (style & kStyleVisible)
        show();
    return true;
}

bool CTableCtrl::CreateFromControl(int id, QWidget* parent)
{
    if (!parent)
        return false;
    QWidget* placeholder = nullptr;
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QVariant value = child->property(kControlIdProperty);
        if (child != this && value.isValid() && value.toInt() == id) {
            placeholder = child;
            break;
        }
    }
    if (!placeholder)
        return false;
    const QRect rect = placeholder->geometry();
    const QVariant styleValue = placeholder->property(kStyleProperty);
    unsigned style = styleValue.isValid() ? styleValue.toUInt() : 0;
    if (!styleValue.isValid() && !placeholder->isHidden())
        style |= kStyleVisible;
    style &= ~kPlaceholderStyleMask;
    const bool ok = Create(style, rect.x(), rect.y(), rect.width(), rect.height(), parent, id);
    stackUnder(placeholder);
    QWidget::setTabOrder(placeholder, this);
    delete placeholder;
    return ok;
}

// ---------------------------------------------------------------- table operations

void CTableCtrl::SetColumnCount(int n)
{
    Clear();
    m_table.SetColumnCount(n);
    m_columns.resize(Index(std::max(0, n)));
    m_geometry.SetColumnCount(n);
}

void CTableCtrl::CreateRowLayout()
{
    CreateRowLayout(-1);
}

void CTableCtrl::Clear()
{
    m_edit.Abandon();
    m_body.EndDragSelect();
    m_header.CancelTracking();
    m_columns.clear();
    m_geometry.SetColumnCount(0);
    m_table.Clear();
    m_footer.Clear();
    m_sortOrder.clear();
    m_nDataColumn = -1;
    m_scroller.Reset();
    m_cursor.Reset();
    m_selection.SetAnchor(-1);
    m_defaultLayout.clear();
    CTableAccessible::RowsReset(*this);
}

void CTableCtrl::Sort(std::span<const CSortKey> keys)
{
    std::vector<CSortKey> copy(keys.begin(), keys.end());
    m_sortOrder = copy;
    m_table.Sort(copy);
    m_edit.RepositionEditor();
    CTableAccessible::RowsReset(*this);
}

void CTableCtrl::MergeNewRows(int first, std::span<const CSortKey> keys)
{
    m_table.MergeNewRows(first, keys);
    m_edit.RepositionEditor();
    CTableAccessible::RowsReset(*this);
}

void CTableCtrl::DeleteRow(int index)
{
    const int cursorRow = m_cursor.GetRow();
    m_table.DeleteRow(index);
    RowsDeleted(cursorRow);
    CTableAccessible::RowsDeleted(*this, index, index);
}

void CTableCtrl::DeleteAllRows()
{
    m_body.EndDragSelect();
    m_table.DeleteAllRows();
    m_cursor.SetRow(-1);
    m_selection.SetAnchor(-1);
    m_edit.CheckEditRow();
    CTableAccessible::RowsReset(*this);
}

void CTableCtrl::DeleteMarkedRows()
{
    const int cursorRow = m_cursor.GetRow();
    m_table.DeleteMarkedRows();
    RowsDeleted(cursorRow);
    CTableAccessible::RowsReset(*this);
}

void CTableCtrl::CopyRows(const CTableInterface& source)
{
    m_body.EndDragSelect();
    m_edit.Abandon(); // the new rows may lie in the freed records
    m_table.CopyRows(source);
    m_cursor.SetRow(-1);
    m_selection.SetAnchor(-1);
    CTableAccessible::RowsReset(*this);
}

void CTableCtrl::ShowRows(int keyColumn, std::span<const std::uint8_t> shown)
{
    m_body.EndDragSelect();
    m_table.ShowRows(keyColumn, shown);
    // A cursor on a hidden row would come back with it; the focus is where the user sees it.
    if (m_cursor.GetRow() < 0)
        m_cursor.SetRow(-1);
    m_selection.CheckAnchor();
    m_edit.CheckEditRow();
    CTableAccessible::RowsReset(*this);
}

void CTableCtrl::RowsDeleted(int cursorRow)
{
    // A freed record goes to the next new row, so neither may keep holding one.
    if (m_cursor.GetRow() < 0)
        m_cursor.SetRow(cursorRow < 0 ? -1 : std::min(cursorRow, GetRowCount() - 1));
    m_selection.CheckAnchor();
    m_edit.CheckEditRow();
}

// ---------------------------------------------------------------- columns

void CTableCtrl::CreateRowLayout(int dataColumn)
{
    m_table.CreateRowLayout();
    m_cursor.SetRow(-1);
    RecalcMetrics();
    m_nDataColumn = dataColumn;
    m_footer.CopyStructure(m_table);
    m_footer.AddRow();
    CTableAccessible::RowsReset(*this);
}

int CTableCtrl::AddColumn(const CColDef& def, const char* title, int width)
{
    auto comparer = def.CreateCompare();
    auto factory = def.CreateFactory();
    const int col = m_table.AddColumn(std::move(factory), std::move(comparer));
    m_columns.resize(Index(col + 1));
    m_geometry.AddColumn();
    auto input = def.CreateInput();
    SetColumnView(col, def.CreateOutput(), std::move(input), title, width);
    return col;
}

void CTableCtrl::SetColumn(int col, const CColDef& def, const char* title, int width)
{
    auto comparer = def.CreateCompare();
    auto factory = def.CreateFactory();
    m_table.SetColumn(col, std::move(factory), std::move(comparer));
    auto input = def.CreateInput();
    SetColumnView(col, def.CreateOutput(), std::move(input), title, width);
}

void CTableCtrl::SetColumnView(int col, std::unique_ptr<CCellOutput> output,
                               std::unique_ptr<CCellInput> input, const char* title, int width)
{
    const bool visible = title != nullptr && width >= 0;
    if (m_edit.GetEditColumn() == col)
        m_edit.Abandon();
    CColumnInfo& info = Info(col);
    if (input) {
        input->SetDrawState(&m_drawState);
        input->SetOwner(&m_body, &m_edit);
    }
    if (output) {
        output->SetDrawState(&m_drawState);
        if (width <= 0)
            width = output->GetDefaultWidth() + kMarginLeft + kMarginRight;
    } else if (width <= 0) {
        width = kMarginLeft + kMarginRight;
    }
    info.pOutput = std::move(output);
    info.pInput = std::move(input);
    SetColumnWidth(col, width);
    m_geometry.SetDefaultWidth(col, m_geometry.GetWidth(col));
    SetColumnVisible(col, visible);
    SetColumnTitle(col, title ? title : "", -1);
}

void CTableCtrl::RecalcMetrics()
{
    m_nTallestCell = 0;
    for (int col = GetColumnCount() - 1; col >= 0; --col) {
        CColumnInfo& info = Info(col);
        if (!info.pOutput)
            continue;
        int width = info.pOutput->GetMinWidth();
        int height = info.pOutput->GetHeight();
        if (info.bEditable && info.pInput) {
            width = std::max(width, info.pInput->GetMinWidth());
            height = std::max(height, info.pInput->GetMinHeight());
        }
        m_nTallestCell = std::max(m_nTallestCell, height);
        m_geometry.SetLowestMinWidth(col, width + m_drawState.GetVertGrid() + kMarginLeft +
                                              kMarginRight);
    }
    m_nRowHeight = m_drawState.GetHorzGrid() + m_nTallestCell + kMarginTop + kMarginBottom;
}

void CTableCtrl::SetColumnTitle(int col, const std::string& title, int format)
{
    CColumnInfo& info = Info(col);
    const std::size_t lf = title.find('\n');
    if (lf == std::string::npos) {
        info.strTitle = title;
        info.strLongName.clear();
    } else {
        info.strTitle = title.substr(0, lf);
        info.strLongName = title.substr(lf + 1);
    }
    SetColumnFormat(col, format);
}

void CTableCtrl::SetColumnFormat(int col, int format)
{
    CColumnInfo& info = Info(col);
    if (format == -1)
        info.nFormat = info.pOutput ? info.pOutput->GetFlags() : TextFlags::kLeft;
    else
        info.nFormat = static_cast<std::uint32_t>(format);
}

std::string CTableCtrl::GetColumnTitle(int col) const
{
    return GetColumnInfo(col).strTitle;
}

int CTableCtrl::GetColumnFormat(int col) const
{
    return static_cast<int>(GetColumnInfo(col).nFormat);
}

void CTableCtrl::SetColumnWidth(int col, int width)
{
    m_geometry.SetWidth(col, width);
}

void CTableCtrl::AutoSizeColumns(bool includeTitle)
{
    for (int col = GetColumnCount() - 1; col >= 0; --col)
        AutoSizeColumn(col, includeTitle);
}

void CTableCtrl::AutoSizeColumn(int col, bool includeTitle)
{
    CColumnInfo& info = Info(col);
    if (!info.pOutput)
        return;
    int width = 0;
    if (const CColData* data = m_table.HasRowLayout() ? m_table.GetColData(col) : nullptr)
        width = info.pOutput->GetMaxWidth(*data, GetRowCount());
    if (info.bEditable)
        width += 16;
    if (m_bFooter && info.bFooter && m_footer.GetRowCount() > 0)
        width = std::max(width, info.pOutput->GetCellWidth(*m_footer.GetCell(0, col)));
    if (includeTitle) {
        const QFontMetrics metrics(m_drawState.GetFont());
        width = std::max(width, metrics.horizontalAdvance(QString::fromStdString(info.strTitle)));
    }
    SetColumnWidth(col, width + kMarginLeft + kMarginRight);
}

void CTableCtrl::SetColumnWidthLimits(int col, int minWidth, int maxWidth)
{
    m_geometry.SetWidthLimits(col, minWidth, maxWidth);
}

bool CTableCtrl::FitColumnsToWindow()
{
    m_geometry.FitToWidth(GetBodyWidth() - style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    return true;
}

void CTableCtrl::SetColumnVisible(int col, bool visible)
{
    m_geometry.SetVisible(col, visible);
}

void CTableCtrl::MoveColumn(int col, int pos)
{
    m_geometry.MoveColumn(col, pos);
}

void CTableCtrl::SetColumnEditable(int col, bool editable)
{
    CColumnInfo& info = Info(col);
    info.bEditable = editable;
    if (info.pOutput)
        info.pOutput->SetEditable(editable);
    m_cursor.SetMode(CTableCursor::kCellMode);
    RecalcMetrics();
}

void CTableCtrl::SetAllColumnsEditable(bool editable)
{
    for (int col = GetColumnCount() - 1; col >= 0; --col)
        SetColumnEditable(col, editable);
}

void CTableCtrl::ShowFooter(bool show)
{
    m_bFooter = show;
}

void CTableCtrl::SetColumnFooter(int col, bool show)
{
    Info(col).bFooter = show;
}

void CTableCtrl::SetColumnFooterTip(int col, const std::string& tip)
{
    Info(col).strFooterTip = tip;
}

std::vector<std::string> CTableCtrl::FirstTitles() const
{
    std::vector<std::string> titles;
    titles.reserve(m_columns.size());
    for (const CColumnInfo& info : m_columns)
        titles.push_back(info.strTitle);
    return titles;
}

void CTableCtrl::GetLayout(CWordArray& words) const
{
    words = m_geometry.GetLayout(FirstTitles());
}

bool CTableCtrl::SetLayout(std::span<const std::uint16_t> words)
{
    return m_geometry.SetLayout(words, FirstTitles());
}

// ---------------------------------------------------------------- look

void CTableCtrl::SetLeparello(bool on)
{
    m_drawState.SetLeparello(on);
    SetHorzGrid(!on);
    SetVertGrid(on);
}

void CTableCtrl::SetHorzGrid(bool on)
{
    if (on == HasHorzGrid())
        return;
    m_drawState.SetHorzGrid(on ? m_drawState.GetGridWidth() : 0);
    m_nRowHeight = m_drawState.GetHorzGrid() + m_nTallestCell + kMarginTop + kMarginBottom;
}

void CTableCtrl::SetVertGrid(bool on)
{
    m_drawState.SetVertGrid(on ? m_drawState.GetGridWidth() : 0);
}

void CTableCtrl::ShowHeader(bool show)
{
    m_bHeaderShown = show;
}

void CTableCtrl::EnableHeaderSort(bool enable)
{
    m_bHeaderSort = enable;
}

void CTableCtrl::EnableHorzScrollBar(bool enable)
{
    m_bHorzScrollAllowed = enable;
}

void CTableCtrl::EnableVertScrollBar(bool enable)
{
    m_bVertScrollAllowed = enable;
}

// ---------------------------------------------------------------- layout and scrolling

void CTableCtrl::Update(bool keepSort)
{
    Layout();
    if (!keepSort)
        m_sortOrder.clear();
    m_edit.RepositionEditor();
    RepaintAll();
    CTableAccessible::ViewUpdated(*this);
}

void CTableCtrl::RepaintAll()
{
    update();
    m_body.update();
    m_header.update();
    m_footerWnd.update();
}

void CTableCtrl::ShowBottomTab(bool show)
{
    m_bBottomTab = show;
    Layout();
}

void CTableCtrl::Layout()
{
    // A subclass may keep a frame round the grid as contents margins.
    const QRect area = contentsRect();
    const int left = area.left(), top = area.top();
    const int headerHeight = m_bHeaderShown ? kHeaderHeight : 0;
    const int footerHeight = m_bFooter ? m_footerWnd.GetFooterHeight() : 0;
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const CTableScroller::Fit fit =
        CTableScroller::FitBars(area.width(), area.height() - headerHeight - footerHeight,
                                m_geometry.GetTotalWidth() - m_drawState.GetGridWidth(),
                                static_cast<std::int64_t>(GetRowCount()) * m_nRowHeight, barWidth,
                                {m_bHorzScrollAllowed, m_bBottomTab, m_bVertScrollAllowed});
    m_scroller.SetBodySize(fit.bodyWidth, fit.bodyHeight);
    const int bodyW = m_scroller.GetBodyWidth();
    const int bodyH = m_scroller.GetBodyHeight();
    QScrollBar& vert = m_scroller.Vert();
    QScrollBar& horz = m_scroller.Horz();

    m_body.setGeometry(left, top + headerHeight, bodyW, bodyH);
    m_body.show();
    m_header.setGeometry(left, top, bodyW + (fit.vBar ? barWidth : 0), headerHeight);
    m_header.setVisible(headerHeight > 0);
    m_footerWnd.setGeometry(left, top + headerHeight + bodyH, bodyW, footerHeight);
    m_footerWnd.setVisible(footerHeight > 0);
    vert.setGeometry(left + bodyW, top + headerHeight, barWidth, bodyH + footerHeight);
    vert.setVisible(fit.vBar);
    vert.setEnabled(fit.vBar);
    const int barTop = top + headerHeight + bodyH + footerHeight;
    const bool tabs = m_bBottomTab && fit.hBar;
    const int tabsWidth =
        tabs ? std::min(m_pBottomTab->GetTotalWidth() + kBottomTabGap, bodyW * 2 / 3) : 0;
    m_pBottomTab->setGeometry(left, barTop, tabsWidth, barWidth);
    m_pBottomTab->setVisible(tabs);
    horz.setGeometry(left + tabsWidth, barTop, bodyW - tabsWidth, barWidth);
    horz.setVisible(fit.hBar);
    horz.setEnabled(fit.hBar);
    m_edit.RepositionEditor();
}

void CTableCtrl::wheelEvent(QWheelEvent* event)
{
    CNotifyScope scope(*this);
    m_scroller.Wheel(*event);
}

void CTableCtrl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Layout();
}

void CTableCtrl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::PaletteChange)
        return;
    m_drawState.TakeTheme(palette());
    m_pBottomTab->SetEmbedded(m_drawState.GetBackColor(1), m_nId);
    RepaintAll();
}

// ---------------------------------------------------------------- rows

std::string CTableCtrl::GetCellText(int row, int col) const
{
    CCellOutput* output = GetColumnInfo(col).pOutput.get();
    return output ? output->GetText(*m_table.GetCell(row, col)) : std::string();
}

int CTableCtrl::FindText(int col, const std::string& prefix, int after) const
{
    return IsValidColumn(col) ? CTypeAhead::FindRow(*this, col, prefix, after) : -1;
}

int CTableCtrl::GetSelectedRow() const
{
    const int count = GetRowCount();
    for (int row = 0; row < count; ++row) {
        if (IsRowMarked(row))
            return row;
    }
    return -1;
}

void CTableCtrl::SelectRow(int row)
{
    const int count = GetRowCount();
    if (count > 0)
        MarkRows(0, count - 1, false);
    if (IsValidRow(row)) {
        MarkRow(row, true);
        m_cursor.SetRow(row);
        m_selection.SetAnchor(row);
        EnsureVisible(row, -1);
    }
    m_body.update();
    CTableAccessible::SelectionChanged(*this);
}

void CTableCtrl::SetItemData(int row, int value)
{
    if (IsValidColumn(m_nDataColumn))
        m_table.GetCell(row, m_nDataColumn)->Set(value);
}

int CTableCtrl::GetItemData(int row) const
{
    if (!IsValidColumn(m_nDataColumn))
        return -1;
    return m_table.GetCell(row, m_nDataColumn)->GetInt();
}

int CTableCtrl::FindItemData(int value) const
{
    if (!IsValidColumn(m_nDataColumn))
        return -1;
    return m_table.FindRow(m_nDataColumn, CDInt(value), -1);
}

// ---------------------------------------------------------------- notifications

CNotifyTarget* CTableCtrl::GetNotifyTarget() const
{
    if (m_pNotifyTarget)
        return m_pNotifyTarget;
    return dynamic_cast<CNotifyTarget*>(parentWidget());
}

std::intptr_t CTableCtrl::Notify(int code, NMTABLECTRL& notification)
{
    if (!m_bNotify)
        return 0;
    CNotifyTarget* target = GetNotifyTarget();
    if (!target)
        return 0;
    notification.hdr.hwndFrom = this;
    notification.hdr.idFrom = m_nId;
    notification.hdr.code = code;
    notification.pCtrl = this;
    if (notification.nRow >= 0 && IsValidRow(notification.nRow))
        notification.nItemData = GetItemData(notification.nRow);
    m_bNotify = false;
    const std::intptr_t result = target->OnNotify(notification);
    m_bNotify = true;
    return result;
}

std::intptr_t CTableCtrl::Notify(int code, int row, int col)
{
    NMTABLECTRL notification;
    notification.nRow = row;
    notification.nColumn = col;
    return Notify(code, notification);
}

// ---------------------------------------------------------------- focus, keys and menus

void CTableCtrl::SetFocusFlag(bool on)
{
    m_bHasFocus = on;
    m_body.update();
}

void CTableCtrl::focusInEvent(QFocusEvent* event)
{
    CNotifyScope scope(*this);
    QWidget::focusInEvent(event);
    FocusGained();
    m_edit.FocusEditor(); // focus that comes to the grid goes on into an open editor
}

void CTableCtrl::focusOutEvent(QFocusEvent* event)
{
    CNotifyScope scope(*this);
    QWidget::focusOutEvent(event);
    // A popup menu of the grid keeps the grid focused for the user.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    FocusLost(QApplication::focusWidget());
}

void CTableCtrl::FocusGained()
{
    if (m_bHasFocus)
        return;
    SetFocusFlag(true);
    CTableAccessible::FocusIn(*this);
    Notify(NM_SETFOCUS);
}

void CTableCtrl::FocusLost(QWidget* newFocus)
{
    // Focus moving between the grid and its editor stays the grid's.
    if (!m_bHasFocus || (newFocus && (newFocus == this || isAncestorOf(newFocus))))
        return;
    SetFocusFlag(false);
    Notify(NM_KILLFOCUS);
}

void CTableCtrl::keyPressEvent(QKeyEvent* event)
{
    CNotifyScope scope(*this);
    if (!m_keys.KeyPress(*event))
        QWidget::keyPressEvent(event);
}

std::int64_t CTableCtrl::Now() const
{
    return m_clock ? m_clock() : SteadyMilliseconds();
}

void CTableCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    CNotifyScope scope(*this);
    m_edit.EndEdit(true);
    // From the keyboard: the menu of the focus cell.
    m_menus.ShowBodyMenu(event->reason() == QContextMenuEvent::Mouse
                             ? m_body.mapFrom(this, event->pos())
                             : QPoint(-1, -1));
}

// ---------------------------------------------------------------- an owner's grid

CGridWindow::CGridWindow(unsigned style, int id)
    : m_grid(std::make_unique<CTableCtrl>()), m_host(m_grid.get())
{
    m_grid->Create(style, 0, 0, 1, 1, nullptr, id);
}

CGridWindow::~CGridWindow() = default;

void CGridWindow::SetNotifyTarget(CNotifyTarget* target)
{
    m_grid->SetNotifyTarget(target);
}

void CGridWindow::SetReaderFocus(std::function<bool()> hasReaderFocus)
{
    m_grid->m_listFocus = std::move(hasReaderFocus);
}

void CGridWindow::HandleKey(QKeyEvent* event)
{
    m_grid->keyPressEvent(event);
}

} // namespace Lattix
