#pragma once

#include "query/ServerMap.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <vector>

struct FavoritesLoad;

// The favorites file: one favorite a line, "address TAB name TAB password", lines ended by
// CR LF (CR LF, LF and a lone CR are read), text in Windows-1252 so that a file from a
// Windows installation loads and saves back byte for byte.
//
// A file is only ever rewritten whole, never over a file that could not be read whole: a
// file that exists but cannot be read as favorites (not a regular file, unreadable, too
// large, a line too long, more favorites than the program holds) is left as it is.
struct Favorite
{
    QString address;
    QString name;
    QString password;
};

class CFavoritesFile
{
    Q_DECLARE_TR_FUNCTIONS(CFavoritesFile)

public:
    explicit CFavoritesFile(QString path) : m_path(std::move(path)) {}

    // The folder of favorites.dat under the user's data folder (XDG_DATA_HOME), and the file.
    static constexpr const char* kFolder = "Farsighter/farsighter";
    static QString DefaultPath();
    const QString& Path() const { return m_path; }

    // The most bytes a favorites file that is read whole may have.
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

    // What Load found: the favorites in file order, and why they are not the whole file.
    struct Content
    {
        std::vector<Favorite> favorites;
        QString problem;     // empty when the file was read whole or does not exist
        bool capped = false; // the problem is that the file holds more than kMaxFavorites
    };
    Content Load() const;

    // Rewrites the file whole; false with a reason when it cannot be written.
    bool Save(const std::vector<Favorite>& favorites, QString* error = nullptr) const;

    enum class AddResult
    {
        Added,
        AlreadyThere, // a line with exactly this address text exists
        Failed,
    };
    // Appends "address TAB name TAB" unless a line starts with the same address; the file
    // is rewritten whole with the new line, or not at all.
    AddResult Add(const QString& address, const QString& name, QString* error = nullptr) const;

    // What loading the file for a scan tells the user: why it could not be read (read
    // false), or the lines that were left out; empty when nothing is to be said.
    struct ScanLoad
    {
        bool read = true;
        QString message;
    };
    // Puts the file's servers into map for a scan; a file that does not exist gives none.
    // A file that cannot be read leaves the map as it was.
    ScanLoad LoadForScan(CServerMap& map) const;

    // Tabs and line ends become blanks; blanks at both ends go.
    static QString CleanField(const QString& text);

private:
    // The sentences about the lines a scan's load left out, in the user's language.
    static QStringList Notices(const FavoritesLoad& load, const QString& file);

    QString m_path;
};
