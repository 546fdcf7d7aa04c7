#pragma once

#include "velk/ExEdit.h"

#include <QRect>
#include <QTimer>

// An extended edit with up and down buttons drawn inside its border, at its right end.
//
// A press on a button steps at once, again after 500 ms and then every 100 ms while the
// pointer stays on the pressed button (moving off pauses the steps until it comes back);
// releasing the button ends it, and so does hiding the edit (an editor that closes while the
// button is held counts no further). The Up and Down keys step as well. Nothing steps while
// the edit is read-only.
//
// Every step first asks the parent with UDN_DELTAPOS (position and delta both the step,
// +1 or -1); a non-zero result cancels the step. Otherwise the step runs between
// Command(id, kBeforeStep) and Command(id, kAfterStep).
class CSpinEdit : public CExEdit
{
    Q_OBJECT

public:
    static constexpr int UDN_DELTAPOS = -722;
    static constexpr int kBeforeStep = 0x1001;
    static constexpr int kAfterStep = 0x1002;

    // The delays of the repeat timer.
    static constexpr int kFirstDelay = 500;
    static constexpr int kRepeatDelay = 100;

    // Buttons: 1 up, -1 down, 0 none.
    static constexpr int kUp = 1;
    static constexpr int kDown = -1;

    explicit CSpinEdit(int id, QWidget* parent = nullptr);

    void ShowButtons(bool show);
    bool ButtonsShown() const { return m_bButtons; }

    // The buttons' area in widget coordinates: inside the frame at the right end, as wide as
    // a scroll bar's arrow; the up button is its upper half. Empty while hidden.
    QRect ButtonsRect() const;
    QRect ButtonRect(int button) const;
    // The button under the point, 0 for none.
    int ButtonAt(const QPoint& pos) const;

    int GetPressed() const { return m_nPressed; }
    int GetCaptured() const { return m_nCaptured; }

    // One spin step with the notifications around it; false when the parent cancelled it.
    bool SpinStep(int delta);

    // One tick of the repeat timer: a step while the pointer is on the captured button;
    // the first tick turns the 500 ms delay into the 100 ms repeat. Tests drive it directly.
    void OnRepeatTimer();
    const QTimer& RepeatTimer() const { return m_repeat; }

protected:
    // Called for each step that the parent allowed; does nothing here.
    virtual bool Step(int delta);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int ButtonWidth() const;
    bool PressButton(QMouseEvent* event);
    void ReleaseCapture();
    void SetPressed(int button);

    bool m_bButtons = false;
    int m_nPressed = 0;
    int m_nCaptured = 0;
    QPoint m_pointer; // where the pointer was last seen while a button is captured
    QTimer m_repeat;
};
