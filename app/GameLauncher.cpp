#include "app/GameLauncher.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

QString CGameLauncher::WorkingFolder(const QString& path)
{
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    if (slash < 0)
        return {};
    return slash == 0 ? path.left(1) : path.left(slash);
}

bool CGameLauncher::IsWindowsExecutable(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(2) == "MZ";
}

CGameLauncher::Result CGameLauncher::Start(const QString& path, const QStringList& arguments)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return {};
    QString program = path;
    QStringList programArguments = arguments;
    if (IsWindowsExecutable(path)) {
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty())
            return {false, tr("%1 is a Windows program. Install wine to start it "
                              "here, or choose the game's native executable.")
                               .arg(info.fileName())};
        program = wine;
        programArguments.prepend(info.absoluteFilePath());
    } else if (!info.isExecutable()) {
        return {};
    }
    const bool started =
        QProcess::startDetached(program, programArguments, WorkingFolder(info.absoluteFilePath()));
    return {started, {}};
}
