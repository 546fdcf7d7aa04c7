// Friends: how names compare, the friends file, and a user's path through the real window.
#include "FileSizeLimit.h"
#include "WindowFixture.h"

#include "app/DBusNotifier.h"
#include "app/DesktopNotifier.h"
#include "app/FriendList.h"
#include "app/FriendWatch.h"
#include "app/FriendsDlg.h"
#include "app/FriendsFile.h"
#include "query/Server.h"
#include "velk/HyperLink.h"

#include <QApplication>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDir>
#include <QListWidget>
#include <QMutex>
#include <QProcess>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>

#include <set>

namespace {

TEST(FriendListTest, NamesAndPatternsMatchIgnoringColourCodesAndCase)
{
    struct Case
    {
        QStringList entries;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {{"Blazkowicz"}, "Blazkowicz", true},
        {{"Blazkowicz"}, "bLAZKOWICZ", true},
        {{"^1Blaz^7kowicz"}, "Blazkowicz", true},
        {{"Blazkowicz"}, "^4Blaz^^kowicz", true},
        {{"  Blazkowicz "}, "Blazkowicz", true},
        {{"\u00D6laf"}, "\u00F6LAF", true},
        {{"Blaz"}, "Blazkowicz", false},
        {{"Blazkowicz"}, "Blazkowicz2", false},
        {{"Blaz*"}, "blazing", true},
        {{"Blaz*"}, "Bla", false},
        {{"*[TC]*"}, "Foo [tc] Bar", true},
        {{"*[TC]*"}, "Foo TC Bar", false},
        {{"a*b*c"}, "aXbYbZc", true},
        {{"a*b*c"}, "aXcYb", false},
        {{"*"}, "anyone", false},
        {{"^1*^2**"}, "anyone", false},
        {{"Nobody", "*ski"}, "Kowalski", true},
        {{}, "Blazkowicz", false},
        {{"Blaz*"}, "", false},
    };
    for (const Case& c : cases) {
        const CFriendList friends(c.entries);
        EXPECT_EQ(friends.Matches(QString::fromUtf8(c.name)), c.matches)
            << c.entries.join(',').toStdString() << " / " << c.name;
    }
    // An entry is taken once, as it is compared; only a plain name is an exact entry.
    CFriendList friends({"^1Blaz", "*ski"});
    EXPECT_FALSE(friends.Add("BLAZ"));
    EXPECT_EQ(friends.ExactEntry("blaz"), 0);
    EXPECT_EQ(friends.ExactEntry("Kowalski"), -1);
}

TEST(FriendsFileTest, RoundTripCarelessFilesAndAFailedSave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("friends.txt");
    const CFriendsFile file(path);
    EXPECT_TRUE(file.Load().friends.isEmpty() && file.Load().problem.isEmpty());
    ASSERT_TRUE(file.Save({"^1Blaz*", "\u00D6laf", "two\nlines"}));
    const CFriendsFile::Content read = file.Load();
    EXPECT_EQ(read.friends, QStringList({"^1Blaz*", "\u00D6laf", "two lines"}));
    EXPECT_EQ(read.problem, "");

    // A file from elsewhere: CR LF, blank lines, Windows-1252.
    WriteAll(path, "Blaz\r\n\r\n  \xD6laf  \r\n");
    EXPECT_EQ(file.Load().friends, QStringList({"Blaz", "\u00D6laf"}));

    // Careless files are said, and give no friends.
    for (const QByteArray& careless :
         {QByteArray(CFriendsFile::kMaxFileSize + 1, 'a'), QByteArray("Blaz\n\0\x01\x02", 8),
          "Blaz\n" + QByteArray(CFriendsFile::kMaxLineBytes + 1, 'x')}) {
        WriteAll(path, careless);
        const CFriendsFile::Content content = file.Load();
        EXPECT_TRUE(content.friends.isEmpty() && !content.problem.isEmpty()) << careless.size();
    }

    // A save that fails on a full disk leaves the old file whole.
    ASSERT_TRUE(file.Save({"Blaz"}));
    QString error;
    {
        const CFileSizeLimit limit(64);
        EXPECT_FALSE(file.Save(QStringList(40, QStringLiteral("Kowalski")), &error));
    }
    EXPECT_EQ(file.Load().friends, QStringList({"Blaz"}));
    EXPECT_EQ(CFriendsFile::PathBeside(dir.filePath("favorites.dat")), path);
}

// A desktop's notification service: records each Notify and answers with id 7.
class FakeNotificationService : public QDBusVirtualObject
{
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.member() == "GetCapabilities") {
            connection.send(
                message.createReply(QVariant(QStringList{"body", "body-markup", "actions"})));
            return true;
        }
        if (message.member() != "Notify")
            return false;
        {
            const QMutexLocker lock(&m_mutex);
            m_calls.append(message.arguments());
        }
        connection.send(message.createReply(QVariant(uint(7))));
        return true;
    }
    QList<QVariantList> Calls() const
    {
        const QMutexLocker lock(&m_mutex);
        return m_calls;
    }

