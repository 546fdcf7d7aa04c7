#include "lattix/view/TableCtrl.h"

#include "lattix/model/CellData.h"
#include "lattix/model/Collator.h"
#include "lattix/view/ColDef.h"
#include "lattix/view/TableAccessible.h"
#include "lattix/view/VirtualKey.h"
#include "velk/BottomTabCtrl.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>

namespace Lattix {

namespace {

constexpr unsigned kStyleVisible = 0x10000000;
constexpr int kTypeAheadTickMs = 400;
// Horizontal page and line steps leave this much of the old view in sight.
constexpr int kHorzPageOverlap = 32;

std::int64_t SteadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Number of code points in UTF-8 text.
std::size_t CodePoints(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// The first n code points of UTF-8 text.
std::string_view LeadingCodePoints(std::string_view text, std::size_t n)
{
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (n == 0)
                break;
            --n;
        }
    }
    return text.substr(0, i);
}

} // namespace

CTableCtrl::CTableCtrl()
    : CTableCtrlInterface(&m_table, this), m_cursor(*this), m_selection(*this),
      m_edit(*this, m_cursor, m_selection), m_menus(*this), m_clipboard(*this), m_body(*this),
      m_header(*this), m_footerWnd(*this), m_pHScroll(new QScrollBar(Qt::Horizontal, this)),
      m_pVScroll(new QScrollBar(Qt::Vertical, this)),
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
    m_pHScroll->hide();
    m_pVScroll->hide();
    m_pBottomTab->hide();
    m_pBottomTab->SetEmbedded(m_drawState.GetBackColor(1), m_nId);
    m_pVScroll->installEventFilter(this);
    for (QWidget* child : {static_cast<QWidget*>(&m_body), static_cast<QWidget*>(&m_header),
                           static_cast<QWidget*>(&m_footerWnd), static_cast<QWidget*>(m_pHScroll),
                           static_cast<QWidget*>(m_pVScroll)})
        child->setFocusPolicy(Qt::NoFocus);

    QObject::connect(m_pVScroll, &QAbstractSlider::actionTriggered, this,
                     [this](int action) { ScrollVert(action); });
    QObject::connect(m_pVScroll, &QAbstractSlider::valueChanged, this, [this](int value) {
        CNotifyScope scope(*this);
        SetScrollPos(m_nScrollX, value);
    });
    QObject::connect(m_pHScroll, &QAbstractSlider::actionTriggered, this,
                     [this](int action) { ScrollHorz(action); });
    QObject::connect(m_pHScroll, &QAbstractSlider::valueChanged, this, [this](int value) {
        CNotifyScope scope(*this);
        SetScrollPos(value, m_nScrollY);
    });
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
    m_pVScroll->removeEventFilter(this);
    QObject::disconnect(m_pVScroll, nullptr, this, nullptr);
    QObject::disconnect(m_pHScroll, nullptr, this, nullptr);
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
    m_nScrollX = 0;
    m_nScrollY = 0;
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
    // The new rows may lie in the freed records.
    m_cursor.SetRow(-1);
    m_selection.SetAnchor(-1);
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

int CTableCtrl::GetColumnMinWidth(int col) const
{
    return m_geometry.GetMinWidth(col);
}

int CTableCtrl::GetColumnMaxWidth(int col) const
{
    return m_geometry.GetMaxWidth(col);
}

int CTableCtrl::GetColumnWidth(int col) const
{
    return m_geometry.GetWidth(col);
}

