#pragma once

#include "app/FriendList.h"

#include <QCoreApplication>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <set>
#include <utility>

class CHyperLink;
class CResultLists;
class CServer;
class CStatusLine;
class IDesktopNotifier;
class QWidget;

// The window's friends: reads the friends file when the window opens, marks the rows of
// friends in the three grids (the players, the servers where a friend plays, the players
// of a server), keeps the "Friends: n" link beside the tabs (a click opens the friends
// dialog), adds and removes friends for the player row menus, and tells the desktop when a
// friend turns up on a server where they were not seen before (a scan that did not list a
// server, stopped or of the favorites, keeps what was seen there). One notification
// names every friend that turned up; a click on it selects the first one's server.
//
// The list is saved whole after every change, or not at all: a change that cannot be saved
// is said and undone. A file that could not be read is said and never saved over.
class CFriendWatch : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        QWidget& window; // the parent of the dialog and of warnings
        CResultLists& lists;
        CStatusLine& status;
        CHyperLink& link;
        IDesktopNotifier* notifier;        // none: the desktop's notifications over D-Bus
        std::function<void()> showServers; // switches the window to the server list
    };
    // The friends file is friends.txt in the folder of the favorites file.
    CFriendWatch(Parts parts, const QString& favoritesPath);
    ~CFriendWatch() override;

    const CFriendList& Friends() const { return m_friends; }
    const QString& Path() const { return m_path; }
    // The friends that the player-list rows show, counted once each.
    int PlayingCount() const { return m_playing; }

    // Adds the player's name, or removes the entry that names exactly them; saves the file.
    bool Add(const QString& name);
    bool Remove(const QString& name);
    // Opens the friends dialog and takes its list when it is saved.
    void OpenDialog();

    // Takes a finished scan or refresh: counts the friends playing and notifies of those on
    // a server where they were not the time before.
    void Review() { Look(true); }

private:
    void Look(bool notify);
    void Load();
    bool SaveAs(const CFriendList& friends);
    void Changed();
    void ShowCount();
    void SelectServer(const std::string& address);

    Parts m_parts;
    std::unique_ptr<IDesktopNotifier> m_desktop; // the notifier when Parts names none
    QString m_path;
    CFriendList m_friends;
    QString m_problem; // why the file could not be read; empty when it was
    int m_playing = 0;
    // (name as compared, server address) of the friends found by the last review.
    std::set<std::pair<QString, std::string>> m_seen;
};
