#include "app/WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool Fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QString target = path;
    const QFileInfo named(path);
    if (named.isSymLink()) {
        target = named.canonicalFilePath();
        if (target.isEmpty())
            return Fail(error, QCoreApplication::translate(
                                   "WholeFile", "it is a link to a file that does not exist"));
    }
    const QFileInfo info(target);
    if (info.exists() && !info.isFile())
        return Fail(error, QCoreApplication::translate("WholeFile", "it is not a regular file"));
    QDir().mkpath(info.absolutePath());

    // QSaveFile::commit() does not see a failed flush of its buffer, and would put a cut-off
    // file in place: every step is checked here first, and any failure cancels the save.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return Fail(error, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return Fail(error, reason);
    }
    if (fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        file.cancelWriting();
        return Fail(error, reason);
    }
    if (!file.commit())
        return Fail(error, file.errorString());
    return true;
}
