#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QString>

class QLabel;

// The main window's status line: one line under the controls that says what the window is
// doing or what a command came to, where a message box would only be in the way. A new
// message replaces the one before; a text too long for the line is cut with "…" and shown
// whole as its tooltip. While the master server is asked, the window shows a busy cursor.
class CStatusLine : public QObject
{
    Q_DECLARE_TR_FUNCTIONS(CStatusLine)

public:
    explicit CStatusLine(QLabel& label);

    // Shows text, its line ends as blanks; an empty text clears the line.
    void Say(const QString& text);
    void Clear() { Say({}); }
    // The whole text of the present message.
    const QString& Text() const { return m_text; }

    // The master query: asked (master "host:port", version as the Version box shows it),
    // answered with a list of servers, not answered, or dropped for another command.
    void AskingMaster(const QString& master, const QString& version);
    void MasterListed(int servers);
    void MasterSilent();
    void MasterDropped();

    // The user stopped a scan of `servers` servers after `queried` of them.
    void ScanStopped(int queried, int servers);

    void NobodyFound(const QString& searched);
    void FavoriteAdded(const QString& address, bool already);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the text cut to the line's present width.
    void Fit();
    void EndBusy();

    QLabel& m_label;
    QString m_text;
    QString m_master;  // of the master query asked last
    QString m_version; // that it asked for
};