bool CTableCtrl::FitColumnsToWindow()
{
    m_geometry.FitToWidth(m_nBodyWidth - style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    return true;
}

void CTableCtrl::SetColumnVisible(int col, bool visible)
{
    m_geometry.SetVisible(col, visible);
}

bool CTableCtrl::IsColumnVisible(int col) const
{
    return m_geometry.IsVisible(col);
}

void CTableCtrl::MoveColumn(int col, int pos)
{
    m_geometry.MoveColumn(col, pos);
}

int CTableCtrl::GetNextVisiblePos(int pos) const
{
    return m_geometry.GetNextVisiblePos(pos);
}

int CTableCtrl::GetPrevVisiblePos(int pos) const
{
    return m_geometry.GetPrevVisiblePos(pos);
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

int CTableCtrl::RowFromY(int bodyY) const
{
    const int y = bodyY + m_nScrollY;
    if (y < 0 || m_nRowHeight <= 0)
        return -1;
    const int row = y / m_nRowHeight;
    return row < GetRowCount() ? row : -1;
}

QRect CTableCtrl::GetCellRect(int row, int col) const
{
    const int rowHeight = std::max(1, m_nRowHeight);
    return {m_geometry.GetColumnLeft(col) - m_nScrollX, row * rowHeight - m_nScrollY,
            std::max(0, m_geometry.GetWidth(col) - m_drawState.GetVertGrid()),
            std::max(0, rowHeight - m_drawState.GetHorzGrid())};
}

int CTableCtrl::GetRowsPerPage() const
{
    return m_nRowHeight > 0 ? std::max(0, m_nBodyHeight / m_nRowHeight) : 0;
}

int CTableCtrl::MaxScrollY() const
{
    const int rh = std::max(1, m_nRowHeight);
    const std::int64_t content = static_cast<std::int64_t>(GetRowCount()) * rh;
    const std::int64_t page = static_cast<std::int64_t>(m_nBodyHeight / rh) * rh;
    return static_cast<int>(std::max<std::int64_t>(0, content - page));
}

void CTableCtrl::ClampScroll()
{
    const int rh = std::max(1, m_nRowHeight);
    m_nScrollX = std::clamp(m_nScrollX, 0, std::max(0, m_geometry.GetTotalWidth() - m_nBodyWidth));
    m_nScrollY = std::clamp(m_nScrollY, 0, MaxScrollY());
    m_nScrollY -= m_nScrollY % rh;
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
    const int left = area.left();
    const int top = area.top();
    const int cx = area.width();
    const int cy = area.height();
    const int headerHeight = m_bHeaderShown ? kHeaderHeight : 0;
    const int footerHeight = m_bFooter ? m_footerWnd.GetFooterHeight() : 0;
    const int barHeight = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int barWidth = barHeight;
    int bodyHeight = cy - headerHeight - footerHeight;
    int bodyWidth = cx;
    bool hBar = false;
    bool vBar = false;
    const int total = m_geometry.GetTotalWidth();
    const std::int64_t contentHeight = static_cast<std::int64_t>(GetRowCount()) * m_nRowHeight;
    for (;;) {
        if (m_bHorzScrollAllowed && !hBar &&
            (m_bBottomTab || total > bodyWidth + m_drawState.GetGridWidth())) {
            hBar = true;
            bodyHeight -= barHeight;
        }
        if (m_bVertScrollAllowed && !vBar && bodyHeight < contentHeight) {
            vBar = true;
            bodyWidth -= barWidth;
            continue;
        }
        break;
    }
    m_nBodyWidth = std::max(0, bodyWidth);
    m_nBodyHeight = std::max(0, bodyHeight);
    ClampScroll();
    UpdateScrollBars();

    m_body.setGeometry(left, top + headerHeight, m_nBodyWidth, m_nBodyHeight);
    m_body.show();
    m_header.setGeometry(left, top, m_nBodyWidth + (vBar ? barWidth : 0), headerHeight);
    m_header.setVisible(headerHeight > 0);
    m_footerWnd.setGeometry(left, top + headerHeight + m_nBodyHeight, m_nBodyWidth, footerHeight);
    m_footerWnd.setVisible(footerHeight > 0);
    m_pVScroll->setGeometry(left + m_nBodyWidth, top + headerHeight, barWidth,
                            m_nBodyHeight + footerHeight);
    m_pVScroll->setVisible(vBar);
    m_pVScroll->setEnabled(vBar);
    const int barTop = top + headerHeight + m_nBodyHeight + footerHeight;
    const bool tabs = m_bBottomTab && hBar;
    const int tabsWidth =
        tabs ? std::min(m_pBottomTab->GetTotalWidth() + kBottomTabGap, m_nBodyWidth * 2 / 3) : 0;
    m_pBottomTab->setGeometry(left, barTop, tabsWidth, barHeight);
    m_pBottomTab->setVisible(tabs);
    m_pHScroll->setGeometry(left + tabsWidth, barTop, m_nBodyWidth - tabsWidth, barHeight);
    m_pHScroll->setVisible(hBar);
    m_pHScroll->setEnabled(hBar);
    m_edit.RepositionEditor();
}

void CTableCtrl::UpdateScrollBars()
{
    const QSignalBlocker blockV(m_pVScroll);
    const QSignalBlocker blockH(m_pHScroll);
    m_pVScroll->setRange(0, MaxScrollY());
    m_pVScroll->setPageStep(std::max(1, m_nBodyHeight));
    m_pVScroll->setSingleStep(std::max(1, m_nRowHeight));
    if (!m_pVScroll->isSliderDown())
        m_pVScroll->setValue(m_nScrollY);
    m_pHScroll->setRange(0, std::max(0, m_geometry.GetTotalWidth() - m_nBodyWidth));
    m_pHScroll->setPageStep(std::max(1, m_nBodyWidth));
    if (!m_pHScroll->isSliderDown())
        m_pHScroll->setValue(m_nScrollX);
}

void CTableCtrl::SetScrollPos(int x, int y)
{
    const int oldX = m_nScrollX;
    const int oldY = m_nScrollY;
    m_nScrollX = x;
    m_nScrollY = y;
    ClampScroll();
    if (m_nScrollX == oldX && m_nScrollY == oldY)
        return;
    m_edit.RepositionEditor();
    UpdateScrollBars();
    m_body.update();
    if (m_nScrollX != oldX) {
        m_header.update();
        m_footerWnd.update();
    }
}

void CTableCtrl::ScrollVert(int action)
{
    const int rh = std::max(1, m_nRowHeight);
    int y = m_nScrollY;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        y += rh;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        y -= rh;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        y += std::max(rh, m_nBodyHeight - rh);
        break;
    case QAbstractSlider::SliderPageStepSub:
        y -= std::max(rh, m_nBodyHeight - rh);
        break;
    case QAbstractSlider::SliderToMinimum:
        y = 0;
        break;
    case QAbstractSlider::SliderToMaximum:
        y = MaxScrollY();
        break;
    default:
        return; // thumb moves arrive as value changes
    }
    SetScrollPos(m_nScrollX, y);
    m_pVScroll->setSliderPosition(m_nScrollY);
}

void CTableCtrl::ScrollHorz(int action)
{
    const int step = std::max(1, m_nBodyWidth - kHorzPageOverlap);
    int x = m_nScrollX;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: {
        const int col = m_geometry.ColumnFromX(m_nScrollX);
        int target = 0;
        if (col >= 0 && m_geometry.GetColumnLeft(col) < m_nScrollX) {
            target = m_geometry.GetColumnLeft(col);
        } else {
            const int pos = col >= 0 ? GetPrevVisiblePos(m_geometry.GetColumnPos(col))
                                     : GetPrevVisiblePos(GetColumnCount());
            target = pos >= 0 ? m_geometry.GetColumnLeft(m_geometry.GetColumnAtPos(pos)) : 0;
        }
        x = std::max(target, m_nScrollX - step);
        break;
    }
    case QAbstractSlider::SliderSingleStepAdd: {
        const int col = m_geometry.ColumnFromX(m_nScrollX);
        if (col < 0)
            return;
        const int pos = GetNextVisiblePos(m_geometry.GetColumnPos(col));
        const int target = pos < GetColumnCount()
                               ? m_geometry.GetColumnLeft(m_geometry.GetColumnAtPos(pos))
                               : m_geometry.GetTotalWidth();
        x = std::min(target, m_nScrollX + step);
        break;
    }
    case QAbstractSlider::SliderPageStepAdd:
        x += step;
        break;
    case QAbstractSlider::SliderPageStepSub:
        x -= step;
        break;
    case QAbstractSlider::SliderToMinimum:
        x = 0;
        break;
    case QAbstractSlider::SliderToMaximum:
        x = m_geometry.GetTotalWidth();
        break;
    default:
        return;
    }
    SetScrollPos(x, m_nScrollY);
    m_pHScroll->setSliderPosition(m_nScrollX);
}