private:
    mutable QMutex m_mutex;
    QList<QVariantList> m_calls;
};

TEST(DBusNotifierTest, NotifiesThroughTheServiceAndTheClickRunsOnlyWhereThereIsOne)
{
    // A bus of the test's own, with nothing on it.
    QProcess daemon;
    daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
    ASSERT_TRUE(daemon.waitForStarted(10000) && daemon.waitForReadyRead(10000))
        << "dbus-daemon: " << daemon.errorString().toStdString() << " "
        << daemon.readAllStandardError().toStdString();
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    const auto endDaemon = qScopeGuard([&] {
        daemon.terminate();
        daemon.waitForFinished(5000);
    });
    const auto closeBuses = qScopeGuard([] {
        QDBusConnection::disconnectFromBus("friends-client");
        QDBusConnection::disconnectFromBus("friends-service");
    });
    QDBusConnection client = QDBusConnection::connectToBus(address, "friends-client");
    ASSERT_TRUE(client.isConnected());
    int clicks = 0;

    // The service, answering from a thread of its own while the window's thread waits.
    QDBusConnection serving = QDBusConnection::connectToBus(address, "friends-service");
    QThread thread;
    FakeNotificationService service;
    service.moveToThread(&thread);
    thread.start();
    const auto endThread = qScopeGuard([&] {
        thread.quit();
        thread.wait();
    });
    ASSERT_TRUE(serving.registerVirtualObject("/org/freedesktop/Notifications", &service));
    ASSERT_TRUE(serving.registerService("org.freedesktop.Notifications"));
    CDBusNotifier notifier(client);
    notifier.Notify("2 friends are playing", "Blaz on <Arena>\nOlaf on X", [&] { ++clicks; });
    // The user clicks once the service has numbered the notification: first another action.
    ASSERT_TRUE(QTest::qWaitFor([&] { return notifier.Shown() == 1; }, 10000));
    for (const char* action : {"other", "default"})
        serving.send(QDBusMessage::createSignal("/org/freedesktop/Notifications",
                                                "org.freedesktop.Notifications", "ActionInvoked")
                     << uint(7) << QString::fromLatin1(action));
    ASSERT_TRUE(QTest::qWaitFor([&] { return clicks > 0; }, 10000));
    EXPECT_EQ(clicks, 1);
    const QList<QVariantList> calls = service.Calls();
    ASSERT_EQ(calls.size(), 1);
    const QVariantList& call = calls[0];
    ASSERT_EQ(call.size(), 8);
    EXPECT_EQ(call[3].toString(), "2 friends are playing");
    // The service reads markup: the names from servers are escaped.
    EXPECT_EQ(call[4].toString(), "Blaz on &lt;Arena&gt;\nOlaf on X");
    EXPECT_EQ(call[5].toStringList(), QStringList({"default", "Show server"}));
    serving.unregisterObject("/org/freedesktop/Notifications");
}

// Records every notification instead of showing it.
class RecordingNotifier : public IDesktopNotifier
{
public:
    struct Call
    {
        QString summary;
        QString body;
        std::function<void()> click;
    };
    void Notify(const QString& summary, const QString& body, std::function<void()> click) override
    {
        calls.push_back({summary, body, std::move(click)});
    }
    std::vector<Call> calls;
};

