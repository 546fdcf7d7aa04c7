#include "lattix/TableCtrl.h"

#include "lattix/CellData.h"
#include "lattix/ColDef.h"
#include "lattix/Collator.h"
#include "lattix/TableExport.h"
#include "lattix/TableMimeData.h"
#include "lattix/VirtualKey.h"
#include "velk/PopupMenu.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>
#include <numeric>

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

CTableCtrl::CWaitCursor::CWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

CTableCtrl::CWaitCursor::~CWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

CTableCtrl::CTableCtrl()
    : CTableCtrlInterface(&m_table, this), m_cursor(*this), m_selection(*this), m_body(*this),
      m_header(*this), m_footerWnd(*this), m_pHScroll(new QScrollBar(Qt::Horizontal, this)),
      m_pVScroll(new QScrollBar(Qt::Vertical, this))
{
    setWindowTitle(QString::fromLatin1(kWindowText));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    SetLeparello(true);
    m_drawState.Load();
    m_nRowHeight = m_drawState.GetHorzGrid() + m_nTallestCell + kMarginTop + kMarginBottom;
    m_footerWnd.hide();
    m_pHScroll->hide();
    m_pVScroll->hide();
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
    // Nothing may reach the view once its parts start going.
    m_pNotifyTarget = nullptr;
    m_bNotify = false;
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
    m_order.resize(m_columns.size());
    std::iota(m_order.begin(), m_order.end(), 0);
}

void CTableCtrl::CreateRowLayout()
{
    CreateRowLayout(-1);
}

void CTableCtrl::Clear()
{
    m_body.EndDragSelect();
    m_header.CancelTracking();
    m_columns.clear();
    m_order.clear();
    m_table.Clear();
    m_footer.Clear();
    m_sortOrder.clear();
    m_nDataColumn = -1;
    m_nScrollX = 0;
    m_nScrollY = 0;
    m_cursor.Reset();
    m_selection.SetAnchor(-1);
    m_defaultLayout.clear();
}

void CTableCtrl::Sort(std::span<const CSortKey> keys)
{
    std::vector<CSortKey> copy(keys.begin(), keys.end());
    m_sortOrder = copy;
    m_table.Sort(copy);
}

void CTableCtrl::DeleteRow(int index)
{
    const int cursorRow = m_cursor.GetRow();
    m_table.DeleteRow(index);
    RowsDeleted(cursorRow);
}

void CTableCtrl::DeleteAllRows()
{
    m_body.EndDragSelect();
    m_table.DeleteAllRows();
    m_cursor.SetRow(-1);
    m_selection.SetAnchor(-1);
}

void CTableCtrl::DeleteMarkedRows()
{
    const int cursorRow = m_cursor.GetRow();
    m_table.DeleteMarkedRows();
    RowsDeleted(cursorRow);
}

void CTableCtrl::CopyRows(const CTableInterface& source)
{
    m_body.EndDragSelect();
    m_table.CopyRows(source);
    // The new rows may lie in the freed records.
    m_cursor.SetRow(-1);
    m_selection.SetAnchor(-1);
}

void CTableCtrl::RowsDeleted(int cursorRow)
{
    // A freed record goes to the next new row, so neither may keep holding one.
    if (m_cursor.GetRow() < 0)
        m_cursor.SetRow(cursorRow < 0 ? -1 : std::min(cursorRow, GetRowCount() - 1));
    m_selection.CheckAnchor();
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
}

int CTableCtrl::AddColumn(const CColDef& def, const char* title, int width)
{
    auto comparer = def.CreateCompare();
    auto factory = def.CreateFactory();
    const int col = m_table.AddColumn(std::move(factory), std::move(comparer));
    m_columns.resize(Index(col + 1));
    m_order.push_back(col);
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
    CColumnInfo& info = Info(col);
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
    info.nDefaultWidth = info.nWidth;
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
        const int w = info.pOutput->GetMinWidth();
        const int h = info.pOutput->GetHeight();
        m_nTallestCell = std::max(m_nTallestCell, h);
        info.nLowestMin = w + m_drawState.GetVertGrid() + kMarginLeft + kMarginRight;
        info.nHighestMax = CColumnInfo::kMaxWidth;
        info.nMinWidth = std::clamp(info.nMinWidth, info.nLowestMin, info.nHighestMax);
        info.nMaxWidth = std::clamp(info.nMaxWidth, info.nMinWidth, info.nHighestMax);
        ClampWidth(col);
    }
    m_nRowHeight = m_drawState.GetHorzGrid() + m_nTallestCell + kMarginTop + kMarginBottom;
}

