#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Starts the game for a join: the executable with its argument list, in the executable's
// own folder, detached and never through a shell. The program's own working directory
// does not change. A Windows executable (one that starts with the "MZ" mark) runs through
// wine when wine is installed.
class CGameLauncher
{
    Q_DECLARE_TR_FUNCTIONS(CGameLauncher)

public:
    struct Result
    {
        bool started = false;
        // Why a file that exists cannot be started here, for the user; empty when it
        // started or when the file is simply missing or not a program.
        QString problem;
    };

    static Result Start(const QString& path, const QStringList& arguments);

    // The folder the game runs in: the path up to its last slash or backslash, or empty
    // (the program's own working directory) for a bare name.
    static QString WorkingFolder(const QString& path);
    static bool IsWindowsExecutable(const QString& path);
};
