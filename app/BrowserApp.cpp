#include "app/BrowserApp.h"

#include "app/MainDlg.h"
#include "app/Translations.h"
#include "net/LibraryVersions.h"
#include "net/Version.h"

#include <QApplication>
#include <QDir>
#include <QSettings>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "usage: farsighter [--settings DIR] [--master HOST:PORT]\n"
    "                  [--query master|favorites|recent]\n"
    "A server browser for Return to Castle Wolfenstein multiplayer.\n"
    "  --settings DIR      keep settings, favorites, friends and recent servers in DIR\n"
    "  --master HOST:PORT  the master server to ask (stored like the dialog's choice)\n"
    "  --query master|favorites|recent\n"
    "                      start that query at once, whatever the start-up setting says\n"
    "  --help              this text\n"
    "  --version           the program's and its libraries' versions\n"
    "Favorites are kept in ~/.local/share/Farsighter/farsighter/favorites.dat, friends\n"
    "beside them in friends.txt, the servers joined last in recent.dat, and the settings\n"
    "in ~/.config/Farsighter RTCW.conf (the XDG data and configuration folders); with\n"
    "--settings DIR, in DIR/data/Farsighter/farsighter/ and DIR/config/ instead.\n";

constexpr const char* kNoDisplay =
    "farsighter: needs a graphical session (neither DISPLAY nor WAYLAND_DISPLAY is set, or "
    "the display cannot be reached); farsighter-query browses servers on the command line\n";

// Messages while the application connects to the display: they are held back, and a fatal
// one (no display to be had) ends the program with one line that says what to do instead.
std::string& HeldMessages()
{
    static std::string held;
    return held;
}

void StartUpMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fputs(kNoDisplay, stderr);
        std::_Exit(1);
    }
    HeldMessages() += message.toLocal8Bit().toStdString() + '\n';
}

struct Arguments
{
    std::optional<std::string> settings;
    std::optional<std::string> master;
    int startupQuery = -1; // as MainDlgOptions::startupQuery
};

// Nothing (and a message) for a command line that is not understood.
std::optional<Arguments> Parse(int argc, char** argv, int& exitCode)
{
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            std::fputs(kUsage, stdout);
            exitCode = 0;
            return std::nullopt;
        }
        if (arg == "--version") {
            std::fputs(VersionReport("farsighter", FARSIGHTER_VERSION).c_str(), stdout);
            exitCode = 0;
            return std::nullopt;
        }
        if (arg == "--query" && i + 1 < argc) {
            const std::string_view which = argv[++i];
            if (which == "master" || which == "favorites" || which == "recent") {
                arguments.startupQuery = which == "master" ? 2 : which == "recent" ? 3 : 1;
                continue;
            }
        } else if ((arg == "--settings" || arg == "--master") && i + 1 < argc) {
            (arg == "--settings" ? arguments.settings : arguments.master) = argv[++i];
            continue;
        }
        std::fprintf(stderr, "farsighter: unknown or incomplete option\n%s", kUsage);
        exitCode = 2;
        return std::nullopt;
    }
    return arguments;
}

} // namespace

int CBrowserApp::Run(int argc, char** argv)
{
    int exitCode = 0;
    const auto arguments = Parse(argc, argv, exitCode);
    if (!arguments)
        return exitCode;
    if (arguments->settings) {
        const QString folder = QDir(QString::fromStdString(*arguments->settings)).absolutePath();
        QDir().mkpath(folder);
        qputenv("XDG_CONFIG_HOME", QDir(folder).filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", QDir(folder).filePath(QStringLiteral("data")).toLocal8Bit());
    }
    const QtMessageHandler previous = qInstallMessageHandler(StartUpMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    std::fputs(HeldMessages().c_str(), stderr);
    QApplication::setApplicationName(QStringLiteral("farsighter"));
    QApplication::setOrganizationName(QStringLiteral("Farsighter"));
    QApplication::setApplicationVersion(QStringLiteral(FARSIGHTER_VERSION));
    const CTranslations translations;
    if (arguments->settings)
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           qEnvironmentVariable("XDG_CONFIG_HOME"));

    MainDlgOptions options;
    options.startupQuery = arguments->startupQuery;
    CMainDlg dialog(std::move(options));
    if (arguments->master)
        dialog.SetMasterAddress(QString::fromStdString(*arguments->master));
    dialog.show();
    dialog.exec();
    return 0;
}
