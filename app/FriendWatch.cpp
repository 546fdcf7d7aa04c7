#include "app/FriendWatch.h"

#include "app/DBusNotifier.h"
#include "app/FriendsDlg.h"
#include "app/FriendsFile.h"
#include "app/Prompts.h"
#include "app/ResultLists.h"
#include "app/StatusLine.h"
#include "format/Cp1252.h"
#include "lattix/view/TableCtrl.h"
#include "query/Server.h"
#include "velk/HyperLink.h"

#include <QDir>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <vector>

namespace {

// The most friends a notification's body names one by one.
constexpr int kNamedInNotification = 5;

QString PlayerName(const CPlayer& player)
{
    return QString::fromStdString(Cp1252ToUtf8(player.name));
}

} // namespace

CFriendWatch::CFriendWatch(Parts parts, const QString& favoritesPath)
    : m_parts(std::move(parts)), m_path(CFriendsFile::PathBeside(favoritesPath))
{
    if (!m_parts.notifier) {
        m_desktop = std::make_unique<CDBusNotifier>();
        m_parts.notifier = m_desktop.get();
    }
    const auto byName = [this](Lattix::CTableCtrl& grid) {
        return [this, &grid](int row) {
            return !m_friends.IsEmpty() &&
                   m_friends.Matches(QString::fromStdString(
                       grid.GetCellText(row, CResultLists::kPlayerNameColumn)));
        };
    };
    CResultLists& lists = m_parts.lists;
    lists.Players().GetDrawState().SetRowEmphasis(byName(lists.Players()));
    lists.ServerPlayers().GetDrawState().SetRowEmphasis(byName(lists.ServerPlayers()));
    lists.Servers().GetDrawState().SetRowEmphasis([this](int row) {
        const CServer* server =
            m_friends.IsEmpty() ? nullptr : m_parts.lists.ServerOfServerRow(row);
        if (!server)
            return false;
        for (const CPlayer& player : server->players) {
            if (m_friends.Matches(PlayerName(player)))
                return true;
        }
        return false;
    });
    Load();
    ShowCount();
    CHyperLink& link = m_parts.link;
    link.m_strURL = QStringLiteral("friends");
    link.m_nFlags = CHyperLink::kUnderline | CHyperLink::kFocusOnClick;
    CLinkDesktop desktop = CLinkDesktop::System();
    desktop.openUrl = [this](const QUrl&) {
        OpenDialog();
        return true;
    };
    link.SetDesktop(std::move(desktop));
    link.Attach();
    link.setToolTip(tr("Edit the list of friends"));
}

CFriendWatch::~CFriendWatch()
{
    for (Lattix::CTableCtrl* grid :
         {&m_parts.lists.Players(), &m_parts.lists.Servers(), &m_parts.lists.ServerPlayers()})
        grid->GetDrawState().SetRowEmphasis({});
}

void CFriendWatch::Load()
{
    CFriendsFile::Content content = CFriendsFile(m_path).Load();
    m_problem = content.problem;
    m_friends = CFriendList(content.friends);
    if (!m_problem.isEmpty())
        m_parts.status.Say(tr("Cannot read the friends file %1: %2")
                               .arg(QDir::toNativeSeparators(m_path), m_problem));
}

bool CFriendWatch::SaveAs(const CFriendList& friends)
{
    QString error = m_problem;
    if (error.isEmpty() && CFriendsFile(m_path).Save(friends.Entries(), &error)) {
        m_friends = friends;
        Changed();
        return true;
    }
    CPrompts::Show(
        &m_parts.window, QMessageBox::Warning,
        tr("Cannot write the friends file %1: %2").arg(QDir::toNativeSeparators(m_path), error));
    return false;
}

bool CFriendWatch::Add(const QString& name)
{
    CFriendList friends = m_friends;
    return friends.Add(name) && SaveAs(friends);
}