void CTableCtrl::ClampWidth(int col)
{
    CColumnInfo& info = Info(col);
    info.nWidth = std::max(info.nMinWidth, std::min(info.nWidth, info.nMaxWidth));
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
    Info(col).nWidth = width;
    ClampWidth(col);
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
    CColumnInfo& info = Info(col);
    info.nMinWidth = std::max(minWidth, info.nLowestMin);
    info.nMaxWidth = std::min(maxWidth, info.nHighestMax);
    ClampWidth(col);
}

int CTableCtrl::GetColumnMinWidth(int col) const
{
    return GetColumnInfo(col).nMinWidth;
}

int CTableCtrl::GetColumnMaxWidth(int col) const
{
    return GetColumnInfo(col).nMaxWidth;
}

int CTableCtrl::GetColumnWidth(int col) const
{
    return GetColumnInfo(col).nWidth;
}

bool CTableCtrl::FitColumnsToWindow()
{
    const int target = m_nBodyWidth - style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int total = GetTotalWidth();
    if (total <= 0)
        return true;
    int last = -1;
    int sum = 0;
    for (int col : m_order) {
        if (!IsColumnVisible(col))
            continue;
        const double scaled = static_cast<double>(GetColumnWidth(col)) * target / total;
        SetColumnWidth(col, static_cast<int>(scaled));
        sum += GetColumnWidth(col);
        last = col;
    }
    if (last >= 0)
        SetColumnWidth(last, GetColumnWidth(last) + target - sum);
    return true;
}

void CTableCtrl::SetColumnVisible(int col, bool visible)
{
    Info(col).bVisible = visible;
}

bool CTableCtrl::IsColumnVisible(int col) const
{
    return GetColumnInfo(col).bVisible;
}

void CTableCtrl::MoveColumn(int col, int pos)
{
    const auto it = std::find(m_order.begin(), m_order.end(), col);
    if (it == m_order.end())
        return;
    m_order.erase(it);
    pos = std::clamp(pos, 0, static_cast<int>(m_order.size()));
    m_order.insert(m_order.begin() + pos, col);
}

int CTableCtrl::GetColumnPos(int col) const
{
    const auto it = std::find(m_order.begin(), m_order.end(), col);
    return it == m_order.end() ? -1 : static_cast<int>(it - m_order.begin());
}

int CTableCtrl::GetNextVisiblePos(int pos) const
{
    const int count = static_cast<int>(m_order.size());
    for (int p = std::max(pos + 1, 0); p < count; ++p) {
        if (IsColumnVisible(m_order[Index(p)]))
            return p;
    }
    return count;
}

int CTableCtrl::GetPrevVisiblePos(int pos) const
{
    for (int p = std::min(pos, static_cast<int>(m_order.size())) - 1; p >= 0; --p) {
        if (IsColumnVisible(m_order[Index(p)]))
            return p;
    }
    return -1;
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
    std::vector<CLayoutColumn> columns;
    columns.reserve(m_columns.size());
    for (const CColumnInfo& info : m_columns)
        columns.push_back({info.nWidth, info.bVisible});
    words = CLayoutWords::Build(FirstTitles(), columns, m_order);
}

bool CTableCtrl::SetLayout(std::span<const std::uint16_t> words)
{
    std::vector<CLayoutColumn> columns;
    columns.reserve(m_columns.size());
    for (const CColumnInfo& info : m_columns)
        columns.push_back({info.nWidth, info.bVisible, info.nDefaultWidth});
    std::vector<int> order = m_order;
    if (!CLayoutWords::Apply(words, FirstTitles(), columns, order))
        return false;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        m_columns[i].nWidth = columns[i].nWidth;
        m_columns[i].bVisible = columns[i].bVisible;
    }
    m_order = std::move(order);
    return true;
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
    RepaintAll();
}

