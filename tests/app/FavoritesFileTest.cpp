#include "FileSizeLimit.h"
#include "WindowFixture.h"

#include "app/FavoritesFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

TEST(FavoritesFileTest, AWindowsFileLoadsAndSavesBackByteForByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("favorites.dat"));
    // As the Windows program writes it: Windows-1252 with CR LF, every line with its three
    // fields; e-acute, the euro sign and an undefined byte.
    const QByteArray windows = "10.1.2.3:27960\tCaf\xe9 \x80 \x81\tsecret\r\n"
                               "127.0.0.1:27961\tSecond\t\r\n"
                               "\t\t\r\n"
                               "host.example:27962\t\t\r\n";
    WriteAll(path, windows);

    const CFavoritesFile file(path);
    const CFavoritesFile::Content content = file.Load();
    EXPECT_TRUE(content.problem.isEmpty());
    const std::vector<Favorite>& favorites = content.favorites;
    ASSERT_EQ(favorites.size(), 4u);
    EXPECT_EQ(favorites[0].name, QStringLiteral("Caf\u00e9 \u20ac \u0081"));
    EXPECT_EQ(favorites[0].password, QStringLiteral("secret"));
    EXPECT_EQ(favorites[1].address, QStringLiteral("127.0.0.1:27961"));
    EXPECT_TRUE(favorites[1].password.isEmpty());
    EXPECT_TRUE(favorites[2].address.isEmpty());

    ASSERT_TRUE(file.Save(favorites));
    EXPECT_EQ(ReadAll(path), windows);

    // Text outside the code page is written as "?", never as a broken line.
    ASSERT_TRUE(file.Save({{QStringLiteral("127.0.0.1:1"), QStringLiteral("\u540d\u524d"), {}}}));
    EXPECT_EQ(ReadAll(path), QByteArray("127.0.0.1:1\t??\t\r\n"));

    // Lines ended by a lone CR are as many favorites; they are saved with CR LF.
    WriteAll(path, "127.0.0.1:1\tOne\tpw\r127.0.0.1:2\tTwo\t\r127.0.0.1:3\tThree\t");
    ASSERT_EQ(file.Load().favorites.size(), 3u);
    EXPECT_EQ(file.Load().favorites[0].password, QStringLiteral("pw"));
    // One folder for the file everywhere: the one that --help names (CommandLineTest).
    EXPECT_EQ(CFavoritesFile::DefaultPath(),
              QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/" +
                  CFavoritesFile::kFolder + "/favorites.dat");
}

TEST(FavoritesFileTest, AddAppendsOnceWithACleanNameOrFailsWithoutHarm)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/favorites.dat"));
    const CFavoritesFile file(path);
    using R = CFavoritesFile::AddResult;
    EXPECT_EQ(file.Add(QStringLiteral("127.0.0.1:27960"), QStringLiteral(" A\tname\r\n ")),
              R::Added);
    EXPECT_EQ(file.Add(QStringLiteral("127.0.0.1:27960"), QStringLiteral("Other")),
              R::AlreadyThere);
    EXPECT_EQ(ReadAll(path), QByteArray("127.0.0.1:27960\tA name\t\r\n"));

    // A last line that lost its line end is ended before the next favorite.
    WriteAll(path, "127.0.0.1:1\tOne\tpw");
    EXPECT_EQ(file.Add(QStringLiteral("127.0.0.1:2"), QStringLiteral("Two")), R::Added);
    EXPECT_EQ(ReadAll(path), QByteArray("127.0.0.1:1\tOne\tpw\r\n127.0.0.1:2\tTwo\t\r\n"));

    // On a full disk neither an addition nor a save changes the file, or leaves another.
    const QByteArray before = ReadAll(path);
    {
        const CFileSizeLimit full(before.size() - 10);
        QString error;
        EXPECT_FALSE(file.Save(file.Load().favorites, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(file.Add(QStringLiteral("127.0.0.1:3"), QStringLiteral("New"), &error),
                  R::Failed);
    }
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("sub"))).entryList(QDir::Files),
              QStringList{"favorites.dat"});

    // Neither a folder nor a FIFO or device is a favorites file, nor is a link to one:
    // nothing is written there, and the reason is given.
    const QString fifo = dir.filePath(QStringLiteral("fifo.dat"));
    const QString link = dir.filePath(QStringLiteral("link.dat"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(fifo, link));
    EXPECT_FALSE(CFavoritesFile(QStringLiteral("/dev/zero")).Load().problem.isEmpty());
    for (const QString& other : {dir.path(), fifo, link}) {
        EXPECT_FALSE(CFavoritesFile(other).Load().problem.isEmpty()) << other.toStdString();
        QString error;
        EXPECT_EQ(CFavoritesFile(other).Add(QStringLiteral("127.0.0.1:3"), {}, &error), R::Failed);
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(CFavoritesFile(other).Save({}, &error)) << other.toStdString();
    }
    struct stat info
    {
    };
    ASSERT_EQ(stat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

} // namespace