bool CFriendWatch::Remove(const QString& name)
{
    CFriendList friends = m_friends;
    const int entry = friends.ExactEntry(name);
    if (entry < 0)
        return false;
    friends.RemoveAt(entry);
    return SaveAs(friends);
}

void CFriendWatch::OpenDialog()
{
    CFriendsDlg dialog(m_friends.Entries(), m_problem, &m_parts.window);
    dialog.SetSave([this](const QStringList& entries) { return SaveAs(CFriendList(entries)); });
    dialog.exec();
}

void CFriendWatch::Changed()
{
    // A friend added or removed is no news: only those who turn up later are.
    Look(false);
    for (Lattix::CTableCtrl* grid :
         {&m_parts.lists.Players(), &m_parts.lists.Servers(), &m_parts.lists.ServerPlayers()})
        grid->Update(false);
}

void CFriendWatch::ShowCount()
{
    m_parts.link.setText(tr("Friends: %1").arg(m_playing));
}

void CFriendWatch::Look(bool notify)
{
    struct Found
    {
        QString name;
        QString server;
        std::string address;
    };
    std::vector<Found> fresh;
    std::set<std::pair<QString, std::string>> seen;
    std::set<QString> playing;
    std::set<std::string> listed;
    const Lattix::CTableCtrl& servers = m_parts.lists.Servers();
    for (int row = 0; row < servers.GetRowCount() && !m_friends.IsEmpty(); ++row) {
        const CServer* server = m_parts.lists.ServerOfServerRow(row);
        if (!server)
            continue;
        listed.insert(server->address.ToString());
        for (const CPlayer& player : server->players) {
            const QString name = PlayerName(player);
            if (!m_friends.Matches(name))
                continue;
            const std::pair<QString, std::string> key{name.toCaseFolded(),
                                                      server->address.ToString()};
            playing.insert(key.first);
            if (seen.insert(key).second && m_seen.count(key) == 0)
                fresh.push_back(
                    {name, QString::fromStdString(Cp1252ToUtf8(server->name)), key.second});
        }
    }
    // Where the list says nothing now (a stopped scan, the favorites, a server that did not
    // answer), friends are still where they were seen: their coming back there is no news.
    for (const auto& before : m_seen) {
        if (!m_friends.IsEmpty() && listed.count(before.second) == 0)
            seen.insert(before);
    }
    m_seen = std::move(seen);
    m_playing = static_cast<int>(playing.size());
    ShowCount();
    if (fresh.empty() || !notify)
        return;

    // Players of one name on several servers are one friend to the summary.
    std::set<QString> friends;
    for (const Found& found : fresh)
        friends.insert(found.name.toCaseFolded());
    const QString summary = friends.size() == 1 ? tr("%1 is playing").arg(fresh.front().name)
                                                : tr("%1 friends are playing").arg(friends.size());
    QStringList lines;
    for (const Found& found : fresh) {
        if (lines.size() == kNamedInNotification) {
            lines.append(tr("and %1 more").arg(fresh.size() - kNamedInNotification));
            break;
        }
        lines.append(tr("%1 on %2").arg(found.name, found.server));
    }
    m_parts.notifier->Notify(summary, lines.join(QLatin1Char('\n')),
                             [this, address = fresh.front().address] { SelectServer(address); });
}

void CFriendWatch::SelectServer(const std::string& address)
{
    Lattix::CTableCtrl& servers = m_parts.lists.Servers();
    int row = 0;
    while (row < servers.GetRowCount() &&
           servers.GetCellText(row, CResultLists::kServerAddressColumn) != address)
        ++row;
    if (row == servers.GetRowCount()) {
        m_parts.status.Say(
            tr("The server %1 is no longer in the list.").arg(QString::fromStdString(address)));
        return;
    }
    if (m_parts.showServers)
        m_parts.showServers();
    servers.SelectRow(row);
    servers.EnsureVisible(row, -1);
    servers.Update(false);
    m_parts.lists.ShowServerPlayers(row);
    m_parts.window.raise();
    m_parts.window.activateWindow();
}
