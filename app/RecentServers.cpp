#include "app/RecentServers.h"

#include "app/FavoritesFile.h"
#include "app/WholeFile.h"
#include "net/HostText.h"
#include "query/Favorites.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>
#include <string>

namespace {

std::optional<CSockAddr> AddressOf(const QString& text)
{
    const std::string bytes = text.toStdString();
    const auto parts = SplitHostPort(bytes);
    if (!parts || !parts->port)
        return std::nullopt;
    const auto host = ParseDottedQuad(parts->host);
    const auto port = ParsePortText(*parts->port);
    if (!host || !port)
        return std::nullopt;
    return CSockAddr(*host, *port);
}

// The bytes of a name with its tabs and line ends made blanks, so that it stays one field.
QByteArray Field(QByteArray name)
{
    for (const char blank : {'\t', '\r', '\n'})
        name.replace(blank, ' ');
    return name;
}

} // namespace

QString CRecentServers::PathBeside(const QString& favoritesPath)
{
    return QFileInfo(favoritesPath).dir().filePath(QStringLiteral("recent.dat"));
}

void CRecentServers::Remember(std::vector<RecentServer>& servers, RecentServer joined)
{
    std::erase_if(servers,
                  [&](const RecentServer& server) { return server.address == joined.address; });
    servers.insert(servers.begin(), std::move(joined));
    if (servers.size() > static_cast<std::size_t>(kMaxServers))
        servers.resize(kMaxServers);
}

CRecentServers::Content CRecentServers::Load() const
{
    Content content;
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink())
        return content;
    try {
        const std::string bytes =
            ReadFavoritesFile(QFile::encodeName(m_path).toStdString(),
                              static_cast<std::size_t>(CFavoritesFile::kMaxFileSize));
        ForEachFavoriteLine(bytes, [&](std::size_t, std::string_view line, bool tooLong) {
            const QList<QByteArray> fields =
                QByteArray(line.data(), qsizetype(line.size())).split('\t');
            if (tooLong || fields.size() < 3 || !AddressOf(QString::fromLatin1(fields[0])))
                return true;
            QDateTime time = QDateTime::fromString(QString::fromLatin1(fields[2]), Qt::ISODate);
            content.servers.push_back({QString::fromLatin1(fields[0]), fields[1], time.toUTC()});
            return content.servers.size() < static_cast<std::size_t>(kMaxServers);
        });
    } catch (const CFavoritesError& error) {
        content.servers.clear();
        content.problem = QString::fromLocal8Bit(error.what());
    }
    return content;
}

bool CRecentServers::Add(const RecentServer& joined, QString* error) const
{
    Content content = Load();
    if (!content.problem.isEmpty()) {
        if (error)
            *error = content.problem;
        return false;
    }
    Remember(content.servers, joined);
    QByteArray text;
    for (const RecentServer& server : content.servers)
        text += server.address.toLatin1() + '\t' + Field(server.name) + '\t' +
                server.time.toUTC().toString(Qt::ISODate).toLatin1() + "\r\n";
    return WriteWholeFile(m_path, text, error);
}

CRecentServers::ScanLoad CRecentServers::LoadForScan(CServerMap& map) const
{
    const Content content = Load();
    if (!content.problem.isEmpty())
        return {false, 0,
                tr("Cannot read the recent servers file %1: %2")
                    .arg(QDir::toNativeSeparators(m_path), content.problem)};
    if (content.servers.empty())
        return {};
    map.clear();
    for (const RecentServer& server : content.servers) {
        const CSockAddr address = *AddressOf(server.address);
        map.insert_or_assign(address, CServer(address, server.name.toStdString()));
    }
    return {true, content.servers.size(), {}};
}
