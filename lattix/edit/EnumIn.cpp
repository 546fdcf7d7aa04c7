#include "lattix/edit/EnumIn.h"

#include "lattix/edit/CellEditController.h"
#include "lattix/model/CellData.h"
#include "lattix/model/CellFactory.h"
#include "lattix/model/EnumCompare.h"
#include "lattix/view/ColumnInfo.h"
#include "lattix/view/EnumOut.h"
#include "lattix/view/TableCtrlInterface.h"
#include "lattix/view/TableCtrlWnd.h"
#include "lattix/view/TableHost.h"

#include <QCursor>
#include <QFocusEvent>
#include <QPainter>

namespace Lattix {

CEnumIn::CEnumIn(CAbstractEnum* enumeration, int mode, std::uint32_t flags)
    : CComboTable(0), m_pEnum(enumeration), m_nMode(mode), m_nFlags(flags)
{
    hide();
    connect(this, &CComboBase::Command, this, [this](int, int code) {
        CCellEditController* controller = GetController();
        if (code == CBN_SELCHANGE && controller && controller->IsEditing())
            controller->NotifyEditChange(LXN_ENUMSELCHANGE, static_cast<CCellInput*>(this));
    });
}

void CEnumIn::SetOwner(QWidget* parent, CCellEditController* controller)
{
    CCellInput::SetOwner(parent, controller);
    hide();
    DefineList();
}

void CEnumIn::DefineList()
{
    CTableCtrlInterface& list = GetDropDown().Table();
    list.SetColumnCount(1);
    list.CTableInterface::SetColumn(0, std::make_unique<CFAny<CDInt>>(),
                                    std::make_unique<CEnumCompare>(m_pEnum.Get()));
    list.SetColumnView(0, std::make_unique<CEnumOut>(m_pEnum.Get(), m_nMode, m_nFlags), nullptr, "",
                       1);
    CreateRowLayout();
    list.ShowHeader(false);
    list.SetHorzGrid(false);
    list.SetVertGrid(false);
    list.EnableColumnResize(false);
    list.EnableColumnMove(false);
}

int CEnumIn::GetMinHeight() const
{
    return m_nMode == CEnumOut::TextOnly ? 10 : 18;
}

void CEnumIn::StoreValue(CCellData& cell)
{
    const CTableCtrlInterface& list = GetDropDown().Table();
    const int row = list.GetSelectedRow();
    if (row >= 0)
        cell.Assign(*list.GetCell(row, 0));
}

bool CEnumIn::HasValue() const
{
    return GetDropDown().Table().GetSelectedRow() >= 0;
}

void CEnumIn::LoadValue(const CCellData& cell)
{
    const int row = GetDropDown().Table().FindRow(0, cell, -1);
    SelectRow(row >= 0 ? row : 0);
}

void CEnumIn::Create(const CCellData& cell, const QRect& rect, bool userStart)
{
    NameAfterColumn();
    CTableCtrlInterface& list = GetDropDown().Table();
    list.DeleteAllRows();
    m_pEnum->FillTable(list);
    LoadValue(cell);
    CCellEditController* controller = GetController();
    if (controller && controller->GetEditor() == this) {
        const unsigned opening = ++m_openings;
        controller->NotifyEditChange(LXN_ENUMEDITOPEN, static_cast<CCellInput*>(this));
        // The recipient may have ended the edit (also by deleting its row), which took this
        // window away, or opened another one here, which showed it: nothing is left to do.
        if (controller->GetEditor() != this || opening != m_openings)
            return;
    }
    LoadValue(cell);
    const CSortKey byOrder{0, false};
    list.Sort(std::span(&byOrder, 1));
    // Sorting moved the rows: the current row is the selected one again.
    SelectRow(list.GetSelectedRow());
    list.AutoSizeColumn(0, false);
    SetDropSize(list.GetColumnWidth(0) + 2, -8);
    list.Update(false);
    ShowWindowAt(rect);
    if (userStart && GetParent()) {
        const QPoint mouse = GetParent()->mapFromGlobal(QCursor::pos());
        if (rect.contains(mouse) && rect.left() + rect.width() - mouse.x() < kDropButtonZone)
            ShowDropDown(true);
    }
}

void CEnumIn::NameAfterColumn()
{
    const auto* body = dynamic_cast<const CTableCtrlWnd*>(GetParent());
    const CCellEditController* controller = GetController();
    const int col = controller ? controller->GetEditColumn() : -1;
    if (!body || !body->Ctrl().Table().IsValidColumn(col))
        return;
    const CColumnInfo& info = body->Ctrl().GetColumnInfo(col);
    setAccessibleName(QString::fromStdString(info.strTitle));
    setAccessibleDescription(QString::fromStdString(info.strLongName));
}

void CEnumIn::Destroy()
{
    if (IsOpened())
        CloseDropDown(false);
    CCellInput::Destroy();
}

void CEnumIn::Move(const QRect& rect)
{
    CCellInput::Move(rect);
    GetDropDown().Table().Update(true);
}

bool CEnumIn::event(QEvent* event)
{
    // Open, the list has every key; closed, the edit keys go to the controller first.
    if (!IsOpened() && FilterEditorEvent(*event))
        return true;
    const bool result = CComboTable::event(event);
    // The list taking the mouse and keys is no loss of focus for the edit.
    const bool popupFocus =
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) &&
        static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason;
    if (!popupFocus)
        AfterEditorEvent(*event);
    return result;
}

void CEnumIn::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));

    DrawDropButton(painter, IsOpened());

    const CTableCtrlInterface& list = GetDropDown().Table();
    const int row = GetCurrentRow();
    if (!list.IsValidRow(row) || list.GetColumnCount() < 1)
        return;
    CCellOutput* output = GetDropDown().Host().GetColumnInfo(0).pOutput.get();
    if (!output)
        return;
    const QRect text = QRect(0, 0, ButtonRect().left(), height()).adjusted(2, 2, -2, -2);
    painter.setClipRect(text);
    output->Begin(painter);
    output->Draw(text, *list.GetCell(row, 0), false);
    output->End();
}

} // namespace Lattix