class FriendsTest : public CWindowFixture
{
protected:
    void SetUp() override
    {
        CWindowFixture::SetUp();
        Set("Speed", 5);
    }
    static std::set<int> MarkedRows(const Lattix::CTableCtrl& grid)
    {
        std::set<int> rows;
        for (int row = 0; row < grid.GetRowCount(); ++row) {
            if (grid.GetDrawState().IsRowEmphasized(row))
                rows.insert(row);
        }
        return rows;
    }
    RecordingNotifier m_notifier;
};

TEST_F(FriendsTest, FriendsAreMarkedCountedAndAnnouncedOnceAndTheClickSelectsTheirServer)
{
    CTestNetProcess net({"--count", "10", "--seed", "6"});
    // Two players of two servers whose names are nowhere else, as the servers send them.
    struct Pick
    {
        QString raw;
        std::string address;
    };
    std::vector<Pick> picks;
    std::multiset<QString> names;
    for (const auto& server : net.Manifest()["servers"]) {
        for (const auto& player : server.value("players", nlohmann::json::array()))
            names.insert(
                CFriendList::WithoutColourCodes(QString::fromStdString(player["name"])).toLower());
    }
    for (const auto& server : net.Manifest()["servers"]) {
        for (const auto& player : server.value("players", nlohmann::json::array())) {
            const QString raw = QString::fromStdString(player["name"]);
            const QString plain = CFriendList::WithoutColourCodes(raw);
            if (picks.size() < 2 && !plain.isEmpty() && names.count(plain.toLower()) == 1) {
                picks.push_back({raw, "127.0.0.1:" + std::to_string(server["port"].get<int>())});
                break;
            }
        }
    }
    ASSERT_EQ(picks.size(), 2u);
    const QString nameA = CFriendList::WithoutColourCodes(picks[0].raw);
    const QString nameB = CFriendList::WithoutColourCodes(picks[1].raw);
    // The first as the server sends it, with its colour codes; the second in capitals.
    const QString path = m_dir.filePath("friends.txt");
    ASSERT_TRUE(CFriendsFile(path).Save({picks[0].raw, nameB.toUpper()}));

    MainDlgOptions options;
    options.defaultMaster = QString::fromStdString(net.MasterAddress());
    options.startupQuery = 2;
    options.notifier = &m_notifier;
    auto dialog = Open(options);
    ASSERT_TRUE(ScanEnds(*dialog));
    Lattix::CTableCtrl& servers = dialog->ServerList();
    Lattix::CTableCtrl& players = dialog->PlayerList();
    const int rowA = RowOf(servers, picks[0].address);
    const int rowB = RowOf(servers, picks[1].address);
    ASSERT_LT(std::max(rowA, rowB), servers.GetRowCount());

    // One notification names both, each with their server.
    ASSERT_EQ(m_notifier.calls.size(), 1u);
    EXPECT_EQ(m_notifier.calls[0].summary, "2 friends are playing");
    const auto on = [&](const QString& name, int row) {
        return name + " on " +
               QString::fromStdString(servers.GetCellText(row, CResultLists::kServerNameColumn));
    };
    const QStringList body = m_notifier.calls[0].body.split('\n');
    EXPECT_EQ(std::set<QString>(body.begin(), body.end()),
              std::set<QString>({on(nameA, rowA), on(nameB, rowB)}));
    // Their rows stand out in the players, the servers and the players of a server.
    auto* count = qobject_cast<CHyperLink*>(dialog->Control(CMainDlg::IDC_FRIENDS));
    EXPECT_EQ(count->text(), "Friends: 2");
    EXPECT_EQ(MarkedRows(servers), std::set<int>({rowA, rowB}));
    std::set<int> friendRows;
    int other = -1;
    for (int row = 0; row < players.GetRowCount(); ++row) {
        const QString name = QString::fromStdString(players.GetCellText(row, 0));
        if (name == nameA || name == nameB)
            friendRows.insert(row);
        else if (other < 0 && !name.isEmpty() &&
                 dialog->Lists().ServerOfPlayerRow(row)->address.ToString() == picks[0].address)
            other = row;
    }
    EXPECT_EQ(MarkedRows(players), friendRows);
    ASSERT_EQ(friendRows.size(), 2u);
    ASSERT_GE(other, 0);

    // A click on the notification selects the first server it names, in the server list.
    const int first = std::min(rowA, rowB);
    m_notifier.calls[0].click();
    EXPECT_EQ(dialog->CurrentView(), 1);
    EXPECT_EQ(servers.GetSelectedRow(), first);
    Lattix::CTableCtrl& serverPlayers = dialog->ServerPlayerList();
    EXPECT_EQ(MarkedRows(serverPlayers).size(), 1u);

    // A fellow player made a friend from the row menu: marked, counted, saved, but no news.
    const QString fellow = QString::fromStdString(players.GetCellText(other, 0));
    const QStringList offered = PickFromMenu(players, other, "Add to friends").enabled;
    EXPECT_TRUE(offered.contains("Add to friends") && !offered.contains("Remove from friends"));
    EXPECT_EQ(CFriendsFile(path).Load().friends,
              QStringList({picks[0].raw, nameB.toUpper(), fellow}));
    EXPECT_TRUE(players.GetDrawState().IsRowEmphasized(other));
    EXPECT_EQ(count->text(), "Friends: 3");
    EXPECT_EQ(m_notifier.calls.size(), 1u);

    // The next scan finds every friend where they were: nothing new to tell.
    dialog->QueryMaster();
    ASSERT_TRUE(ScanEnds(*dialog));
    EXPECT_EQ(m_notifier.calls.size(), 1u);
    EXPECT_EQ(count->text(), "Friends: 3");
    // Nor after a scan of the favorites without the first friend's server.
    WriteFavorites(QByteArray::fromStdString(picks[1].address + "\tB\t\r\n"));
    dialog->QueryFavorites();
    ASSERT_TRUE(ScanEnds(*dialog));
    EXPECT_EQ(servers.GetRowCount(), 1);
    dialog->QueryMaster();
    ASSERT_TRUE(ScanEnds(*dialog));
    EXPECT_EQ(m_notifier.calls.size(), 1u);

    // Removed from a server's players: while the file cannot be written, said, and kept.
    const int serverRow = RowOf(servers, picks[0].address);
    dialog->Lists().ShowServerPlayers(serverRow);
    const int fellowRow = RowOf(serverPlayers, fellow, 0);
    ASSERT_LT(fellowRow, serverPlayers.GetRowCount());
    ASSERT_TRUE(QFile::remove(path) && QDir().mkdir(path));
    const QStringList offeredThere =
        PickFromMenu(serverPlayers, fellowRow, "Remove from friends").enabled;
    EXPECT_TRUE(offeredThere.contains("Remove from friends") &&
                !offeredThere.contains("Add to friends"));
    ASSERT_EQ(CPrompts::Shown().size(), 1u);
    EXPECT_TRUE(CPrompts::Shown()[0].startsWith("Cannot write the friends file"));
    EXPECT_TRUE(dialog->Friends().Friends().Matches(fellow));
    ASSERT_TRUE(QDir().rmdir(path));
    PickFromMenu(serverPlayers, fellowRow, "Remove from friends");
    EXPECT_FALSE(dialog->Friends().Friends().Matches(fellow));
    EXPECT_EQ(CFriendsFile(path).Load().friends.size(), 2);
    EXPECT_EQ(count->text(), "Friends: 2");

    // In the dialog behind the count, a pattern that still finds the first friend: no news.
    const QString pattern = nameA.left(nameA.size() - 1) + "*";
    QTimer::singleShot(0, [&] {
        auto* friendsDlg = qobject_cast<CFriendsDlg*>(QApplication::activeModalWidget());
        ASSERT_TRUE(friendsDlg);
        friendsDlg->List().item(0)->setSelected(true);
        friendsDlg->RemoveSelected();
        QTest::keyClicks(&friendsDlg->NameField(), pattern);
        QTest::keyClick(&friendsDlg->NameField(), Qt::Key_Return);
        friendsDlg->accept();
    });
    QTest::mouseClick(count, Qt::LeftButton);
    EXPECT_EQ(CFriendsFile(path).Load().friends, QStringList({nameB.toUpper(), pattern}));
    EXPECT_TRUE(servers.GetDrawState().IsRowEmphasized(RowOf(servers, picks[0].address)));
    EXPECT_EQ(m_notifier.calls.size(), 1u);
}

} // namespace