void CTableCtrl::EnsureVisible(int row, int col)
{
    int x = m_nScrollX;
    int y = m_nScrollY;
    const int rh = std::max(1, m_nRowHeight);
    if (IsValidRow(row)) {
        const int top = row * rh;
        if (top < y)
            y = top;
        else if (top + rh > y + m_nBodyHeight)
            y = (row - std::max(1, GetRowsPerPage()) + 1) * rh;
    }
    if (IsValidColumn(col) && IsColumnVisible(col)) {
        const int left = m_geometry.GetColumnLeft(col);
        const int right = left + GetColumnWidth(col);
        if (left < x)
            x = left;
        else if (right > x + m_nBodyWidth)
            x = std::min(left, right - m_nBodyWidth);
    }
    SetScrollPos(x, y);
}

void CTableCtrl::wheelEvent(QWheelEvent* event)
{
    CNotifyScope scope(*this);
    const QPoint delta = event->angleDelta();
    const bool sideways = delta.x() != 0 || (event->modifiers() & Qt::ShiftModifier) != 0;
    QScrollBar* bar = sideways ? m_pHScroll : m_pVScroll;
    if (!bar->isVisible()) {
        event->ignore();
        return;
    }
    QApplication::sendEvent(bar, event);
}

void CTableCtrl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Layout();
}

