#pragma once

#include <QCoreApplication>
#include <QString>

#include <string>

class CPopupMenu;
class CResultLists;
class CStatusLine;
class QWidget;

// The row menu of the main window's server list: "Add to favorites" and "Show server
// info", enabled on a row and disabled below the last one.
//
// The menu runs a nested event loop, in which a new scan may refill the list: the menu
// notes the address of its row, and a command runs only when the row still shows that
// server; otherwise the user is told that it is gone.
class CServerRowMenu
{
    Q_DECLARE_TR_FUNCTIONS(CServerRowMenu)

public:
    // Command ids of the two items.
    static constexpr unsigned kAddToFavorites = 57341;
    static constexpr unsigned kShowServerInfo = 57343;

    // parent: of the prompts and the server info dialog; status: where "Add to favorites"
    // says what it did; favoritesPath: the file that it writes.
    CServerRowMenu(QWidget& parent, CResultLists& lists, CStatusLine& status,
                   QString favoritesPath);

    // Puts the items into the menu of the server-list row and notes its server.
    void Fill(CPopupMenu& menu, int row);
    // Runs a command of the menu on the row. False when it is none of the menu's.
    bool Command(int command, int row);

    // Adds the server of the row to the favorites file and says so, or that it is there
    // already; says why when it cannot.
    bool AddToFavorites(int row);
    // Shows the server info dialog of the row's record, if it has one.
    void ShowServerInfo(int row);

private:
    QWidget& m_parent;
    CResultLists& m_lists;
    CStatusLine& m_status;
    QString m_favoritesPath;
    std::string m_address; // of the row whose menu was opened last
};
