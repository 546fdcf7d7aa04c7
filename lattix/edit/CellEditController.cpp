#include "lattix/edit/CellEditController.h"

#include "lattix/edit/CellInput.h"
#include "lattix/model/CellData.h"
#include "lattix/model/CellFactory.h"
#include "lattix/view/ColumnInfo.h"
#include "lattix/view/Notify.h"
#include "lattix/view/Selection.h"
#include "lattix/view/TableCtrlInterface.h"
#include "lattix/view/TableCursor.h"
#include "lattix/view/TableDisplay.h"
#include "lattix/view/TableHost.h"
#include "lattix/view/VirtualKey.h"

#include <QKeyEvent>

#include <memory>
#include <new>

namespace Lattix {

namespace {

// Frees a scratch cell: the cell's destructor, then its aligned storage.
struct CScratchCellDeleter
{
    std::size_t align = alignof(std::max_align_t);
    void operator()(CCellData* cell) const
    {
        cell->~CCellData();
        ::operator delete(static_cast<void*>(cell), std::align_val_t(align));
    }
};
using ScratchCellPtr = std::unique_ptr<CCellData, CScratchCellDeleter>;

// A cell of col's kind, constructed as the table constructs its cells: a copy of the
// factory's prototype in storage of the factory's size and alignment.
ScratchCellPtr MakeScratchCell(const CTableHost& ctrl, int col)
{
    const CCellFactory* factory = ctrl.Table().GetFactory(col);
    if (!factory)
        return ScratchCellPtr(nullptr, CScratchCellDeleter{});
    const std::size_t align = factory->GetCellAlign();
    void* storage = ::operator new(factory->GetCellSize(), std::align_val_t(align));
    try {
        return ScratchCellPtr(factory->GetPrototype()->CopyConstructAt(storage),
                              CScratchCellDeleter{align});
    } catch (...) {
        ::operator delete(storage, std::align_val_t(align));
        throw;
    }
}

// The notification record of an edit of (row, col) with its scratch cell.
struct CEditNotification
{
    CEditNotification(const CTableHost& ctrl, int row, int col) : cell(MakeScratchCell(ctrl, col))
    {
        record.nRow = row;
        record.nColumn = col;
        record.pCell = cell.get();
    }
    ScratchCellPtr cell;
    NMTABLECTRL record;
};

// Moves through the cells that a search for an editable cell may make, per column; a
// longer search found none and gives up.
constexpr int kEditMoveGuard = 2;

} // namespace

CCellEditController::CCellEditController(CTableHost& ctrl, CTableCursor& cursor,
                                         CSelection& selection)
    : m_ctrl(ctrl), m_cursor(cursor), m_selection(selection)
{
}

CCellEditController::~CCellEditController()
{
    Abandon();
}

CCellInput* CCellEditController::GetEditor() const
{
    if (!m_bEditing || !m_ctrl.Table().IsValidColumn(m_nColumn))
        return nullptr;
    return m_ctrl.GetColumnInfo(m_nColumn).pInput.get();
}

int CCellEditController::GetEditRow() const
{
    return m_bEditing ? m_row.Find(m_ctrl.Table()) : -1;
}

bool CCellEditController::IsEditableColumn(int col) const
{
    if (!m_ctrl.Table().IsValidColumn(col))
        return false;
    const CColumnInfo& info = m_ctrl.GetColumnInfo(col);
    return info.bEditable && info.pInput != nullptr;
}

bool CCellEditController::BeginEdit(bool userStart)
{
    if (m_bEditing)
        return true;
    const int row = m_cursor.GetRow();
    const int col = m_cursor.GetColumn();
    if (row < 0 || col < 0 || !m_ctrl.Table().IsValidRow(row) || !IsEditableColumn(col))
        return false;
    CEditNotification edit(m_ctrl, row, col);
    if (!edit.cell)
        return false;
    edit.cell->Assign(*m_ctrl.Table().GetCell(row, col));
    if (userStart) {
        edit.record.nX = 1;
        edit.record.nY = 1;
    }
    // The row is held while the recipient runs, so that deleting it is seen (CheckEditRow).
    m_row.Set(m_ctrl.Table(), row);
    m_nColumn = col;
    const std::intptr_t refused = m_ctrl.Notify(LVN_BEGINLABELEDIT, edit.record);
    if (m_bEditing) // the recipient opened an edit itself
        return true;
    // The recipient may have changed the grid: the value is that of the row it was taken
    // from, so open only over that row, still under the cursor.
    const int nowRow = m_row.Find(m_ctrl.Table());
    if (refused != 0 || nowRow < 0 || m_cursor.GetRow() != nowRow || m_cursor.GetColumn() != col ||
        !IsEditableColumn(col)) {
        m_row.Reset();
        m_nColumn = -1;
        return false;
    }
    m_bEditing = true;
    CCellInput& editor = *m_ctrl.GetColumnInfo(col).pInput;
    editor.Create(*edit.cell, m_ctrl.GetCellRect(nowRow, col), userStart);
    if (m_bEditing) // an editor's own notification may have ended the edit
        editor.SetFocus();
    return m_bEditing;
}

void CCellEditController::EndEdit(bool cancel)
{
    if (!m_bEditing)
        return;
    CCellInput* editor = GetEditor();
    const int col = m_nColumn;
    int row = m_row.Find(m_ctrl.Table());
    CEditNotification edit(m_ctrl, row, col);
    const bool hasValue = editor && editor->HasValue();
    if (hasValue && edit.cell)
        editor->StoreValue(*edit.cell);
    bool commit = false;
    // An editor without a value (an empty list) commits nothing.
    if (cancel || row < 0 || !edit.cell || !hasValue) {
        m_ctrl.Notify(LXN_EDITCANCELLED, edit.record);
    } else if (m_ctrl.Notify(LVN_ENDLABELEDIT, edit.record) == 0) {
        // The recipient may have sorted or deleted rows.
        row = m_row.Find(m_ctrl.Table());
        if (row >= 0) {
            m_ctrl.Table().GetCell(row, col)->Assign(*edit.cell);
            commit = true;
        }
    }
    CloseEditor();
    if (commit) {
        m_ctrl.Body().update();
        m_ctrl.Notify(LXN_CELLCHANGED, row, col);
    }
}

void CCellEditController::CloseEditor()
{
    CCellInput* editor = GetEditor();
    const bool hadFocus = editor && editor->Window().hasFocus();
    m_bEditing = false;
    m_row.Reset();
    m_nColumn = -1;
    if (hadFocus)
        m_ctrl.Widget().setFocus(Qt::OtherFocusReason);
    if (editor)
        editor->Destroy();
}

void CCellEditController::Abandon()
{
    if (m_bEditing) {
        CloseEditor();
    } else { // an edit about to begin: BeginEdit drops it
        m_row.Reset();
        m_nColumn = -1;
    }
}

void CCellEditController::CheckEditRow()
{
    if (!m_row.IsSet() || m_row.Find(m_ctrl.Table()) >= 0)
        return;
    if (!m_bEditing) { // an edit about to begin: BeginEdit drops it
        m_row.Reset();
        return;
    }
    // The edited record may be handed to the next new row: nothing may reach it.
    CEditNotification edit(m_ctrl, -1, m_nColumn);
    if (CCellInput* editor = GetEditor(); editor && edit.cell)
        editor->StoreValue(*edit.cell);
    CloseEditor();
    m_ctrl.Notify(LXN_EDITCANCELLED, edit.record);
}

bool CCellEditController::OnEditKey(const QKeyEvent& event)
{
    Qt::KeyboardModifiers modifiers = event.modifiers();
    if (event.key() == Qt::Key_Backtab)
        modifiers |= Qt::ShiftModifier;
    return OnEditKey(VirtualKeyFromQt(event.key()), modifiers);
}

bool CCellEditController::OnEditKey(unsigned vkey, Qt::KeyboardModifiers modifiers)
{
    CTableHost::CNotifyScope scope(m_ctrl);
    switch (vkey) {
    case VK_RETURN:
        EndEdit(false);
        return false;
    case VK_ESCAPE:
        EndEdit(true);
        return false;
    case VK_TAB:
        MoveAndEdit((modifiers & Qt::ShiftModifier) ? Step::kPrevious : Step::kNext);
        return false;
    case VK_PRIOR:
        MoveAndEdit(Step::kUp);
        return false;
    case VK_NEXT:
        MoveAndEdit(Step::kDown);
        return false;
    default:
        return true;
    }
}

void CCellEditController::MoveAndEdit(Step step)
{
    EndEdit(false);
    const int startRow = m_cursor.GetRow();
    const int startCol = m_cursor.GetColumn();
    switch (step) {
    case Step::kNext:
        // Without an editable cell further on, the edit reopens where it was.
        if (!MoveToNextEditable())
            m_cursor.Set(startRow, startCol);
        break;
    case Step::kPrevious:
        if (!MoveToPrevEditable())
            m_cursor.Set(startRow, startCol);
        break;
    case Step::kUp:
        m_cursor.Up();
        break;
    case Step::kDown:
        m_cursor.Down();
        break;
    }
    const int row = m_cursor.GetRow();
    if (row >= 0)
        m_selection.Click(row, 0);
    BeginEdit(false);
    m_ctrl.EnsureVisible(m_cursor.GetRow(), m_cursor.GetColumn());
    m_ctrl.Table().Update(true);
}

int CCellEditController::MoveLimit() const
{
    return kEditMoveGuard * (m_ctrl.Table().GetColumnCount() + 1);
}

bool CCellEditController::MoveToNextEditable()
{
    for (int i = 0; i < MoveLimit(); ++i) {
        if (!m_cursor.NextColumn()) {
            if (!m_cursor.Down()) {
                if (m_ctrl.Notify(LXN_APPENDROW, m_cursor.GetRow(), m_cursor.GetColumn()) != 0)
                    m_cursor.Down();
            }
            m_cursor.FirstColumn();
        }
        if (IsEditableColumn(m_cursor.GetColumn()))
            return true;
    }
    return false;
}

bool CCellEditController::MoveToPrevEditable()
{
    for (int i = 0; i < MoveLimit(); ++i) {
        if (!m_cursor.PrevColumn()) {
            if (!m_cursor.Up())
                break;
            m_cursor.LastColumn();
        }
        if (IsEditableColumn(m_cursor.GetColumn()))
            return true;
    }
    return false;
}

std::intptr_t CCellEditController::NotifyEditChange(int code, void* param)
{
    CCellInput* editor = GetEditor();
    if (!editor)
        return 0;
    CTableHost::CNotifyScope scope(m_ctrl);
    CEditNotification edit(m_ctrl, m_row.Find(m_ctrl.Table()), m_nColumn);
    if (edit.cell)
        editor->StoreValue(*edit.cell);
    edit.record.pParam = param;
    return m_ctrl.Notify(code, edit.record);
}

void CCellEditController::RepositionEditor()
{
    CCellInput* editor = GetEditor();
    if (!editor)
        return;
    const int row = m_row.Find(m_ctrl.Table());
    if (row < 0)
        return;
    editor->Move(m_ctrl.GetCellRect(row, m_nColumn));
}

void CCellEditController::FocusEditor()
{
    if (CCellInput* editor = GetEditor())
        editor->SetFocus();
}

void CCellEditController::OnEditorSetFocus(QWidget* /*other*/)
{
    CTableHost::CNotifyScope scope(m_ctrl);
    m_ctrl.FocusGained();
}

void CCellEditController::OnEditorKillFocus(QWidget* other)
{
    CTableHost::CNotifyScope scope(m_ctrl);
    m_ctrl.FocusLost(other);
}

} // namespace Lattix