void CTableCtrl::RepaintAll()
{
    update();
    m_body.update();
    m_header.update();
    m_footerWnd.update();
}

int CTableCtrl::GetTotalWidth() const
{
    int total = 0;
    for (int col : m_order) {
        if (IsColumnVisible(col))
            total += GetColumnWidth(col);
    }
    return total;
}

int CTableCtrl::GetColumnLeft(int col) const
{
    int left = 0;
    for (int c : m_order) {
        if (c == col)
            break;
        if (IsColumnVisible(c))
            left += GetColumnWidth(c);
    }
    return left;
}

int CTableCtrl::ColumnFromX(int contentX) const
{
    if (contentX < 0)
        return -1;
    int left = 0;
    for (int col : m_order) {
        if (!IsColumnVisible(col))
            continue;
        left += GetColumnWidth(col);
        if (contentX < left)
            return col;
    }
    return -1;
}

int CTableCtrl::RowFromY(int bodyY) const
{
    const int y = bodyY + m_nScrollY;
    if (y < 0 || m_nRowHeight <= 0)
        return -1;
    const int row = y / m_nRowHeight;
    return row < GetRowCount() ? row : -1;
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
    m_nScrollX = std::clamp(m_nScrollX, 0, std::max(0, GetTotalWidth() - m_nBodyWidth));
    m_nScrollY = std::clamp(m_nScrollY, 0, MaxScrollY());
    m_nScrollY -= m_nScrollY % rh;
}

void CTableCtrl::Layout()
{
    const int cx = width();
    const int cy = height();
    const int headerHeight = m_bHeaderShown ? kHeaderHeight : 0;
    const int footerHeight = m_bFooter ? m_footerWnd.GetFooterHeight() : 0;
    const int barHeight = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int barWidth = barHeight;
    int bodyHeight = cy - headerHeight - footerHeight;
    int bodyWidth = cx;
    bool hBar = false;
    bool vBar = false;
    const int total = GetTotalWidth();
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

    m_body.setGeometry(0, headerHeight, m_nBodyWidth, m_nBodyHeight);
    m_body.show();
    m_header.setGeometry(0, 0, m_nBodyWidth + (vBar ? barWidth : 0), headerHeight);
    m_header.setVisible(headerHeight > 0);
    m_footerWnd.setGeometry(0, headerHeight + m_nBodyHeight, m_nBodyWidth, footerHeight);
    m_footerWnd.setVisible(footerHeight > 0);
    m_pVScroll->setGeometry(m_nBodyWidth, headerHeight, barWidth, m_nBodyHeight + footerHeight);
    m_pVScroll->setVisible(vBar);
    m_pVScroll->setEnabled(vBar);
    m_pHScroll->setGeometry(0, headerHeight + m_nBodyHeight + footerHeight, m_nBodyWidth,
                            barHeight);
    m_pHScroll->setVisible(hBar);
    m_pHScroll->setEnabled(hBar);
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
    m_pHScroll->setRange(0, std::max(0, GetTotalWidth() - m_nBodyWidth));
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
        const int col = ColumnFromX(m_nScrollX);
        int target = 0;
        if (col >= 0 && GetColumnLeft(col) < m_nScrollX) {
            target = GetColumnLeft(col);
        } else {
            const int pos = col >= 0 ? GetPrevVisiblePos(GetColumnPos(col))
                                     : GetPrevVisiblePos(GetColumnCount());
            target = pos >= 0 ? GetColumnLeft(GetColumnAtPos(pos)) : 0;
        }
        x = std::max(target, m_nScrollX - step);
        break;
    }
    case QAbstractSlider::SliderSingleStepAdd: {
        const int col = ColumnFromX(m_nScrollX);
        if (col < 0)
            return;
        const int pos = GetNextVisiblePos(GetColumnPos(col));
        const int target =
            pos < GetColumnCount() ? GetColumnLeft(GetColumnAtPos(pos)) : GetTotalWidth();
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
        x = GetTotalWidth();
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
        const int left = GetColumnLeft(col);
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
    if (m_bHasFocus)
        return;
    SetFocusFlag(true);
    Notify(NM_SETFOCUS);
}

