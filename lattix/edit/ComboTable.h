#pragma once

#include "lattix/edit/ComboTableDrop.h"
#include "lattix/view/Notify.h"
#include "lattix/view/TableCtrlInterface.h"
#include "velk/ComboBase.h"

#include <functional>
#include <string>

namespace Lattix {

// A combo box whose drop-down list is a whole grid. The closed face shows the text of the
// current row; the drop-down (CComboTableDrop) is defined and filled with the ordinary table
// and view operations, which this class forwards to it.
//
// The parent hears of changes through CComboBase::Command with the combo box codes below.
// Closing the list reports CBN_SELENDOK (accepted) or CBN_SELENDCANCEL, then CBN_CLOSEUP,
// then CBN_SELCHANGE when the current row changed. A cancelled list keeps the current row.
//
// Screen readers name it after its label (the QLabel whose buddy it is) unless the owner
// names it, and while the list is open they follow its highlighted row as the focus.
class CComboTable : public CComboBase, public CTableCtrlInterface
{
    Q_OBJECT

public:
    static constexpr int CBN_SELCHANGE = 1;
    static constexpr int CBN_DROPDOWN = 7;
    static constexpr int CBN_CLOSEUP = 8;
    static constexpr int CBN_SELENDOK = 9;
    static constexpr int CBN_SELENDCANCEL = 10;
    // Sent whenever the current row was set.
    static constexpr int CBN_ROWSET = 100;

    static constexpr int kMaxDropRows = 8;
    static constexpr const char* kWindowName = "Lattix::CComboTable";

    explicit CComboTable(int id, QWidget* parent = nullptr);
    ~CComboTable() override;

    // Table operations with a combo side.
    using CTableCtrlInterface::CreateRowLayout;
    void CreateRowLayout() override;
    void CreateRowLayout(int dataColumn) override;
    int GetDlgCtrlID() const override { return Id(); }
    // Makes row current and selects it in the list; the face shows its text.
    void SelectRow(int row) override;

    // Makes row current (-1: none): its text in the text column and its integer in the
    // item-data column; reports CBN_ROWSET. True when row is a row.
    bool SetCurrentRow(int row);
    int GetCurrentRow() const { return m_nCurrentRow; }
    int GetCurrentItemData() const { return m_nCurrentData; }
    const std::string& GetCurrentText() const { return m_strText; }

    // The column whose text the face shows and type-ahead searches (-1: none), and the
    // integer column whose value GetCurrentItemData reports (-1: none).
    void SetTextColumn(int col) { m_nTextColumn = col; }
    int GetTextColumn() const { return m_nTextColumn; }
    void SetItemDataColumn(int col) { m_nItemDataColumn = col; }

    // Selects the first row other than the current one whose text starts with text, letter
    // case aside, and reports CBN_SELCHANGE (and CBN_SELENDOK while closed); beeps when
    // there is none.
    void SelectByPrefix(const QString& text);

    // Opens the list under the face (above it at the bottom of the screen), 1 to
    // kMaxDropRows rows high and as wide as its columns, or closes it.
    void ShowDropDown(bool show);
    void CloseDropDown(bool accept);

    CComboTableDrop& GetDropDown() { return m_drop; }
    const CComboTableDrop& GetDropDown() const { return m_drop; }

    // Replaces the sound of a failed search (test seam).
    void SetBeeper(std::function<void()> beeper) { m_beeper = std::move(beeper); }

    void SetOpened(bool open) override;

    // What the drop-down reports: clicks on its rows.
    std::intptr_t OnDropNotify(const NMTABLECTRL& notification);
    // A key that reached the drop-down while it is open.
    void OnOpenKey(QKeyEvent* event);
    // A press outside the list while it is open.
    void OnPressOutside() { CloseDropDown(false); }
    // The list was closed by the system (another window took over).
    void OnDropHidden();

protected:
    void OnFaceAction(int code) override;
    int GetRowHeight() const override;
    void OnTypeAhead(const QString& text) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Ends a spell of the open list: the current row follows the list's selection.
    void FinishTracking();

    // Hands the drop-down's notifications to the combo table.
    class CDropTarget final : public CNotifyTarget
    {
    public:
        explicit CDropTarget(CComboTable& combo) : m_combo(combo) {}
        std::intptr_t OnNotify(NMTABLECTRL& notification) override
        {
            return m_combo.OnDropNotify(notification);
        }

    private:
        CComboTable& m_combo;
    };

    std::string m_strText;
    CComboTableDrop m_drop;
    int m_nCurrentRow = -1;
    int m_nCurrentData = -1;
    bool m_bSkipSetRow = false; // the current row was already set by the key that closes
    bool m_bFromText = false;   // the list was opened by a press on the text
    int m_nTextColumn = 0;
    int m_nItemDataColumn = -1;
    int m_nOpenRow = -1;       // the list's selected row when it opened
    bool m_bAutoSized = false; // the columns were fitted at the first opening
    CDropTarget m_dropTarget{*this};
    std::function<void()> m_beeper;
};

} // namespace Lattix
