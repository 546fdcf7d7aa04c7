#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

class CServer;
class CSettingsKey;
class QDialog;

// Joining a server: from the chosen server's address and favorite password and the
// password the user typed, to a started game. A password that would add commands to the
// game's command line is refused; when the typed and the favorite password differ, the
// user is asked which to use; the game starts from the "RTCW" setting, and while it does
// not, the user is asked for the game's program (a picked one is kept in the setting)
// until one starts or the picker is cancelled. A started game closes the window when
// "AutoClose" is on. A started game puts the server on top of the recent servers; a list
// that cannot be saved is said.
//
// The questions run nested event loops, in which a new scan may free every record: the
// flow works only on the copies of a record that it was given, never on the record.
class CJoinFlow
{
    Q_DECLARE_TR_FUNCTIONS(CJoinFlow)

public:
    // What joining needs of a server record, copied out of it.
    struct Target
    {
        QString address;  // "host:port"
        QString favorite; // the favorite's password; empty for none
        QByteArray name;  // as the record holds it, in the game's code page
    };
    static Target TargetOf(const CServer& server);

    // window: the parent of the prompts, closed after a start when AutoClose is on;
    // recentPath: the file of the recent servers.
    CJoinFlow(QDialog& window, CSettingsKey& settings, QString recentPath);

    // Reads "AutoClose" (default on), as at creation and after the options dialog.
    void ReadOptions();
    bool AutoClose() const { return m_autoClose; }

    // Joins target with the typed password (trimmed here). The question names the
    // favorite's password only when revealed. True when the game started.
    bool Join(const Target& target, const QString& typed, bool revealed);

private:
    // Says why the password cannot be used, if it cannot; true then.
    bool Refuse(const QString& password);
    // Puts the started server on top of the recent servers, or says why it cannot.
    void Remember(const Target& target);

    QDialog& m_window;
    CSettingsKey& m_settings;
    QString m_recentPath;
    bool m_autoClose = true;
};
