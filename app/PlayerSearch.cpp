#include "app/PlayerSearch.h"

#include "app/ResultLists.h"
#include "lattix/model/SortKey.h"
#include "lattix/view/TableCtrl.h"

#include <algorithm>
#include <vector>

using namespace Lattix;

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
    const QString wanted = text.toUpper();
    const auto matches = [&](int row) {
        const QString name = QString::fromStdString(players.GetCellText(row, 0)).toUpper();
        return anywhere ? name.contains(wanted) : name.startsWith(wanted);
    };

    players.Sort(std::vector<CSortKey>{{0, false}});
    bool found = false;
    for (int row = 0; row < players.GetRowCount(); ++row) {
        if (matches(row)) {
            players.MoveRow(row, 0);
            found = true;
        }
    }
    players.Update(true);
    if (!found)
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
