#pragma once

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// A stand-in for the game: a script that writes its working folder and its arguments, one
// a line, to record.txt beside itself.
class CFakeGame
{
public:
    explicit CFakeGame(const QTemporaryDir& dir, const QString& name = QStringLiteral("wolfmp"))
        : m_path(dir.filePath(name)), m_record(QFileInfo(m_path).absolutePath() + "/record.txt")
    {
        QFile file(m_path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(
                "#!/bin/sh\n"
                "out=\"$(dirname \"$0\")/record\"\n"
                "printf '%s\\n' \"$PWD\" \"$@\" > \"$out.tmp\" && mv \"$out.tmp\" \"$out.txt\"\n");
            file.close();
        }
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    const QString& Path() const { return m_path; }

    // The working folder and arguments of the last start, once it has written them; an
    // empty list when the game did not start within the time-out.
    QStringList WaitForStart(int timeoutMs = 10000)
    {
        if (!QTest::qWaitFor([this] { return QFileInfo::exists(m_record); }, timeoutMs))
            return {};
        QFile file(m_record);
        QStringList lines;
        if (file.open(QIODevice::ReadOnly))
            lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        file.close();
        QFile::remove(m_record);
        return lines;
    }
    bool Started() const { return QFileInfo::exists(m_record); }

private:
    QString m_path;
    QString m_record;
};
