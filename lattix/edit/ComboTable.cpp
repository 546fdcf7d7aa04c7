#include "lattix/edit/ComboTable.h"

#include "lattix/model/CellData.h"
#include "lattix/model/ColumnGeometry.h"
#include "lattix/view/TableAccessible.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace Lattix {

namespace {

// The frame of the drop-down, one pixel on each side.
constexpr int kComboDropFrame = 2;

} // namespace

CComboTable::CComboTable(int id, QWidget* parent)
    : CComboBase(id, parent), CTableCtrlInterface(nullptr, nullptr), m_drop(*this),
      m_beeper([] { QApplication::beep(); })
{
    Present(m_drop.Table());
    setWindowTitle(QString::fromLatin1(kWindowName));
    // No accessible name of its own: screen readers name it after its label (the label's
    // buddy) unless the owner names it.
    m_drop.Grid().SetNotifyTarget(&m_dropTarget);
    m_drop.Host().GetCursor().SetMode(CTableCursor::kRowMode);
    SetText(QString());
}

CComboTable::~CComboTable()
{
    // The list goes before the face: nothing it does on the way may reach the face.
    m_drop.Grid().SetNotifyTarget(nullptr);
    if (IsOpened()) {
        CComboBase::SetOpened(false);
        m_drop.Widget().hide();
    }
}

void CComboTable::CreateRowLayout()
{
    CreateRowLayout(-1);
}

void CComboTable::CreateRowLayout(int dataColumn)
{
    m_nTextColumn = 0;
    m_nItemDataColumn = -1;
    m_drop.Table().CreateRowLayout(dataColumn);
    m_drop.Table().Update(false);
}

void CComboTable::SelectRow(int row)
{
    SetCurrentRow(row);
    m_drop.Table().SelectRow(m_nCurrentRow);
    if (m_drop.Table().GetSelectedRow() >= 0) {
        SetText(QString::fromStdString(m_strText));
    } else {
        m_strText.clear();
        m_nCurrentData = -1;
        SetText(QString());
    }
}

bool CComboTable::SetCurrentRow(int row)
{
    if (m_bSkipSetRow) {
        m_bSkipSetRow = false;
        return m_nCurrentRow >= 0;
    }
    // A row that is not (or no longer) in the list makes no current row.
    m_nCurrentRow = m_drop.Table().IsValidRow(row) ? row : -1;
    if (m_nCurrentRow >= 0) {
        m_strText = m_drop.Table().IsValidColumn(m_nTextColumn)
                        ? m_drop.Table().GetCellText(m_nCurrentRow, m_nTextColumn)
                        : std::string();
        m_nCurrentData = m_drop.Table().IsValidColumn(m_nItemDataColumn)
                             ? m_drop.Table().GetCell(m_nCurrentRow, m_nItemDataColumn)->GetInt()
                             : -1;
    } else {
        m_strText.clear();
        m_nCurrentData = -1;
    }
    SetText(QString::fromStdString(m_strText));
    NotifyParent(CBN_ROWSET);
    return m_nCurrentRow >= 0;
}

void CComboTable::SelectByPrefix(const QString& text)
{
    if (m_nTextColumn < 0 || text.isEmpty() || text.startsWith(QLatin1Char(' ')))
        return;
    const int count = m_drop.Table().GetRowCount();
    for (int row = 0; row < count; ++row) {
        if (row == m_nCurrentRow)
            continue;
        const QString cell = QString::fromStdString(m_drop.Table().GetCellText(row, m_nTextColumn));
        if (cell.left(text.size()).compare(text, Qt::CaseInsensitive) != 0)
            continue;
        m_drop.Table().SelectRow(row);
        SetCurrentRow(row);
        m_drop.Table().Update(false);
        if (IsOpened())
            m_nOpenRow = row; // already reported here, not again when the list closes
        NotifyParent(CBN_SELCHANGE);
        if (!IsOpened())
            NotifyParent(CBN_SELENDOK);
        return;
    }
    if (m_beeper)
        m_beeper();
}

void CComboTable::SetOpened(bool open)
{
    ShowDropDown(open);
}

