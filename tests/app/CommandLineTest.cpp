#include "app/FavoritesFile.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// The options that a text names: "--word" or "-x", not inside words such as "cut-off".
QSet<QString> OptionsIn(const QString& text)
{
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])(--?[a-z][a-z0-9-]*)"));
    QSet<QString> options;
    for (auto it = option.globalMatch(text); it.hasNext();)
        options.insert(it.next().captured(1));
    return options;
}

std::string Sorted(const QSet<QString>& set)
{
    QStringList list(set.begin(), set.end());
    list.sort();
    return list.join(QLatin1Char(' ')).toStdString();
}

// The OPTIONS section of a manual page, with troff's \- read as a hyphen-minus.
QString OptionsSection(const QString& page)
{
    const qsizetype begin = page.indexOf(QStringLiteral("\n.SH OPTIONS"));
    const qsizetype end = page.indexOf(QStringLiteral("\n.SH "), begin + 1);
    return begin < 0 ? QString()
                     : page.mid(begin, end < 0 ? -1 : end - begin)
                           .replace(QStringLiteral("\\-"), QStringLiteral("-"));
}

struct Program
{
    const char* path;
    const char* page;
    std::string named; // a text that the help names
};

} // namespace

// The manual page and --help cannot drift apart; the browser's help names the favorites' folder.
TEST(CommandLineTest, EachManualPageNamesExactlyTheOptionsOfItsHelp)
{
    for (const Program& program : {Program{FARSIGHTER_PATH, FARSIGHTER_PAGE,
                                           std::string(CFavoritesFile::kFolder) + "/favorites.dat"},
                                   Program{FARSIGHTER_QUERY_PATH, FARSIGHTER_QUERY_PAGE, {}},
                                   Program{FARSIGHTER_TESTNET_PATH, FARSIGHTER_TESTNET_PAGE, {}}}) {
        SCOPED_TRACE(program.page);
        QProcess process;
        process.start(QString::fromUtf8(program.path), {QStringLiteral("--help")});
        ASSERT_TRUE(process.waitForFinished(10000));
        ASSERT_EQ(process.exitCode(), 0);
        const QString text = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_TRUE(text.contains(QString::fromStdString(program.named)));
        const QSet<QString> help = OptionsIn(text);

        QFile file(QString::fromUtf8(program.page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString options = OptionsSection(QString::fromUtf8(file.readAll()));
        EXPECT_GE(help.size(), 4);
        EXPECT_EQ(Sorted(OptionsIn(options)), Sorted(help));
    }
}

// Started where no display can be had, the browser says in one line what it needs and what
// to use instead, and ends with status 1 (not with Qt's abort).
TEST(CommandLineTest, WithoutADisplayTheBrowserSaysSoInOneLine)
{
    for (const char* display : {"", ":97"}) { // none set; one that nobody serves
        SCOPED_TRACE(display);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        if (*display)
            environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QString::fromUtf8(FARSIGHTER_PATH), {});
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 1);
        const QString error = QString::fromLocal8Bit(process.readAllStandardError());
        EXPECT_EQ(error.count(QLatin1Char('\n')), 1) << error.toStdString();
        EXPECT_TRUE(error.contains(QStringLiteral("graphical session")) &&
                    error.contains(QStringLiteral("farsighter-query")))
            << error.toStdString();
    }
}
