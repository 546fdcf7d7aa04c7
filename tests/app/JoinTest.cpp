#include "app/GameLauncher.h"
#include "app/JoinCommand.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(JoinTest, PasswordChoiceCommandTextAndArguments)
{
    using C = JoinPasswordChoice;
    struct Case
    {
        const char* typed;
        const char* favorite;
        C choice;
    };
    for (const Case c :
         {Case{"", "", C::Typed}, Case{"", "fav", C::Typed}, Case{"pw", "", C::Typed},
          Case{"pw", "pw", C::Typed}, Case{"pw", "PW", C::Ask}, Case{"a", "b", C::Ask}}) {
        EXPECT_EQ(ChooseJoinPassword(QString::fromLatin1(c.typed), QString::fromLatin1(c.favorite)),
                  c.choice)
            << c.typed << " / " << c.favorite;
    }
    EXPECT_EQ(AmbiguousPasswordQuestion(QStringLiteral("fav")),
              QStringLiteral("Ambiguous passwords! Use the favorite one (fav)?"));

    const QString plain = JoinCommandText(QStringLiteral("127.0.0.1:27960"), {});
    EXPECT_EQ(plain, QStringLiteral(" connect 127.0.0.1:27960"));
    EXPECT_EQ(JoinArguments(plain), (QStringList{"connect", "127.0.0.1:27960"}));
    const QString secret =
        JoinCommandText(QStringLiteral("127.0.0.1:27960"), QStringLiteral("my pw"));
    EXPECT_EQ(secret, QStringLiteral(" connect \"127.0.0.1:27960\"; password \"my pw\""));
    EXPECT_EQ(JoinArguments(secret),
              (QStringList{"connect", "127.0.0.1:27960;", "password", "my pw"}));

    for (const char* unsafe : {"a\"b", "x; quit", "pw\nquit", "tab\there"})
        EXPECT_TRUE(UnsafeJoinText(QStringLiteral("password"), QString::fromLatin1(unsafe)))
            << unsafe;
    EXPECT_FALSE(UnsafeJoinText(QStringLiteral("password"), QStringLiteral("s3cr\u00e9t !\\")));
}

// A fake game that writes its working folder and arguments to record.txt beside itself.
QString WriteFakeGame(const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n"
               "printf '%s\\n' \"$PWD\" \"$@\" > \"$(dirname \"$0\")/record.tmp\"\n"
               "mv \"$(dirname \"$0\")/record.tmp\" \"$(dirname \"$0\")/record.txt\"\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

TEST(JoinTest, LauncherStartsTheGameInItsFolderWithoutAShell)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("game dir")));
    const QString game = WriteFakeGame(dir, QStringLiteral("game dir/wolfmp"));
    const QString before = QDir::currentPath();

    const auto result = CGameLauncher::Start(
        game, JoinArguments(JoinCommandText(QStringLiteral("127.0.0.1:27960"), "p w$(x)")));
    ASSERT_TRUE(result.started);
    const QString record = dir.filePath(QStringLiteral("game dir/record.txt"));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record), 10000);
    QFile file(record);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    EXPECT_EQ(QFileInfo(lines.value(0)).canonicalFilePath(),
              QFileInfo(dir.filePath(QStringLiteral("game dir"))).canonicalFilePath());
    EXPECT_EQ(lines.mid(1, 4), (QStringList{"connect", "127.0.0.1:27960;", "password", "p w$(x)"}));
    EXPECT_EQ(QDir::currentPath(), before);

    // Missing files and files that are not programs do not start, and say nothing.
    EXPECT_FALSE(CGameLauncher::Start(dir.filePath(QStringLiteral("missing")), {}).started);
    EXPECT_FALSE(CGameLauncher::Start(dir.path(), {}).started);
    const QString exe = dir.filePath(QStringLiteral("WolfMP.exe"));
    QFile pe(exe);
    ASSERT_TRUE(pe.open(QIODevice::WriteOnly));
    pe.write("MZ\x90");
    pe.close();
    EXPECT_TRUE(CGameLauncher::IsWindowsExecutable(exe));
    if (QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty()) {
        const auto windows = CGameLauncher::Start(exe, {});
        EXPECT_FALSE(windows.started);
        EXPECT_TRUE(windows.problem.contains(QStringLiteral("wine")));
    }
    EXPECT_EQ(CGameLauncher::WorkingFolder(QStringLiteral("C:\\Games\\RTCW\\WolfMP.exe")),
              QStringLiteral("C:\\Games\\RTCW"));
    EXPECT_TRUE(CGameLauncher::WorkingFolder(QStringLiteral("WolfMP.exe")).isEmpty());
}

} // namespace
