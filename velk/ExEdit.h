#pragma once

#include "velk/VelkNotify.h"

#include <QColor>
#include <QLineEdit>
#include <QString>

// A line edit with a colour scheme of its own (text and background for the enabled, the
// read-only and the disabled look) and a notification for changes made by the user.
//
// A change that the user typed is reported once, when the edit loses the focus, as
// Command(id, kModifiedByUser). Text that the program sets does not count and forgets an
// unreported user change; the Updating guard keeps a programmatic change from touching the
// modified state at all.
class CExEdit : public QLineEdit
{
    Q_OBJECT

public:
    // Command code: the text was changed by the user (sent when the focus leaves).
    static constexpr int kModifiedByUser = 0x1000;

    // The modified states.
    static constexpr int kUnchanged = 0;
    static constexpr int kReported = 1;
    static constexpr int kChanged = 2;

    // Sets the updating flag for its lifetime and then restores the previous value.
    class Updating
    {
    public:
        explicit Updating(CExEdit& edit) : m_edit(edit), m_previous(edit.SetUpdating(true)) {}
        ~Updating() { m_edit.SetUpdating(m_previous); }
        Updating(const Updating&) = delete;
        Updating& operator=(const Updating&) = delete;

    private:
        CExEdit& m_edit;
        bool m_previous;
    };

    // id is the control id that Command and the notifications report.
    explicit CExEdit(int id, QWidget* parent = nullptr);

    int Id() const { return m_id; }

    // Switch the system colours off and set one colour; the control repaints.
    void SetTextColor(const QColor& color);
    void SetReadOnlyTextColor(const QColor& color);
    // Restores the six default colours and paints in the standard way again.
    void SetSystemColors();
    bool UsesSystemColors() const { return m_bSystemColors; }

    // The text and background colours the control paints with now.
    QColor CurrentTextColor() const;
    QColor CurrentBackgroundColor() const;

    QString GetWindowString() const { return text(); }
    // True when the text is empty or consists of spaces only.
    bool IsBlank() const;

    // Sets the updating flag; returns its previous value.
    bool SetUpdating(bool updating);
    bool IsUpdating() const { return m_bUpdating; }

    int GetModified() const { return m_nModified; }
    void SetModified(int state) { m_nModified = state; }

signals:
    void Command(int id, int code);

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

    // Sends a notification with this control as the sender to the parent.
    std::intptr_t Notify(VelkNMHDR& header);
    // The theme's colours as the control had them before it painted in its own.
    const QPalette& SystemPalette() const { return m_systemPalette; }

private:
    void SetDefaultColors();
    void UpdatePalette();

    int m_id;
    int m_nModified = kUnchanged;
    bool m_bUpdating = false;
    bool m_bUserEdit = false; // a user edit is being reported by textChanged
    bool m_bSystemColors = true;

    QColor m_textColor;
    QColor m_disabledTextColor;
    QColor m_readOnlyTextColor;
    QColor m_disabledBackColor;
    QColor m_readOnlyBackColor;
    QColor m_backColor;
    QPalette m_systemPalette;
};
