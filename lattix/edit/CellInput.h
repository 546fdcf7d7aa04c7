#pragma once

#include <QRect>

class QEvent;
class QWidget;

namespace Lattix {

class CCellData;
class CCellEditController;
class CDrawState;

// The in-place editor of a column: a window class that also derives from this interface.
// A column's editor object lives as long as its column; its window is shown over a cell
// only while that cell is edited (Create ... Destroy), as a child of the grid's body, and
// has no parent in between, so that the column record alone owns it.
//
// Window classes (CCellInputWindow) route their events through FilterEditorEvent (first)
// and AfterEditorEvent (after their own handling): keys that end or move an edit go to the
// edit controller before the window or a surrounding dialog sees them, and the window's
// focus changes reach the grid, which counts focus in its editor as its own.
class CCellInput
{
public:
    virtual ~CCellInput() = default;

    CCellInput(const CCellInput&) = delete;
    CCellInput& operator=(const CCellInput&) = delete;

    // Stores the window that the editor is shown in (the grid's body) and the controller.
    virtual void SetOwner(QWidget* parent, CCellEditController* controller);
    // The narrowest and the lowest cell that the editor fits in, in pixels.
    virtual int GetMinWidth() const = 0;
    virtual int GetMinHeight() const = 0;
    // Writes the editor's current value into cell.
    virtual void StoreValue(CCellData& cell) = 0;
    // False when the editor has no value to store (a list without a chosen entry); its edit
    // then ends as cancelled.
    virtual bool HasValue() const { return true; }
    // Shows cell's value in the editor.
    virtual void LoadValue(const CCellData& cell) = 0;
    // Shows the window over rect (parent coordinates) with cell's value. userStart: the
    // user started the edit (a click or the space key) rather than the program.
    virtual void Create(const CCellData& cell, const QRect& rect, bool userStart) = 0;
    // Hides the window and takes it out of the parent.
    virtual void Destroy();
    // Gives the window the keyboard focus.
    virtual void SetFocus();
    // Moves the window over rect (parent coordinates).
    virtual void Move(const QRect& rect);
    // The editor's window.
    virtual QWidget& Window() = 0;

    // Set by the control when it attaches the editor; gives the font.
    void SetDrawState(const CDrawState* state) { m_pDrawState = state; }
    const CDrawState* GetDrawState() const { return m_pDrawState; }
    QWidget* GetParent() const { return m_pParent; }
    CCellEditController* GetController() const { return m_pController; }

protected:
    CCellInput() = default;

    // Puts the window into the parent at rect and shows it.
    void ShowWindowAt(const QRect& rect);
    // To be called first from the window's event(); true when the event was consumed (a
    // key that the controller handled, or a shortcut override for such a key, which keeps
    // a dialog's default button, Escape and Tab handling from taking it).
    bool FilterEditorEvent(QEvent& event);
    // To be called after the window's own handling: tells the controller of focus changes,
    // and keeps key presses from reaching the grid behind the editor.
    void AfterEditorEvent(QEvent& event);

private:
    const CDrawState* m_pDrawState = nullptr;
    QWidget* m_pParent = nullptr;
    CCellEditController* m_pController = nullptr;
};

} // namespace Lattix
