#include "app/FavoritesFile.h"

#include "format/Cp1252.h"
#include "query/Favorites.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <string>

namespace {

constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
constexpr qint64 kMaxLineLength = 64 * 1024;

QString Decode(const std::string& bytes)
{
    return QString::fromStdString(Cp1252ToUtf8(bytes, Cp1252Undefined::C1Control));
}

// Characters outside the code page become "?".
QByteArray Encode(const QString& text)
{
    if (const auto bytes = Utf8ToCp1252(text.toStdString()))
        return QByteArray::fromStdString(*bytes);
    QByteArray out;
    for (const uint codePoint : text.toUcs4()) {
        const QString one = QString::fromUcs4(reinterpret_cast<const char32_t*>(&codePoint), 1);
        const auto byte = Utf8ToCp1252(one.toStdString());
        out.append(byte ? QByteArray::fromStdString(*byte) : QByteArray("?"));
    }
    return out;
}

QByteArray Line(const QString& address, const QString& name, const QString& password)
{
    return Encode(address) + '\t' + Encode(name) + '\t' + Encode(password) + "\r\n";
}

} // namespace

QString CFavoritesFile::DefaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("favorites.dat"));
}

std::vector<Favorite> CFavoritesFile::Load() const
{
    std::vector<Favorite> favorites;
    // Only a regular file of sensible size: not a folder, a device or an endless stream.
    const QFileInfo info(m_path);
    QFile file(m_path);
    if (!info.isFile() || info.size() > kMaxFileSize || !file.open(QIODevice::ReadOnly))
        return favorites;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(kMaxLineLength);
        const FavoriteLine fields = ParseFavoriteLine(std::string_view(line.data(), line.size()));
        favorites.push_back({Decode(fields.address), Decode(fields.name), Decode(fields.password)});
    }
    return favorites;
}

bool CFavoritesFile::Save(const std::vector<Favorite>& favorites, QString* error) const
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (file.open(QIODevice::WriteOnly)) {
        for (const Favorite& favorite : favorites)
            file.write(Line(favorite.address, favorite.name, favorite.password));
        if (file.commit())
            return true;
    }
    if (error)
        *error = file.errorString();
    return false;
}

CFavoritesFile::AddResult CFavoritesFile::Add(const QString& address, const QString& name,
                                              QString* error) const
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite)) {
        if (error)
            *error = file.errorString();
        return AddResult::Failed;
    }
    QByteArray last;
    while (!file.atEnd()) {
        last = file.readLine();
        const FavoriteLine fields = ParseFavoriteLine(std::string_view(last.data(), last.size()));
        if (Decode(fields.address) == address)
            return AddResult::AlreadyThere;
    }
    // A last line without its line end gets one, so the new favorite starts a line.
    QByteArray text;
    if (!last.isEmpty() && !last.endsWith('\n'))
        text = "\r\n";
    text += Line(address, CleanField(name), {});
    if (file.write(text) != text.size()) {
        if (error)
            *error = file.errorString();
        return AddResult::Failed;
    }
    return AddResult::Added;
}

QString CFavoritesFile::CleanField(const QString& text)
{
    QString clean = text;
    clean.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return clean.trimmed();
}
