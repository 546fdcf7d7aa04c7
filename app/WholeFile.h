#pragma once

#include <QByteArray>
#include <QString>

// Writes a user's file whole or not at all. The bytes go to a new file beside the old one,
// which takes its place only once every write, the flush and the sync to the disk have
// succeeded; on any failure the old file stays as it was and error says why. The folder is
// created when it is missing. A link is written through only when it leads to a regular
// file; a path that names anything but a regular file (a folder, a FIFO, a device, a link to
// one or to nothing) is refused.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);
