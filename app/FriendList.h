#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The user's friends: a list of names, each an exact name or a pattern in which "*" stands
// for any run of characters (also none). Colour codes (a caret and the character after it)
// are ignored in the entries and in the names compared with them, and so are blanks at
// both ends. Letter case never matters, as in the player search: "^1Blaz*" matches
// "BLAZKOWICZ" and "blaz". An entry that is nothing but stars and colour codes would match
// every player and is not taken.
class CFriendList
{
public:
    CFriendList() = default;
    explicit CFriendList(const QStringList& entries);

    // The entries as the user wrote them, in their order.
    const QStringList& Entries() const { return m_entries; }
    bool IsEmpty() const { return m_entries.isEmpty(); }

    // Whether the player's name matches an entry.
    bool Matches(const QString& name) const;
    // The index of the entry that names exactly this player (no stars), or -1.
    int ExactEntry(const QString& name) const;

    // Appends an entry unless it is empty, all stars, or there already (as it is compared);
    // false when it was not added.
    bool Add(const QString& entry);
    // Removes the entry at index.
    void RemoveAt(int index);

    // The name without colour codes and blanks at both ends.
    static QString WithoutColourCodes(const QString& name);
    // Whether an entry can be added: it names a player with at least one character.
    static bool IsUsable(const QString& entry);

private:
    struct Compiled
    {
        QString folded; // without colour codes, case folded
        bool pattern = false;
    };
    static Compiled Compile(const QString& entry);
    static QString Key(const QString& name);
    // pattern is case folded, name is folded letter by letter.
    static bool Glob(QStringView pattern, QStringView name);

    QStringList m_entries;
    std::vector<Compiled> m_compiled;
};
