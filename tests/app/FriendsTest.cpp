// Friends: how names compare, the friends file and the desktop's notifications (the window's
// part is in FilterTest).
#include "FileSizeLimit.h"
#include "WindowFixture.h"

#include "app/DBusNotifier.h"
#include "app/FriendList.h"
#include "app/FriendsFile.h"

#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QProcess>
#include <QScopeGuard>
#include <QThread>

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

} // namespace