// ---------------------------------------------------------------- rows

std::string CTableCtrl::GetCellText(int row, int col) const
{
    CCellOutput* output = GetColumnInfo(col).pOutput.get();
    return output ? output->GetText(*m_table.GetCell(row, col)) : std::string();
}

int CTableCtrl::FindText(int col, const std::string& prefix, int after) const
{
    if (!IsValidColumn(col))
        return -1;
    const CCollator& collator = CCollator::User();
    const std::size_t length = CodePoints(prefix);
    const int count = GetRowCount();
    const auto matches = [&](int row) {
        const std::string text = GetCellText(row, col);
        return collator.Compare(LeadingCodePoints(text, length), prefix) == 0;
    };
    for (int row = std::max(after + 1, 0); row < count; ++row) {
        if (matches(row))
            return row;
    }
    for (int row = 0; row < std::min(after, count); ++row) {
        if (matches(row))
            return row;
    }
    return -1;
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

// ---------------------------------------------------------------- focus and keys

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
    const unsigned vkey = VirtualKeyFromQt(event->key());
    // Key notifications always go to the parent.
    if (auto* target = dynamic_cast<CNotifyTarget*>(parentWidget()); target && m_bNotify) {
        NMKEY key;
        key.hdr.hwndFrom = this;
        key.hdr.idFrom = m_nId;
        key.hdr.code = NM_KEYDOWN;
        key.nVKey = vkey;
        key.uFlags = event->isAutoRepeat() ? 0x4000u : 0u;
        m_bNotify = false;
        const std::intptr_t result = target->OnKeyNotify(key);
        m_bNotify = true;
        if (result != 0)
            return;
    }
    switch (vkey) {
    case VK_BACK:
    case VK_DELETE:
        m_typeAhead.Clear();
        return;
    case VK_SPACE:
        m_typeAhead.Expire(Now()); // a text that ran out takes no more spaces
        if (m_typeAhead.IsActive() && !(event->modifiers() & Qt::ControlModifier))
            break; // a space inside a typed text
        [[fallthrough]];
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        HandleKey(vkey, event->modifiers());
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0) >= QChar(32) &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        TypeAhead(text);
        return;
    }
    QWidget::keyPressEvent(event);
}

