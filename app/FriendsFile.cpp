#include "app/FriendsFile.h"

#include "app/WholeFile.h"
#include "format/Cp1252.h"
#include "query/Favorites.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <string>

QString CFriendsFile::PathBeside(const QString& favoritesPath)
{
    return QFileInfo(favoritesPath).dir().filePath(QStringLiteral("friends.txt"));
}

CFriendsFile::Content CFriendsFile::Load() const
{
    Content content;
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink())
        return content;
    std::string bytes;
    try {
        bytes = ReadFavoritesFile(QFile::encodeName(m_path).toStdString(),
                                  static_cast<std::size_t>(kMaxFileSize));
    } catch (const CFavoritesError& error) {
        content.problem = QString::fromLocal8Bit(error.what());
        return content;
    }
    if (bytes.find('\0') != std::string::npos) {
        content.problem = tr("it is not a text file");
        return content;
    }
    ForEachFavoriteLine(bytes, [&](std::size_t number, std::string_view line, bool tooLong) {
        if (tooLong || line.size() > static_cast<std::size_t>(kMaxLineBytes)) {
            content.problem = tr("line %1 is longer than %2 bytes").arg(number).arg(kMaxLineBytes);
            return false;
        }
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString name = utf8(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
        if (utf8.hasError())
            name = QString::fromStdString(Cp1252ToUtf8(std::string(line)));
        name = name.trimmed();
        if (name.isEmpty())
            return true;
        if (content.friends.size() == kMaxFriends) {
            content.problem = tr("it holds more than %1 friends").arg(kMaxFriends);
            return false;
        }
        content.friends.append(name);
        return true;
    });
    if (!content.problem.isEmpty())
        content.friends.clear();
    return content;
}

bool CFriendsFile::Save(const QStringList& friends, QString* error) const
{
    QByteArray text;
    for (const QString& name : friends) {
        QString line = name;
        for (const QChar end : {QLatin1Char('\r'), QLatin1Char('\n')})
            line.replace(end, QLatin1Char(' '));
        text += line.trimmed().toUtf8() + '\n';
    }
    return WriteWholeFile(m_path, text, error);
}
