#pragma once

#include "lattix/model/RowRef.h"

#include <Qt>

#include <cstdint>

class QKeyEvent;
class QWidget;

namespace Lattix {

class CCellInput;
class CSelection;
class CTableHost;
class CTableCursor;

// Opens and closes the in-place editors of one grid, handles the keys that end or move an
// edit and sends the editing notifications. One editor is open at a time, over the focus
// cell. The edited row is held by its record: a commit goes to that row wherever sorting
// has moved it, and an edit whose row was deleted is dropped without touching the model.
//
// Every notification carries a scratch cell (NMTABLECTRL::pCell) of the column's kind: a
// copy of the model cell for LVN_BEGINLABELEDIT, the editor's value otherwise; the
// recipient of LVN_ENDLABELEDIT may change it before it is stored.
class CCellEditController
{
public:
    CCellEditController(CTableHost& ctrl, CTableCursor& cursor, CSelection& selection);
    ~CCellEditController();

    CCellEditController(const CCellEditController&) = delete;
    CCellEditController& operator=(const CCellEditController&) = delete;

    // Opens the editor of the focus cell when its column is editable and the recipient of
    // LVN_BEGINLABELEDIT agrees; returns whether an edit is open afterwards. A recipient
    // that deletes the row, or moves the cursor off it, drops the edit.
    bool BeginEdit(bool userStart);
    // Closes the open editor: cancel discards its value (LXN_EDITCANCELLED); otherwise the
    // value is stored unless the recipient of LVN_ENDLABELEDIT refuses it, and
    // LXN_CELLCHANGED follows a stored value. An editor without a value ends as cancelled.
    void EndEdit(bool cancel);
    bool IsEditing() const { return m_bEditing; }

    // Called by the editors for each key press (virtual-key number); false when the key
    // was consumed: Enter commits, Escape cancels, Tab / shift+Tab / Page Up / Page Down
    // commit and reopen the editor in the next, previous, upper or lower editable cell.
    bool OnEditKey(unsigned vkey, Qt::KeyboardModifiers modifiers);
    // The same for a Qt key event (shift+Tab arrives as Qt::Key_Backtab).
    bool OnEditKey(const QKeyEvent& event);
    // Sends code with the editor's current value in the scratch cell and param in the
    // notification's pParam; the recipient's result. Used by open editors.
    std::intptr_t NotifyEditChange(int code, void* param);
    // Moves an open editor over its cell's current rectangle (after scrolling, layout
    // changes and sorting).
    void RepositionEditor();
    // Gives an open editor the focus.
    void FocusEditor();
    // The editor's window gained or lost the focus; other is the window that lost or gets it.
    void OnEditorSetFocus(QWidget* other);
    void OnEditorKillFocus(QWidget* other);

    // The open editor, else null.
    CCellInput* GetEditor() const;
    // The edited cell now (the row follows sorting), -1 when not editing.
    int GetEditRow() const;
    int GetEditColumn() const { return m_bEditing ? m_nColumn : -1; }
    // Rows were deleted or replaced: an edit whose row went is closed, its value discarded.
    void CheckEditRow();
    // Closes an open editor without notifications or commit (columns or the control go).
    void Abandon();

private:
    enum class Step
    {
        kNext,
        kPrevious,
        kUp,
        kDown,
    };
    void MoveAndEdit(Step step);
    // Move the cursor to the next or previous editable cell in display order; false when
    // there is none (the cursor is then anywhere).
    bool MoveToNextEditable();
    bool MoveToPrevEditable();
    // The most cursor steps that a search for an editable cell takes.
    int MoveLimit() const;
    bool IsEditableColumn(int col) const;
    void CloseEditor();

    CTableHost& m_ctrl;
    CTableCursor& m_cursor;
    CSelection& m_selection;
    bool m_bEditing = false;
    CRowRef m_row;
    int m_nColumn = -1;
};

} // namespace Lattix
