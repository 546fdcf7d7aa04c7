#include "app/PlayerSearch.h"

#include "app/ResultLists.h"
#include "lattix/model/ColData.h"
#include "lattix/model/SortKey.h"
#include "lattix/view/TableCtrl.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

using namespace Lattix;

namespace {

// Whether a name starts with a text (or holds it anywhere), letter case ignored. A text
// of plain ASCII, as most are, is compared byte by byte with names of Latin-1 letters: in
// upper case none of those but "ß" ("SS") has an ASCII letter. Anything else is compared
// in upper case as Unicode has it.
class CNameMatch
{
public:
    CNameMatch(const QString& text, bool anywhere)
        : m_upper(text.toUpper()), m_anywhere(anywhere), m_ascii(IsAscii(m_upper))
    {
        if (m_ascii)
            m_bytes = m_upper.toStdString();
    }

    bool operator()(std::string_view name) const
    {
        if (m_ascii && Fold(name)) {
            if (m_anywhere)
                return m_folded.find(m_bytes) != std::string::npos;
            return m_folded.starts_with(m_bytes);
        }
        const QString upper =
            QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).toUpper();
        return m_anywhere ? upper.contains(m_upper) : upper.startsWith(m_upper);
    }

private:
    // m_folded := the name in upper case, with 0x80 for a letter that has no ASCII in upper
    // case; false for a name with letters beyond Latin-1.
    bool Fold(std::string_view name) const
    {
        m_folded.clear();
        for (std::size_t i = 0; i < name.size(); ++i) {
            const auto c = static_cast<unsigned char>(name[i]);
            if (c < 0x80) {
                m_folded += c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : static_cast<char>(c);
            } else if ((c == 0xC2 || c == 0xC3) && i + 1 < name.size() &&
                       (static_cast<unsigned char>(name[i + 1]) & 0xC0) == 0x80) {
                ++i;
                const bool sharpS = c == 0xC3 && static_cast<unsigned char>(name[i]) == 0x9F;
                m_folded += sharpS ? "SS" : "\x80";
            } else {
                return false;
            }
        }
        return true;
    }
    static bool IsAscii(const QString& text)
    {
        return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    }

    QString m_upper;
    std::string m_bytes;
    mutable std::string m_folded;
    bool m_anywhere;
    bool m_ascii;
};

} // namespace

void CPlayerSearch::SortByName()
{
    CTableCtrl& players = m_lists.Players();
    const std::vector<CSortKey> byName{{0, false}};
    const int rows = players.GetRowCount();
    const bool sameOrder = players.GetSortOrder() == byName;
    // The rows as the last search left them: its matches go back to where they were in the
    // sorted list it made (rows of equal names keep the order of that sort).
    bool own = sameOrder && rows == static_cast<int>(m_arranged.size());
    for (int row = 0; own && row < rows; ++row)
        own = players.GetRow(row) == m_arranged[static_cast<std::size_t>(row)];
    if (own) {
        std::vector<int> order(static_cast<std::size_t>(rows));
        const int moved = static_cast<int>(m_found.size());
        std::size_t next = 0; // of m_found, ascending
        for (int row = 0; row < rows; ++row) {
            if (next < m_found.size() && m_found[next] == row)
                order[static_cast<std::size_t>(row)] = moved - 1 - static_cast<int>(next++);
            else
                order[static_cast<std::size_t>(row)] = moved + row - static_cast<int>(next);
        }
        players.MoveRowsToFront(order);
        return;
    }
    if (!sameOrder || !m_lists.PlayersInOrder())
        players.Sort(byName);
}

bool CPlayerSearch::Run(const QString& rawText)
{
    QString text = rawText.trimmed();
    if (text.isEmpty())
        return false;
    CTableCtrl& players = m_lists.Players();
    CTableCtrl& servers = m_lists.Servers();
    players.SelectRow(-1);
    servers.SelectRow(-1);

    const bool anywhere = text.startsWith(QLatin1Char('*'));
    if (anywhere)
        text.remove(0, 1);
    const CNameMatch matches(text, anywhere);

    // The matches go to the top in the reverse of their order by name; the other rows stay
    // sorted below them.
    SortByName();
    // The names are read ahead of the walk, so that the rows, spread over memory, arrive
    // in the cache while earlier ones are compared.
    const CColData* names = players.GetColData(0);
    const auto cell = [&](int row) { return names->GetCell(row); };
    constexpr int kAhead = 8;
    std::vector<int> found;
    const int rows = players.GetRowCount();
    for (int row = 0; row < rows; ++row) {
        if (row + 2 * kAhead < rows)
            __builtin_prefetch(cell(row + 2 * kAhead));
        if (row + kAhead < rows)
            __builtin_prefetch(cell(row + kAhead)->GetCharPtr());
        const char* name = cell(row)->GetCharPtr();
        if (name != nullptr && *name != 0 ? matches(name) : matches(players.GetCellText(row, 0)))
            found.push_back(row);
    }
    m_found = found;
    std::reverse(found.begin(), found.end());
    players.MoveRowsToFront(found);
    m_lists.PlayersArranged();
    m_arranged.resize(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row)
        m_arranged[static_cast<std::size_t>(row)] = players.GetRow(row);
    players.Update(true);
    if (found.empty())
        return false;

    players.SelectRow(0);
    players.EnsureVisible(0, -1);
    players.Update(true);
    const int serverRow = m_lists.FindServerRow(m_lists.HandleOfPlayerRow(0));
    if (serverRow < 0)
        return true;
    servers.SelectRow(serverRow);
    servers.EnsureVisible(serverRow, -1);
    servers.Update(true);
    m_lists.ShowServerPlayers(serverRow);
    CTableCtrl& serverPlayers = m_lists.ServerPlayers();
    const std::string name = players.GetCellText(0, 0);
    int pick = -1;
    for (int row = 0; row < serverPlayers.GetRowCount() && pick < 0; ++row) {
        if (serverPlayers.GetCellText(row, 0) == name)
            pick = row;
    }
    serverPlayers.SelectRow(pick);
    serverPlayers.Update(false);
    return true;
}

QStringList CSearchHistory::Parse(const QString& stored)
{
    QStringList entries = stored.split(QLatin1Char('\n'));
    if (!entries.isEmpty() && entries.back().isEmpty())
        entries.removeLast(); // the piece after the final line feed
    entries.sort(Qt::CaseInsensitive);
    return entries;
}

QString CSearchHistory::Format(const QStringList& entries, const QStringList& newestFirst)
{
    // Keep the newest entries when there are too many; the rest keep the list's order.
    QStringList kept = entries;
    if (kept.size() > kMaxEntries) {
        QStringList keep;
        for (const QString& entry : newestFirst) {
            if (keep.size() < kMaxEntries && Find(kept, entry) >= 0 && Find(keep, entry) < 0)
                keep.append(entry);
        }
        for (const QString& entry : entries) {
            if (keep.size() < kMaxEntries && Find(keep, entry) < 0)
                keep.append(entry);
        }
        QStringList ordered;
        for (const QString& entry : entries) {
            if (keep.contains(entry))
                ordered.append(entry);
        }
        kept = ordered;
    }
    QString stored;
    for (auto entry = kept.crbegin(); entry != kept.crend(); ++entry)
        stored += *entry + QLatin1Char('\n');
    return stored;
}

int CSearchHistory::Find(const QStringList& entries, const QString& text)
{
    const auto it = std::find_if(entries.begin(), entries.end(), [&](const QString& entry) {
        return entry.compare(text, Qt::CaseInsensitive) == 0;
    });
    return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}
