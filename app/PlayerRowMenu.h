#pragma once

#include <QCoreApplication>
#include <QString>

class CFriendWatch;
class CPopupMenu;

namespace Lattix {
class CTableCtrl;
}

// The row menu of the two player grids (every player, and the players of a server): "Add
// to friends" and "Remove from friends", put before the grid's own items. "Add" is enabled
// on a player who is no friend yet, "Remove" on one whom an entry names exactly (a friend
// by a pattern is changed in the friends dialog).
//
// The menu runs a nested event loop, in which a scan may refill the grid: the menu notes
// the player's name when it opens, and its commands act on that name.
class CPlayerRowMenu
{
    Q_DECLARE_TR_FUNCTIONS(CPlayerRowMenu)

public:
    static constexpr unsigned kAddToFriends = 57361;
    static constexpr unsigned kRemoveFromFriends = 57362;

    explicit CPlayerRowMenu(CFriendWatch& friends) : m_friends(friends) {}

    // Puts the items into the menu of the grid's row and notes its player.
    void Fill(CPopupMenu& menu, const Lattix::CTableCtrl& grid, int row);
    // Runs a command of the menu. False when it is none of the menu's.
    bool Command(int command);

private:
    CFriendWatch& m_friends;
    QString m_name; // of the row whose menu was opened last; empty below the last row
};
