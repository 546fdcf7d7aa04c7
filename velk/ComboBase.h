#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>

class QPainter;

// The closed face of a combo box that draws itself: the text with a drop button at the right
// end. It keeps the opened state, follows the mouse on the face, gathers typed characters
// into a type-ahead text and computes where a drop-down list may appear on the screen. It
// shows no list itself: a derived class supplies the drop-down through the virtual
// operations.
//
// Mouse actions on the face reach OnFaceAction with these codes: kButtonDown (the drop button
// was pressed), kButtonUp (released on the button), kReleasedOff (released off the button),
// kFaceDown (pressed on the text part while closed) and kDownWhileOpen (any press while
// open). The base reports kButtonUp to the parent as Command(id, 0).
//
// Typed characters extend the type-ahead text while they come less than 2000 ms apart; a
// later character starts a new text. Backspace takes the last character back in that time,
// Delete empties the text. Up, Down and F4 open the drop-down.
class CComboBase : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kButtonDown = 0;
    static constexpr int kButtonUp = 1;
    static constexpr int kReleasedOff = 2;
    static constexpr int kFaceDown = 3;
    static constexpr int kDownWhileOpen = 4;

    static constexpr int kTypeAheadDelay = 2000; // ms
    // The style bit that lets the drop-down end within a row.
    static constexpr int CBS_NOINTEGRALHEIGHT = 0x400;

    // Milliseconds from any fixed start.
    using Clock = std::function<std::int64_t()>;

    // id is the control id that Command reports.
    explicit CComboBase(int id, QWidget* parent = nullptr);

    int Id() const { return m_id; }

    virtual void SetOpened(bool open);
    bool IsOpened() const { return m_bOpened; }
    bool IsPressed() const { return m_bPressed; }
    bool IsCaptured() const { return m_bCaptured; }

    // Sends Command(id, code).
    void NotifyParent(int code);

    // minWidth: the least width of the drop-down; size: rows when negative, pixels when
    // positive, 0 keeps the size.
    void SetDropSize(int minWidth, int size);
    void SetExtraHeight(int pixels) { m_nExtraHeight = pixels; }
    void SetRowSpacing(int pixels) { m_nRowSpacing = pixels; }
    // Style bits; CBS_NOINTEGRALHEIGHT is the only one the face reads.
    void SetStyle(int style) { m_style = style; }

    void SetText(const QString& text, int image = 0);
    QString GetText() const { return m_text; }
    int GetImage() const { return m_nImage; }

    // The drop button in widget coordinates.
    QRect ButtonRect() const;
    // Where the drop-down goes, in screen coordinates: under the face, at least the minimum
    // width wide, whole rows high unless CBS_NOINTEGRALHEIGHT; placed above the face when it
    // would leave the bottom of the screen.
    QRect GetDropRect() const;
    // The same for a drop size and extra height other than the stored ones.
    QRect GetDropRect(int dropSize, int extraHeight) const;

    const QString& TypeAhead() const { return m_typeAhead; }
    // Replaces the clock that times the type-ahead keys.
    void SetClock(Clock clock) { m_clock = std::move(clock); }

    // The system takes the mouse away: the capture ends and the button rises.
    void CancelMode();

signals:
    void Command(int id, int code);

protected:
    virtual void OnFaceAction(int code);
    // The height of a drop-down row: the font's character height.
    virtual int GetRowHeight() const;
    virtual void OnTypeAhead(const QString& text);

    void paintEvent(QPaintEvent* event) override;
    // The drop button in ButtonRect: pushed, raised, or inactive while disabled.
    void DrawDropButton(QPainter& painter, bool pushed);
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void SetPressed(bool pressed);
    // True when the last key came less than kTypeAheadDelay ago; renews the key time.
    bool KeyInTime();

    bool m_bOpened = false;
    bool m_bPressed = false;
    bool m_bCaptured = false;
    int m_nMinWidth = 0;
    int m_nDropSize = -8;
    int m_nExtraHeight = 2;
    int m_nRowSpacing = 0;
    int m_nImage = 0;
    int m_style = 0;
    QString m_typeAhead;
    std::int64_t m_lastKey = 0;
    bool m_bKeyTimed = false; // a key has been timed
    int m_id;
    QString m_text;
    Clock m_clock;
};
