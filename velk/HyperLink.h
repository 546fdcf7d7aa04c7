#pragma once

#include "velk/ColorValue.h"

#include <QLabel>
#include <QString>
#include <QStringList>

#include <functional>

class QUrl;

// What opening a link asks of the desktop. Every member may be replaced, so that tests never
// open a real link, start a program or show a modal box; the defaults are the real desktop.
struct CLinkDesktop
{
    // Opens the link with the desktop's handler for it; false when that failed.
    std::function<bool(const QUrl&)> openUrl;
    // The browser command line to fall back on, empty when there is none. The default reads
    // the BROWSER environment variable (its first entry when it lists several, separated by
    // ":").
    std::function<QString()> browserCommand;
    // Starts the program with the arguments, detached and without a shell; false when it
    // could not be started.
    std::function<bool(const QString& program, const QStringList& arguments)> startDetached;
    // Shows the warning text to the user (a warning message box over the parent).
    std::function<void(QWidget* parent, const QString& text)> warn;

    // The real desktop.
    static CLinkDesktop System();
};

// A static text that acts as a link: drawn in link colours (and underlined), with a hand
// cursor and a tooltip that shows the target; a click (press and release on the link) or the
// space key opens the target with the desktop, falling back on starting the browser directly.
//
// The creator sets the text, m_strURL, m_nFlags, the font and the alignment, places the
// control and then calls Attach once. Horizontal alignment right or centre keeps that edge
// or centre when the control fits itself to its text; vertical centring keeps the vertical
// centre, otherwise the top stays (the default alignment is top left, as for a static text).
// The control takes no keyboard focus from Tab unless its creator gives it a focus policy.
class CHyperLink : public QLabel
{
    Q_OBJECT

public:
    // Option bits of m_nFlags.
    static constexpr int kUnderline = 1;     // underline the text
    static constexpr int kUseHoverColor = 2; // the hover colour while the pointer is over it
    static constexpr int kFitToText = 4;     // Attach resizes the control to its text
    static constexpr int kOpenOnPress = 8;   // open on the button press, not on the release
    static constexpr int kFocusOnClick = 16; // take the keyboard focus on a click
    static constexpr int kNoHandCursor = 32; // keep the default cursor
    static constexpr int kNoActiveColor = 64;

    static constexpr CColorValue kLinkColor{0, 0, 255};
    static constexpr CColorValue kActiveColor{0, 128, 128};
    static constexpr CColorValue kVisitedColor{128, 0, 128};
    static constexpr CColorValue kHoverColor{255, 0, 0};

    explicit CHyperLink(const QString& text = {}, QWidget* parent = nullptr);

    // Completes the control once its creator has set it up: an empty target takes the text,
    // an empty text shows the target; the font becomes underlined per kUnderline; with
    // kFitToText the control fits its text; the hand cursor unless kNoHandCursor.
    void Attach();

    // Opens the target. Success marks the link visited; failure beeps and warns with
    // "Can't open link:" and the text of the failure code.
    void Open();

    // Opens the target with the desktop's handler, else with the browser command. Returns a
    // code above 32 on success, otherwise a failure code of ErrorText: 31 when the desktop
    // had no handler and there is no browser command, 2 when the browser could not start.
    static int OpenURL(const QString& target, const CLinkDesktop& desktop);
    // The program and arguments that open the target with the browser command: the command
    // is cut at its first "\"%1\"" (else "%1", else "\"%s\"", else "%s") and split into words,
    // and the target follows as one more argument. Empty when the command holds no program.
    static QStringList BrowserCommandLine(const QString& command, const QString& target);
    // The text that explains a failure code.
    static QString ErrorText(int code);

    // Replaces the desktop that Open uses.
    void SetDesktop(CLinkDesktop desktop) { m_desktop = std::move(desktop); }

    bool IsActive() const { return m_active; }
    bool IsHovering() const { return m_hover; }
    bool IsVisited() const { return m_visited; }
    // The colour the text is drawn in now.
    QColor TextColor() const;

    int m_nFlags = kUnderline | kFitToText | kFocusOnClick;
    QString m_strURL;

protected:
    bool event(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FitToText();
    void SetHover(bool hover);
    void UpdateColor();

    bool m_active = false;
    bool m_hover = false;
    bool m_visited = false;
    CLinkDesktop m_desktop = CLinkDesktop::System();
};
