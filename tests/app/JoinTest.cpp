#include "WindowFixture.h"

#include "app/GameLauncher.h"
#include "app/JoinCommand.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

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
         {Case{"", "", C::Typed}, Case{"", "fav", C::Favorite}, Case{"pw", "", C::Typed},
          Case{"pw", "pw", C::Typed}, Case{"pw", "PW", C::Ask}, Case{"a", "b", C::Ask}}) {
        EXPECT_EQ(ChooseJoinPassword(QString::fromLatin1(c.typed), QString::fromLatin1(c.favorite)),
                  c.choice)
            << c.typed << " / " << c.favorite;
    }
    EXPECT_EQ(AmbiguousPasswordQuestion(QStringLiteral("fav"), true),
              QStringLiteral("Ambiguous passwords! Use the favorite one (fav)?"));
    // Hidden: one dot a character, also beyond the basic plane.
    EXPECT_EQ(AmbiguousPasswordQuestion(QStringLiteral("f\U0001F600v"), false),
              QStringLiteral("Ambiguous passwords! Use the favorite one (\u25CF\u25CF\u25CF)?"));

    const QString plain = JoinCommandText(QStringLiteral("127.0.0.1:27960"), {});
    EXPECT_EQ(plain, QStringLiteral(" connect 127.0.0.1:27960"));
    EXPECT_EQ(JoinArguments(plain), (QStringList{"connect", "127.0.0.1:27960"}));
    const QString secret =
        JoinCommandText(QStringLiteral("127.0.0.1:27960"), QStringLiteral("my pw"));
    EXPECT_EQ(secret, QStringLiteral(" connect \"127.0.0.1:27960\"; password \"my pw\""));
    EXPECT_EQ(JoinArguments(secret),
              (QStringList{"connect", "127.0.0.1:27960;", "password", "my pw"}));

    for (const char* unsafe : {"a\"b", "x; quit", "pw\nquit", "tab\there", "a+quit"})
        EXPECT_TRUE(UnsafeJoinText(QStringLiteral("password"), QString::fromLatin1(unsafe)))
            << unsafe;
    EXPECT_FALSE(UnsafeJoinText(QStringLiteral("password"), QStringLiteral("s3cr\u00e9t !\\")));
}

TEST(JoinTest, LauncherRefusesWhatItCannotStart)
{
    QTemporaryDir dir;
    // Missing files and files that are not programs do not start, and say nothing.
    EXPECT_FALSE(CGameLauncher::Start(dir.filePath(QStringLiteral("missing")), {}).started);
    EXPECT_FALSE(CGameLauncher::Start(dir.path(), {}).started);
    const QString exe = dir.filePath(QStringLiteral("WolfMP.exe"));
    WriteAll(exe, "MZ\x90");
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
