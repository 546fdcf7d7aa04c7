#include "app/FriendList.h"

CFriendList::CFriendList(const QStringList& entries)
{
    for (const QString& entry : entries)
        Add(entry);
}

QString CFriendList::WithoutColourCodes(const QString& name)
{
    QString plain;
    plain.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i] == QLatin1Char('^'))
            ++i; // the code's character goes with the caret
        else
            plain.append(name[i]);
    }
    return plain.trimmed();
}

QString CFriendList::Key(const QString& name)
{
    return WithoutColourCodes(name).toCaseFolded();
}

CFriendList::Compiled CFriendList::Compile(const QString& entry)
{
    Compiled compiled{Key(entry), false};
    compiled.pattern = compiled.folded.contains(QLatin1Char('*'));
    return compiled;
}

bool CFriendList::IsUsable(const QString& entry)
{
    QString rest = Key(entry);
    rest.remove(QLatin1Char('*'));
    return !rest.isEmpty();
}

bool CFriendList::Glob(QStringView pattern, QStringView name)
{
    // Greedy with one step back to the last star: linear for the patterns users write.
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype star = -1;
    qsizetype resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && pattern[p] == name[n].toCaseFolded()) {
            ++p;
            ++n;
        } else if (star >= 0) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

bool CFriendList::Matches(const QString& name) const
{
    if (m_compiled.empty())
        return false;
    // Names from servers come without colour codes and trimmed: they are compared as they
    // are, letter by letter folded, so that a long list of players costs no copies.
    QString stripped;
    QStringView key = name;
    if (name.contains(QLatin1Char('^')) ||
        (!name.isEmpty() && (name.front().isSpace() || name.back().isSpace()))) {
        stripped = WithoutColourCodes(name);
        key = stripped;
    }
    for (const Compiled& entry : m_compiled) {
        if (entry.pattern ? Glob(entry.folded, key)
                          : key.compare(entry.folded, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

int CFriendList::ExactEntry(const QString& name) const
{
    const QString key = Key(name);
    for (std::size_t i = 0; i < m_compiled.size(); ++i) {
        if (!m_compiled[i].pattern && m_compiled[i].folded == key)
            return static_cast<int>(i);
    }
    return -1;
}

bool CFriendList::Add(const QString& entry)
{
    if (!IsUsable(entry))
        return false;
    Compiled compiled = Compile(entry);
    for (const Compiled& other : m_compiled) {
        if (other.folded == compiled.folded)
            return false;
    }
    m_entries.append(entry.trimmed());
    m_compiled.push_back(std::move(compiled));
    return true;
}

void CFriendList::RemoveAt(int index)
{
    if (index < 0 || index >= m_entries.size())
        return;
    m_entries.removeAt(index);
    m_compiled.erase(m_compiled.begin() + index);
}
