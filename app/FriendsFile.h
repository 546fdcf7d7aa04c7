#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The friends file, friends.txt in the folder of the favorites: plain text in UTF-8, one
// friend a line (a name or a "*" pattern), lines ended by LF (CR LF and a lone CR are read
// too); blank lines are skipped. A line that is not UTF-8 is read as Windows-1252.
//
// The file is only ever rewritten whole, and never over a file that could not be read
// whole: a file that is not a regular file, cannot be read, is larger than kMaxFileSize,
// holds a zero byte (no text), a line longer than kMaxLineBytes or more than kMaxFriends
// friends is left as it is, and Load says why.
class CFriendsFile
{
    Q_DECLARE_TR_FUNCTIONS(CFriendsFile)

public:
    static constexpr qint64 kMaxFileSize = 1024 * 1024;
    static constexpr int kMaxLineBytes = 1024;
    static constexpr int kMaxFriends = 4096;

    explicit CFriendsFile(QString path) : m_path(std::move(path)) {}

    // friends.txt in the folder of the favorites file.
    static QString PathBeside(const QString& favoritesPath);
    const QString& Path() const { return m_path; }

    struct Content
    {
        QStringList friends;
        QString problem; // empty when the file was read whole or does not exist
    };
    Content Load() const;

    // Rewrites the file whole; false with a reason when it cannot be written.
    bool Save(const QStringList& friends, QString* error = nullptr) const;

private:
    QString m_path;
};