void CTableCtrl::focusOutEvent(QFocusEvent* event)
{
    CNotifyScope scope(*this);
    QWidget::focusOutEvent(event);
    // A popup menu of the grid keeps the grid focused for the user.
    if (event->reason() == Qt::PopupFocusReason || !m_bHasFocus)
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
            SetScrollPos(GetTotalWidth(), m_nScrollY);
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
        col = pos < GetColumnCount() ? GetColumnAtPos(pos) : (m_order.empty() ? -1 : m_order[0]);
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

std::unique_ptr<CPopupMenu> CTableCtrl::NewMenu() const
{
    return m_menuFactory ? m_menuFactory() : std::make_unique<CPopupMenu>();
}

std::string CTableCtrl::GetColumnMenuText(int col) const
{
    const CColumnInfo& info = GetColumnInfo(col);
    if (info.strLongName.empty())
        return info.strTitle;
    std::string text = info.strLongName;
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

void CTableCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    CNotifyScope scope(*this);
    // From the keyboard: the menu of the focus cell.
    ShowBodyMenu(event->reason() == QContextMenuEvent::Mouse ? m_body.mapFrom(this, event->pos())
                                                             : QPoint(-1, -1));
}

void CTableCtrl::ShowBodyMenu(QPoint pos)
{
    CNotifyScope scope(*this);
    m_body.EndDragSelect();
    setFocus(Qt::OtherFocusReason);
    int row = -1;
    int col = -1;
    QPoint at;
    if (pos.x() >= 0 && pos.y() >= 0) {
        row = RowFromY(pos.y());
        col = ColumnFromX(pos.x() + m_nScrollX);
        m_cursor.Set(row, col);
        at = m_body.mapToGlobal(pos);
    } else {
        row = m_cursor.GetRow();
        col = m_cursor.GetColumn();
        const int x = IsValidColumn(col) ? GetColumnLeft(col) - m_nScrollX : 0;
        const int y = row >= 0 ? (row + 1) * m_nRowHeight - m_nScrollY : 0;
        at = m_body.mapToGlobal(QPoint(std::max(0, x), std::clamp(y, 0, m_nBodyHeight)));
    }
    if (row >= 0 && !IsRowMarked(row)) {
        m_selection.Click(row, 0);
        Update(true);
    }
    // The rows may be re-sorted or deleted while the menu is open (a scan adds rows
    // meanwhile): hold the row by its record and find it again when a command is chosen.
    CRowRef held;
    held.Set(*this, row);
    std::unique_ptr<CPopupMenu> menu = NewMenu();
    BuildBodyMenu(*menu, row, col);
    NMTABLECTRL built;
    built.nRow = row;
    built.nColumn = col;
    built.pMenu = menu.get();
    if (Notify(LXN_BODYMENU, built) != 0)
        return;
    const unsigned command = menu->Track(this, at.x(), at.y(), CPopupMenu::kTrackRightButton);
    if (command == 0)
        return;
    row = held.Find(*this);
    NMTABLECTRL chosen;
    chosen.nRow = row;
    chosen.nColumn = col;
    chosen.nCommand = static_cast<int>(command);
    if (Notify(LXN_BODYCOMMAND, chosen) != 0)
        return;
    OnBodyMenuCommand(command, row, col);
}

void CTableCtrl::BuildBodyMenu(CPopupMenu& menu, int row, int col)
{
    menu.AppendItems(kBodyMenuItems, ID_COPY_CELL);
    if (!IsValidRow(row) || !IsValidColumn(col))
        menu.EnableItem(ID_COPY_CELL, CPopupMenu::kGrayed);
    if (m_selection.GetMode() == CSelection::kNone)
        menu.DeleteItem(ID_COPY, CPopupMenu::kByCommand);
    if (m_selection.GetMode() != CSelection::kMultiple)
        menu.DeleteItem(ID_SELECT_ALL, CPopupMenu::kByCommand);

    CPopupMenu hide;
    for (int c : m_order) {
        const std::string text = GetColumnMenuText(c);
        if (IsColumnVisible(c) && !text.empty() && c < 400)
            hide.AppendItem(CPopupMenu::kEnabled, ID_HIDE_FIRST + static_cast<unsigned>(c), text);
    }
    if (hide.ItemCount() < 2) {
        while (hide.ItemCount() > 0)
            hide.DeleteItem(0, CPopupMenu::kByPosition);
        hide.AppendItems("~(none)", ID_HIDE_FIRST);
    }
    CPopupMenu show;
    show.AppendItems("&All columns;-", ID_ALL_COLUMNS);
    for (int c = 0; c < GetColumnCount() && c < 399; ++c) {
        const std::string text = GetColumnMenuText(c);
        if (!IsColumnVisible(c) && !text.empty())
            show.AppendItem(CPopupMenu::kEnabled, ID_SHOW_FIRST + static_cast<unsigned>(c), text);
    }
    if (show.ItemCount() == 2) {
        while (show.ItemCount() > 0)
            show.DeleteItem(0, CPopupMenu::kByPosition);
        show.AppendItems("~(none)", ID_ALL_COLUMNS);
    }
    menu.AttachSubmenu(ID_SHOW_COLUMN, show);
    menu.AttachSubmenu(ID_HIDE_COLUMN, hide);
}

void CTableCtrl::OnBodyMenuCommand(unsigned command, int row, int col)
{
    if (command >= ID_HIDE_FIRST && command < ID_HIDE_FIRST + 400) {
        const int c = static_cast<int>(command - ID_HIDE_FIRST);
        if (IsValidColumn(c)) {
            SetColumnVisible(c, false);
            Update(true);
        }
        return;
    }
    if (command >= ID_SHOW_FIRST && command < ID_SHOW_FIRST + 399) {
        const int c = static_cast<int>(command - ID_SHOW_FIRST);
        if (IsValidColumn(c)) {
            SetColumnVisible(c, true);
            Update(true);
        }
        return;
    }
    switch (command) {
    case ID_COPY_CELL:
        if (IsValidRow(row) && IsValidColumn(col))
            CopyCellToClipboard(row, col);
        break;
    case ID_COPY:
    case ID_COPY_ALL:
        CopyRowsToClipboard(command == ID_COPY_ALL);
        break;
    case ID_SELECT_ALL:
        if (m_selection.GetMode() == CSelection::kMultiple) {
            if (GetRowCount() > 0)
                MarkRows(0, GetRowCount() - 1, true);
        } else if (IsValidRow(row)) {
            MarkRow(row, true);
        }
        // The rows keep their order, so the sort arrows stay.
        Update(true);
        break;
    case ID_ALL_COLUMNS:
        // Showing or hiding columns leaves the rows in their order, so the arrows stay.
        ShowAllTitledColumns();
        Update(true);
        break;
    case ID_RESTORE_DEFAULT:
        RestoreDefault();
        break;
    case ID_SAVE_AS:
        SaveAsHtml();
        break;
    default:
        break;
    }
}

void CTableCtrl::ShowAllTitledColumns()
{
    for (int c = 0; c < GetColumnCount(); ++c) {
        if (!GetColumnInfo(c).strTitle.empty())
            SetColumnVisible(c, true);
    }
}

void CTableCtrl::RestoreDefault()
{
    if (!m_defaultLayout.empty()) {
        SetLayout(m_defaultLayout);
        Update(false);
        return;
    }
    for (int c = 0; c < GetColumnCount(); ++c)
        MoveColumn(c, c);
    AutoSizeColumns(true);
    ShowAllTitledColumns();
    Update(false);
}

void CTableCtrl::ShowHeaderMenu(QPoint pos)
{
    CNotifyScope scope(*this);
    setFocus(Qt::OtherFocusReason);
    m_header.CancelTracking();
    const int col = ColumnFromX(pos.x() + m_nScrollX);
    std::unique_ptr<CPopupMenu> menu = NewMenu();
    BuildHeaderMenu(*menu, col);
    NMTABLECTRL built;
    built.nColumn = col;
    built.pMenu = menu.get();
    if (Notify(LXN_HEADERMENU, built) != 0)
        return;
    const QPoint at = m_header.mapToGlobal(pos);
    const unsigned command = menu->Track(this, at.x(), at.y(), CPopupMenu::kTrackRightButton);
    if (command == 0)
        return;
    NMTABLECTRL chosen;
    chosen.nColumn = col;
    chosen.nCommand = static_cast<int>(command);
    if (Notify(LXN_HEADERCOMMAND, chosen) != 0)
        return;
    OnHeaderMenuCommand(command, col);
}

void CTableCtrl::BuildHeaderMenu(CPopupMenu& menu, int col)
{
    if (!IsValidColumn(col)) {
        menu.AppendItems("~Todo: Implementieren", 1);
        return;
    }
    if (m_bHeaderSort) {
        menu.AppendItems(kHeaderMenuItems, ID_SORT_ASCENDING);
        int direction = CHeaderDisplay::kNoSort;
        for (const CSortKey& key : m_sortOrder) {
            if (key.nColumn == col)
                direction =
                    key.bDescending ? CHeaderDisplay::kDescending : CHeaderDisplay::kAscending;
        }
        menu.CheckRadioItem(ID_SORT_ASCENDING, ID_SORT_NONE,
                            ID_SORT_ASCENDING + static_cast<unsigned>(direction),
                            CPopupMenu::kByCommand);
    } else {
        menu.AppendItem(CPopupMenu::kEnabled, ID_HIDE, "Hide");
    }
    int visible = 0;
    for (int c = 0; c < GetColumnCount(); ++c)
        visible += IsColumnVisible(c) ? 1 : 0;
    if (visible <= 1)
        menu.EnableItem(ID_HIDE, CPopupMenu::kGrayed);
}

void CTableCtrl::OnHeaderMenuCommand(unsigned command, int col)
{
    if (IsValidColumn(col)) {
        switch (command) {
        case ID_SORT_ASCENDING:
        case ID_SORT_DESCENDING:
        case ID_SORT_NONE:
            m_header.SortByColumn(col, static_cast<int>(command - ID_SORT_ASCENDING), false);
            break;
        case ID_HIDE:
            SetColumnVisible(col, false);
            break;
        default:
            break;
        }
    }
    Update(true);
}

// ---------------------------------------------------------------- sorting

void CTableCtrl::OrderSortKeys()
{
    std::stable_sort(m_sortOrder.begin(), m_sortOrder.end(),
                     [this](const CSortKey& a, const CSortKey& b) {
                         return GetColumnPos(a.nColumn) < GetColumnPos(b.nColumn);
                     });
}

void CTableCtrl::ResortByDisplayOrder()
{
    if (!m_sortOrder.empty()) {
        CWaitCursor wait;
        if (Notify(LXN_SORTCHANGING) == 0) {
            OrderSortKeys();
            Sort(std::vector<CSortKey>(m_sortOrder));
            Notify(LXN_SORTED);
        }
    }
    Update(true);
}

// ---------------------------------------------------------------- clipboard and export

std::vector<CExportColumn> CTableCtrl::ExportColumns() const
{
    std::vector<CExportColumn> columns;
    for (int col : m_order) {
        const CColumnInfo& info = GetColumnInfo(col);
        if (info.bVisible && info.pOutput)
            columns.push_back({col, info.pOutput.get(), info.strTitle});
    }
    return columns;
}

void CTableCtrl::CopyCellToClipboard(int row, int col)
{
    QApplication::clipboard()->setText(QString::fromStdString(GetCellText(row, col)));
}

void CTableCtrl::CopyRowsToClipboard(bool allRows)
{
    m_bCopyAll = allRows;
    QApplication::clipboard()->setMimeData(new CTableMimeData(*this));
}

QString CTableCtrl::ClipboardText(bool allRows) const
{
    return CTableExport::ClipboardText(m_table, ExportColumns(), allRows);
}

QByteArray CTableCtrl::HtmlText() const
{
    return CTableExport::HtmlText(m_table, ExportColumns());
}

bool CTableCtrl::SaveAsHtml()
{
    const QString name = CTableExport::DefaultHtmlFileName(windowTitle());
    QString path;
    if (m_savePathPrompt) {
        path = m_savePathPrompt(name);
    } else {
        QFileDialog dialog(nullptr);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("html"));
        dialog.setNameFilters(
            {QStringLiteral("Html Dateien (*.html)"), QStringLiteral("Alle Dateien (*.*)")});
        dialog.selectFile(name);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().front();
    }
    if (path.isEmpty())
        return false;
    return CTableExport::WriteFile(path, HtmlText());
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
