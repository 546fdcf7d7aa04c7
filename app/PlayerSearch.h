#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class CResultLists;

namespace Lattix {
class CRowData;
}

// Finds players by name in the result lists: the matches move to the top of the player
// list (sorted by name otherwise), the first of them is selected, and its server is
// selected in the server list with the player picked among that server's players.
//
// A text that starts with "*" matches anywhere in a name; otherwise a name must start with
// it. Letter case never matters.
class CPlayerSearch
{
public:
    explicit CPlayerSearch(CResultLists& lists) : m_lists(lists) {}

    // Runs a search for the trimmed text; false for an empty text or no match.
    bool Run(const QString& text);

private:
    // Sorts the player list by name, cheaply when it is in order already or as the last
    // search left it.
    void SortByName();

    CResultLists& m_lists;
    std::vector<int> m_found;                  // the last search's matches in its sorted list
    std::vector<Lattix::CRowData*> m_arranged; // the rows as it left them
};

// The history of search texts as the search box lists them: sorted, no two entries equal
// but for letter case, and stored as one text with every entry followed by a line feed.
// The stored text keeps at most kMaxEntries entries, the newest ones.
class CSearchHistory
{
public:
    static constexpr int kMaxEntries = 64;

    // Entries from a stored text: cut at every line feed (an empty piece between two line
    // feeds is an entry; nothing after a final one), sorted.
    static QStringList Parse(const QString& stored);
    // The stored form: every entry followed by a line feed, in the reverse of the list's
    // order. Of a longer list only kMaxEntries entries are kept: those named first in
    // newestFirst, then the others in list order.
    static QString Format(const QStringList& entries, const QStringList& newestFirst = {});
    // Index of an entry equal to text ignoring case, or -1.
    static int Find(const QStringList& entries, const QString& text);
};