void CTableCtrl::HandleKey(unsigned vkey, Qt::KeyboardModifiers modifiers)
{
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool control = modifiers & Qt::ControlModifier;
    const bool cellMode = m_cursor.GetMode() == CTableCursor::kCellMode;
    // The cursor leaves an open edit behind it committed.
    m_edit.EndEdit(false);
    switch (vkey) {
    case VK_SPACE:
        break;
    case VK_PRIOR:
        m_cursor.PageUp();
        break;
    case VK_NEXT:
        m_cursor.PageDown();
        break;
    case VK_HOME:
        if (control)
            m_cursor.FirstRow();
        else if (cellMode)
            m_cursor.FirstColumn();
        else
            SetScrollPos(0, m_nScrollY);
        break;
    case VK_END:
        if (control)
            m_cursor.LastRow();
        else if (cellMode)
            m_cursor.LastColumn();
        else
            SetScrollPos(m_geometry.GetTotalWidth(), m_nScrollY);
        break;
    case VK_LEFT:
        if (cellMode)
            m_cursor.PrevColumn();
        else
            ScrollHorz(QAbstractSlider::SliderSingleStepSub);
        break;
    case VK_RIGHT:
        if (cellMode)
            m_cursor.NextColumn();
        else
            ScrollHorz(QAbstractSlider::SliderSingleStepAdd);
        break;
    case VK_UP:
        m_cursor.Up();
        break;
    case VK_DOWN:
        m_cursor.Down();
        break;
    default:
        return;
    }
    const int row = m_cursor.GetRow();
    if (row >= 0) {
        const unsigned keys = (shift ? MK_SHIFT : 0u) | (control ? MK_CONTROL : 0u);
        if (vkey == VK_SPACE)
            m_selection.Click(row, keys);
        else if (shift)
            m_selection.Click(row, MK_SHIFT);
        else if (!control)
            m_selection.Click(row, 0);
    }
    EnsureVisible(row, m_cursor.GetColumn());
    if (vkey == VK_SPACE && !shift && !control)
        m_edit.BeginEdit(true);
    Update(true);
}

std::int64_t CTableCtrl::Now() const
{
    return m_clock ? m_clock() : SteadyMilliseconds();
}

void CTableCtrl::TypeAhead(const QString& text)
{
    setCursor(Qt::BusyCursor);
    m_typeAheadTimer.start(kTypeAheadTickMs, this);
    const std::string& prefix = m_typeAhead.Type(text.toStdString(), Now());
    int col = -1;
    if (!m_sortOrder.empty()) {
        col = m_sortOrder.front().nColumn;
    } else {
        const int pos = GetNextVisiblePos(-1);
        col = pos < GetColumnCount() ? m_geometry.GetColumnAtPos(pos)
                                     : (GetColumnCount() > 0 ? m_geometry.GetColumnAtPos(0) : -1);
    }
    const int row = FindText(col, prefix, -1);
    if (row < 0) {
        QApplication::beep();
        return;
    }
    m_cursor.SetRow(row);
    m_selection.Click(row, 0);
    EnsureVisible(row, m_cursor.GetColumn());
    Update(true);
}

void CTableCtrl::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_typeAheadTimer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    m_typeAhead.Expire(Now());
    if (!m_typeAhead.IsActive()) {
        m_typeAheadTimer.stop();
        unsetCursor();
    }
}

// ---------------------------------------------------------------- menus

void CTableCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    CNotifyScope scope(*this);
    m_edit.EndEdit(true);
    // From the keyboard: the menu of the focus cell.
    m_menus.ShowBodyMenu(event->reason() == QContextMenuEvent::Mouse
                             ? m_body.mapFrom(this, event->pos())
                             : QPoint(-1, -1));
}

void CTableCtrl::BuildBodyMenu(CPopupMenu& menu, int row, int col)
{
    m_menus.BuildBodyMenu(menu, row, col);
}

void CTableCtrl::OnBodyMenuCommand(unsigned command, int row, int col)
{
    m_menus.OnBodyMenuCommand(command, row, col);
}

void CTableCtrl::BuildHeaderMenu(CPopupMenu& menu, int col)
{
    m_menus.BuildHeaderMenu(menu, col);
}

void CTableCtrl::OnHeaderMenuCommand(unsigned command, int col)
{
    m_menus.OnHeaderMenuCommand(command, col);
}

// ---------------------------------------------------------------- tooltips

bool CTableCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pVScroll && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int count = GetRowCount();
        int first = m_nScrollY / std::max(1, m_nRowHeight) + 1;
        first = std::min(std::max(first, 1), count);
        QToolTip::showText(help->globalPos(), QString::asprintf("%i von %i", first, count),
                           m_pVScroll);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace Lattix
