#include "app/FavoritesFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

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
    const std::vector<Favorite> favorites = file.Load();
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
}

TEST(FavoritesFileTest, AddAppendsOnceWithACleanName)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/favorites.dat"));
    const CFavoritesFile file(path);
    using R = CFavoritesFile::AddResult;
    EXPECT_EQ(file.Add(QStringLiteral("127.0.0.1:27960"), QStringLiteral(" A\tname ")), R::Added);
    EXPECT_EQ(file.Add(QStringLiteral("127.0.0.1:27960"), QStringLiteral("Other")),
              R::AlreadyThere);
    EXPECT_EQ(ReadAll(path), QByteArray("127.0.0.1:27960\tA name\t\r\n"));

    // A last line that lost its line end is ended before the next favorite.
    WriteAll(path, "127.0.0.1:1\tOne\tpw");
    EXPECT_EQ(file.Add(QStringLiteral("127.0.0.1:2"), QStringLiteral("Two")), R::Added);
    EXPECT_EQ(ReadAll(path), QByteArray("127.0.0.1:1\tOne\tpw\r\n127.0.0.1:2\tTwo\t\r\n"));

    // Neither a folder nor a device is a favorites file.
    EXPECT_TRUE(CFavoritesFile(dir.path()).Load().empty());
    EXPECT_TRUE(CFavoritesFile(QStringLiteral("/dev/zero")).Load().empty());
    EXPECT_EQ(CFavoritesFile(dir.path()).Add(QStringLiteral("127.0.0.1:3"), {}), R::Failed);
}

} // namespace
