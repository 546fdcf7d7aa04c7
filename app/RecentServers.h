#pragma once

#include "query/ServerMap.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QString>

#include <cstddef>
#include <vector>

// A server the user joined: its address, its name as its record holds it (bytes in the
// game's code page) and when the game was started for it.
struct RecentServer
{
    QString address; // "a.b.c.d:port"
    QByteArray name;
    QDateTime time; // UTC

    bool operator==(const RecentServer&) const = default;
};

// The servers joined last, newest first, in recent.dat beside the favorites: one server a
// line, "address TAB name TAB time", the time as ISO 8601 in UTC, lines ended by CR LF. The
// file is read as the favorites file is (a regular file only, never waiting on it, with the
// same size and line limits) and only ever rewritten whole; a file that exists but cannot
// be read is left as it is, and nothing is remembered over it.
class CRecentServers
{
    Q_DECLARE_TR_FUNCTIONS(CRecentServers)

public:
    static constexpr int kMaxServers = 50;

    explicit CRecentServers(QString path) : m_path(std::move(path)) {}
    // recent.dat in the folder of the favorites file.
    static QString PathBeside(const QString& favoritesPath);
    const QString& Path() const { return m_path; }

    // The list after a join of server: it is on top, an older line of its address is gone,
    // and no more than kMaxServers are kept.
    static void Remember(std::vector<RecentServer>& servers, RecentServer joined);

    // The servers of the file, newest first; lines that are not a server are left out. A
    // file that does not exist holds none; one that cannot be read gives its problem.
    struct Content
    {
        std::vector<RecentServer> servers;
        QString problem;
    };
    Content Load() const;

    // Puts joined on top of the file, rewriting it whole; false with the reason when the
    // file cannot be read or written.
    bool Add(const RecentServer& joined, QString* error = nullptr) const;

    // What loading the file for a scan came to: whether it was read (else message says
    // why), and how many servers it put into the map.
    struct ScanLoad
    {
        bool read = true;
        std::size_t servers = 0;
        QString message;
    };
    // Replaces the map's records by the file's servers, with their names, for a scan. A
    // file that cannot be read or holds no server leaves the map as it was, since the
    // lists may still show its records.
    ScanLoad LoadForScan(CServerMap& map) const;

private:
    QString m_path;
};