void CComboTable::ShowDropDown(bool show)
{
    if (IsOpened() == show)
        return;
    if (!show) {
        CComboBase::SetOpened(false); // first: hiding the list reports back
        m_drop.Widget().hide();
        update();
        if (hasFocus()) {
            // Screen readers followed the list: the focus is the face's again.
            QAccessibleEvent focus(this, QAccessible::Focus);
            QAccessible::updateAccessibility(&focus);
        }
        FinishTracking();
        return;
    }
    if (!m_bAutoSized) {
        m_drop.Table().AutoSizeColumns(false);
        m_bAutoSized = true;
    }
    NotifyParent(CBN_DROPDOWN);

    const int rowCount = m_drop.Table().GetRowCount();
    const int rows = std::clamp(rowCount, 1, kMaxDropRows);
    const int extra =
        kComboDropFrame + (m_drop.Host().IsHeaderShown() ? CTableHost::kHeaderHeight : 0);
    QRect rect = GetDropRect(-rows, extra);

    const int barExtent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    int needed = m_drop.Host().Geometry().GetTotalWidth() + kComboDropFrame;
    if (static_cast<long long>(rowCount) * GetRowHeight() > rect.height() - extra)
        needed += barExtent;
    if (rect.width() < needed) {
        rect.setWidth(needed);
        const QScreen* shown = screen();
        const int screenRight = shown ? shown->availableGeometry().right() : rect.right();
        if (rect.right() > screenRight) {
            // Narrower than its columns: room for the horizontal scroll bar.
            rect.setRight(screenRight);
            if (rect.top() < mapToGlobal(QPoint(0, 0)).y())
                rect.setTop(rect.top() - barExtent); // above the face: grow upward
            else
                rect.setBottom(rect.bottom() + barExtent);
        }
    }

    m_drop.Widget().setGeometry(rect);
    m_drop.Widget().show();
    m_drop.Widget().raise();
    m_nOpenRow = m_drop.Table().GetSelectedRow();
    m_drop.Host().EnsureVisible(m_nOpenRow, -1);
    m_drop.Table().Update(true);
    CComboBase::SetOpened(true);
    update();
    // The face keeps the keyboard; screen readers move to the highlighted row.
    CTableAccessible::FocusIn(m_drop.Host());
}

void CComboTable::CloseDropDown(bool accept)
{
    NotifyParent(accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
    NotifyParent(CBN_CLOSEUP);
    if (!accept && m_drop.Table().GetSelectedRow() != m_nOpenRow) {
        // A cancelled list keeps the row it opened with.
        m_drop.Table().SelectRow(m_nOpenRow);
    }
    ShowDropDown(false);
}

void CComboTable::FinishTracking()
{
    const int selected = m_drop.Table().GetSelectedRow();
    if (selected != m_nOpenRow) {
        SetCurrentRow(selected);
        NotifyParent(CBN_SELCHANGE);
    }
    m_bSkipSetRow = false;
    m_bFromText = false;
}

void CComboTable::OnDropHidden()
{
    if (IsOpened())
        CloseDropDown(false);
}

void CComboTable::OnFaceAction(int code)
{
    switch (code) {
    case kButtonDown:
        if (!hasFocus())
            setFocus(Qt::MouseFocusReason);
        m_bFromText = false;
        SetOpened(true);
        break;
    case kFaceDown:
        m_bFromText = true;
        SetOpened(true);
        break;
    case kDownWhileOpen:
        CloseDropDown(false);
        break;
    default:
        break;
    }
}

int CComboTable::GetRowHeight() const
{
    return m_drop.Host().GetRowHeight();
}

void CComboTable::OnTypeAhead(const QString& text)
{
    SelectByPrefix(text);
}

void CComboTable::keyPressEvent(QKeyEvent* event)
{
    if (IsOpened())
        OnOpenKey(event);
    else
        CComboBase::keyPressEvent(event);
}

void CComboTable::OnOpenKey(QKeyEvent* event)
{
    event->accept();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (SetCurrentRow(m_drop.Table().GetSelectedRow())) {
            m_bSkipSetRow = true;
            CloseDropDown(true);
        }
        return;
    case Qt::Key_Escape:
        CloseDropDown(false);
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // The focus cannot leave while the list holds the mouse: close it first.
        CloseDropDown(false);
        focusNextPrevChild(event->key() == Qt::Key_Tab);
        return;
    default:
        break;
    }
    // Arrows, page keys, home, end and typed characters move the list's selection.
    m_drop.GridKey(event);
}

std::intptr_t CComboTable::OnDropNotify(const NMTABLECTRL& notification)
{
    if (notification.hdr.code == NM_CLICK && m_drop.Table().IsValidRow(notification.nRow) &&
        IsOpened()) {
        if (SetCurrentRow(notification.nRow)) {
            m_bSkipSetRow = true;
            CloseDropDown(true);
        }
    }
    return 0;
}

} // namespace Lattix
