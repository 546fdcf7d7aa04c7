#include "lattix/view/TableKeys.h"

#include "lattix/edit/CellEditController.h"
#include "lattix/model/ColumnGeometry.h"
#include "lattix/view/Notify.h"
#include "lattix/view/Selection.h"
#include "lattix/view/TableCtrlInterface.h"
#include "lattix/view/TableCursor.h"
#include "lattix/view/TableHost.h"
#include "lattix/view/VirtualKey.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QKeyEvent>

namespace Lattix {

namespace {
constexpr int kTypeAheadTickMs = 400;
} // namespace

CTableKeys::CTableKeys(CTableHost& host) : m_host(host)
{
    m_timer.setInterval(kTypeAheadTickMs);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
}

bool CTableKeys::KeyPress(const QKeyEvent& event)
{
    const unsigned vkey = VirtualKeyFromQt(event.key());
    // Key notifications always go to the parent.
    if (auto* target = dynamic_cast<CNotifyTarget*>(m_host.Widget().parentWidget())) {
        const bool on = m_host.SetNotificationsOn(false);
        std::intptr_t result = 0;
        if (on) {
            NMKEY key;
            key.hdr.hwndFrom = &m_host.Widget();
            key.hdr.idFrom = m_host.Table().GetDlgCtrlID();
            key.hdr.code = NM_KEYDOWN;
            key.nVKey = vkey;
            key.uFlags = event.isAutoRepeat() ? 0x4000u : 0u;
            result = target->OnKeyNotify(key);
        }
        m_host.SetNotificationsOn(on);
        if (result != 0)
            return true;
    }
    switch (vkey) {
    case VK_BACK:
    case VK_DELETE:
        m_typeAhead.Clear();
        return true;
    case VK_F2: // edits the cell under the cursor
        m_host.EditController().BeginEdit(true);
        return true;
    case VK_SPACE:
        m_typeAhead.Expire(m_host.Now()); // a text that ran out takes no more spaces
        if (m_typeAhead.IsActive() && !(event.modifiers() & Qt::ControlModifier))
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
        HandleKey(vkey, event.modifiers());
        return true;
    default:
        break;
    }
    const QString text = event.text();
    if (!text.isEmpty() && text.at(0) >= QChar(32) &&
        !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        TypeAhead(text);
        return true;
    }
    return false;
}

void CTableKeys::HandleKey(unsigned vkey, Qt::KeyboardModifiers modifiers)
{
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool control = modifiers & Qt::ControlModifier;
    CTableCursor& cursor = m_host.GetCursor();
    const bool cellMode = cursor.GetMode() == CTableCursor::kCellMode;
    // The cursor leaves an open edit behind it committed.
    m_host.EditController().EndEdit(false);
    switch (vkey) {
    case VK_SPACE:
        break;
    case VK_PRIOR:
        cursor.PageUp();
        break;
    case VK_NEXT:
        cursor.PageDown();
        break;
    case VK_HOME:
        if (control)
            cursor.FirstRow();
        else if (cellMode)
            cursor.FirstColumn();
        else
            m_host.SetScrollPos(0, m_host.GetScrollY());
        break;
    case VK_END:
        if (control)
            cursor.LastRow();
        else if (cellMode)
            cursor.LastColumn();
        else
            m_host.SetScrollPos(m_host.Geometry().GetTotalWidth(), m_host.GetScrollY());
        break;
    case VK_LEFT:
        if (cellMode)
            cursor.PrevColumn();
        else
            m_host.ScrollHorz(QAbstractSlider::SliderSingleStepSub);
        break;
    case VK_RIGHT:
        if (cellMode)
            cursor.NextColumn();
        else
            m_host.ScrollHorz(QAbstractSlider::SliderSingleStepAdd);
        break;
    case VK_UP:
        cursor.Up();
        break;
    case VK_DOWN:
        cursor.Down();
        break;
    default:
        return;
    }
    const int row = cursor.GetRow();
    if (row >= 0) {
        const unsigned keys = (shift ? MK_SHIFT : 0u) | (control ? MK_CONTROL : 0u);
        if (vkey == VK_SPACE)
            m_host.GetSelection().Click(row, keys);
        else if (shift)
            m_host.GetSelection().Click(row, MK_SHIFT);
        else if (!control)
            m_host.GetSelection().Click(row, 0);
    }
    m_host.EnsureVisible(row, cursor.GetColumn());
    if (vkey == VK_SPACE && !shift && !control)
        m_host.EditController().BeginEdit(true);
    m_host.Table().Update(true);
}

void CTableKeys::TypeAhead(const QString& text)
{
    m_host.Widget().setCursor(Qt::BusyCursor);
    m_timer.start();
    const std::string& prefix = m_typeAhead.Type(text.toStdString(), m_host.Now());
    const std::vector<CSortKey>& sortOrder = m_host.SortOrder();
    const CColumnGeometry& geometry = m_host.Geometry();
    const int count = m_host.Table().GetColumnCount();
    int col = -1;
    if (!sortOrder.empty()) {
        col = sortOrder.front().nColumn;
    } else {
        const int pos = geometry.GetNextVisiblePos(-1);
        col = pos < count ? geometry.GetColumnAtPos(pos)
                          : (count > 0 ? geometry.GetColumnAtPos(0) : -1);
    }
    const int row = m_host.Table().FindText(col, prefix, -1);
    if (row < 0) {
        QApplication::beep();
        return;
    }
    m_host.GetCursor().SetRow(row);
    m_host.GetSelection().Click(row, 0);
    m_host.EnsureVisible(row, m_host.GetCursor().GetColumn());
    m_host.Table().Update(true);
}

void CTableKeys::Tick()
{
    m_typeAhead.Expire(m_host.Now());
    if (!m_typeAhead.IsActive()) {
        m_timer.stop();
        m_host.Widget().unsetCursor();
    }
}

} // namespace Lattix
