#pragma once

#include <QComboBox>
#include <QPointer>
#include <QString>
#include <QVariant>

class QAbstractItemView;
class QLineEdit;

// A combo box that completes typed text from its list, keeps the selected item in line with
// the typed text, treats Enter in its edit field as a command, tells its parent about each
// selection once, and keeps its text readable and selectable while it is disabled.
//
// The parent hears of the combo through Command(id, code) with the platform's combo-box
// notification codes. Besides the focus codes these are kSelChange (the selection changed,
// reported once per new selection), kSelEndOk (a selection was made for good: picked from
// the list, or typed or stepped to with the wheel or arrow keys and then confirmed, including
// by Escape on the open list) and kDblClk (Enter with the list closed, after kSelEndOk when
// such a selection was pending).
//
// Kinds: kSimple and kDropDown have an edit field; kDropDownList has none and selects only
// from its list. A kSimple combo shows its list always, in a list view below the field
// (ShowListIn), and its field draws as a plain edit field; until it has that view it shows
// its list as a drop-down like the others. Down opens a drop-down list, F4 does not. Enter and
// Escape in the edit field with the list closed belong to the field, not to the dialog's default
// and cancel buttons; Tab and Shift+Tab move the focus on as usual.
//
// While disabled, a read-only field over the combo (a sibling, because the children of a
// disabled widget are disabled too) shows the text in normal colours, selectable and
// copyable.
class CExComboBox : public QComboBox
{
    Q_OBJECT

public:
    enum Kind
    {
        kSimple,
        kDropDown,
        kDropDownList
    };

    // Notification codes, with the platform's values.
    static constexpr int kSelChange = 1;
    static constexpr int kDblClk = 2;
    static constexpr int kSetFocus = 3;
    static constexpr int kKillFocus = 4;
    static constexpr int kSelEndOk = 9;

    // id is the control id that Command reports.
    CExComboBox(Kind kind, int id, QWidget* parent = nullptr);
    ~CExComboBox() override;

    Kind GetKind() const { return m_kind; }
    int Id() const { return m_id; }

    // Adds the text with data as its item data: at the end, or in a sorted combo before the
    // first item that sorts after it (ignoring case). Returns the item's index.
    int AddItem(const QString& text, const QVariant& data);
    void SetSorted(bool sorted) { m_sorted = sorted; }
    // The list text of the selected item, empty when none is selected.
    QString GetSelectedText() const;

    // With m_bAutoSelect: selects the first item that begins with the edit text (item 0
    // when none does) unless the selected item already reads exactly as the edit text, and
    // reports a change with kSelChange and kSelEndOk.
    void SyncSelection();
    // What Enter does while the list is closed: SyncSelection, the pending kSelEndOk (when an
    // item is still selected), then kDblClk.
    void OnEnter();

    // kSimple: shows the list always in view, which the owner placed below the field. The
    // view shows the combo's items and follows its selection. A click on an item picks it
    // (kSelChange, kSelEndOk, also when it was picked before); moving in the view with the
    // keys selects as the arrow keys in the field do, and Enter then confirms.
    void ShowListIn(QAbstractItemView& view);

    // Opens the list; in an edit kind it first selects the item that begins with the
    // longest leading part of the text, reported with kSelChange.
    void showPopup() override;
    // Closes the list. When no item was picked, the pending typed selection is confirmed
    // with kSelEndOk as soon as the event loop comes round.
    void hidePopup() override;

    // Keep the selected item in line with the typed text; off for kDropDownList.
    bool m_bAutoSelect = true;
    // Complete typed text from the list.
    bool m_bAutoComplete = true;

signals:
    void Command(int id, int code);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AutoComplete(int previous);
    void Backspace();
    void OnTextEdited(const QString& text);
    void OnActivated();
    void OnPopupClosed();
    void SelectKeepingText(int index);
    int FindPrefix(const QString& text) const;
    bool IsDropped() const;

    // The parent gets the code unless the rules for repeated selections swallow it.
    void Notify(int code);

    void UpdateOverlay();
    // Where the field goes when the list is shown below it: the whole combo but its frame.
    QRect PlainFieldRect() const;

    Kind m_kind;
    int m_id;
    bool m_bSelEndPending = false;
    int m_nLastSelEndOk = -2;
    int m_nLastSelChange = -2;

    bool m_dropped = false;
    bool m_closing = false; // the list closed; a pick may still follow
    bool m_picked = false;  // an item was picked from the open list
    bool m_sorted = false;
    bool m_focused = false; // stays set while the open list has the keyboard
    // Shows the text while the combo is disabled; owned by the parent, deleted with the combo.
    QPointer<QLineEdit> m_overlay;
    QPointer<QAbstractItemView> m_list; // kSimple: the list always shown below the field
};
